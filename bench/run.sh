#!/usr/bin/env bash
# Runs every benchmark against the build folder given as $1.
set -euo pipefail
build=${1:-build}
for script in "$(dirname "$0")"/run-*.sh; do
    [[ -e "$script" ]] || continue
    bash "$script" "$build"
done
