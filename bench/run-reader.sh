#!/usr/bin/env bash
# Reader benchmark: makes the big benchmark model in the build folder (once)
# and reads it with our reader, tinyobjloader and a plain number scan.
# Usage: run-reader.sh BUILD_DIR
set -euo pipefail
build=${1:-build}
"$build/bench/bench_model/make_bench_model" "$build"
"$build/bench/reader/reader_bench" "$build/bench.mqo" "$build/bench.obj"
