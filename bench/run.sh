#!/usr/bin/env bash
# Runs every benchmark against the build folder given as $1: the viewer
# against its floors on a virtual display of its own, then the reader, then
# the refinement of curved surfaces, then the thumbnailer without a display.
# Usage: run.sh BUILD_DIR
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=$(cd "${1:-build}" && pwd)
export PYTHONDONTWRITEBYTECODE=1
started=$SECONDS
"$root/tests/with-xvfb.sh" python3 "$root/bench/varnel_bench.py" "$build"
echo
bash "$root/bench/run-reader.sh" "$build"
echo
"$build/bench/curved/curved_bench"
echo
python3 "$root/bench/thumbnail_bench.py" "$build"
echo
echo "The benchmarks took $((SECONDS - started)) s."
