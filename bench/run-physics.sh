#!/usr/bin/env bash
# Loading the big benchmark model into the tables, and the cost of one
# physics step for models of about 1k, 100k and 1M triangles on the ground.
# Usage: run-physics.sh BUILD_DIR
set -euo pipefail
build=${1:-build}
"$build/bench/physics/physics_step_bench"
"$build/bench/bench_model/make_bench_model" "$build"
"$build/bench/physics/loading_bench" "$build/bench.mqo"
