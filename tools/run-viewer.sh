#!/usr/bin/env bash
# Runs the viewer on the bundled model in assets/. With a display it opens
# the window. Without one it photographs the scene offscreen after 0.5 s
# (falling), 1 s and 5 s (landed), saves the pictures as PNG files under the
# build folder and prints where they are.
# Usage: run-viewer.sh BUILD_FOLDER
set -euo pipefail

root=$(cd "$(dirname "$0")/.." && pwd)
build=$(cd "${1:-build}" && pwd)
viewer="$build/app/varnel"
# The classic viewer writes its console text in code page 932; this shows it
# in the terminal's own encoding, each line as it comes.
console="$build/tools/cp932cat/cp932cat"
shots="$build/screenshots"

cd "$root/assets"
if [[ -n "${DISPLAY:-}" ]]; then
    "$viewer" | "$console"
    exit "${PIPESTATUS[0]}"
fi

mkdir -p "$shots"
pictures=()
for seconds in 0.5 1 5; do
    picture="$shots/after-${seconds}s.png"
    if [[ ${#pictures[@]} -eq 0 ]]; then
        "$viewer" --screenshot "$picture" --after "$seconds" | "$console"
    else
        "$viewer" --screenshot "$picture" --after "$seconds" >/dev/null
    fi
    pictures+=("$picture")
done
echo "No display here: screenshots of the viewer after 0.5 s, 1 s and 5 s are in"
printf '  %s\n' "${pictures[@]}"
