#!/usr/bin/env bash
# The viewer's cost per frame and per timer tick under Mesa's software
# renderer, on a virtual display: the bundled model (with its textures) and
# the big benchmark model of two million triangles.
# Usage: run-frame.sh BUILD_DIR
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=$(cd "${1:-build}" && pwd)
bench="$build/bench/frame/frame_bench"
"$build/bench/bench_model/make_bench_model" "$build"
(cd "$root/assets" && "$root/tests/with-xvfb.sh" "$bench" qemi_one.mqo 200 600)
(cd "$build" && "$root/tests/with-xvfb.sh" "$bench" bench.mqo 10 600)
