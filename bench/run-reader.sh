#!/usr/bin/env bash
# Reader benchmark: makes the big benchmark model in the build folder (once)
# and reads it the model and the classic way, from its archive, with
# tinyobjloader and with a plain number scan, comparing them in alternating
# pairs.
# Usage: run-reader.sh BUILD_DIR
set -euo pipefail
build=${1:-build}
if [[ ! -x "$build/bench/reader/reader_bench" ]]; then
    echo "reader benchmark skipped: tinyobjloader is not installed"
    exit 0
fi
"$build/bench/bench_model/make_bench_model" "$build"
"$build/bench/reader/reader_bench" "$build/bench.mqo" "$build/bench.obj" "$build/bench.mqoz"
