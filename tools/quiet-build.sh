#!/usr/bin/env bash
# Builds with CMake and shows one progress line instead of the compiler's
# chatter; the whole log goes to BUILD_FOLDER/build.log and is shown when
# the build fails.
# Usage: quiet-build.sh WHAT BUILD_FOLDER [CMAKE_BUILD_ARGUMENT...]
set -uo pipefail
what=$1
build=$2
shift 2
log="$build/build.log"

cmake --build "$build" "$@" >"$log" 2>&1 &
builder=$!
last=""
while kill -0 "$builder" 2>/dev/null; do
    percent=$(grep -o '^\[ *[0-9]*%\]' "$log" | tail -n 1 | tr -dc '0-9')
    if [[ -n "$percent" && "$percent" != "$last" ]]; then
        if [[ -t 1 ]]; then printf '\rBuilding %s: %3s%%' "$what" "$percent"; fi
        last=$percent
    fi
    sleep 0.5
done
wait "$builder"
status=$?
[[ -t 1 ]] && printf '\r\033[K'
if [[ $status -ne 0 ]]; then
    grep -v 'ing directory' "$log" >&2
    echo "Building $what failed; the whole log is $log" >&2
    exit "$status"
fi
echo "Built $what."
