#!/usr/bin/env bash
# Runs the viewer on the bundled model in assets/. With a display it simply
# opens the window. Without one it runs the viewer on a virtual display for a
# few seconds, saves screenshots as PNG files under the build folder (after
# about 0.5 s, while the model falls, then 1 s and 5 s, when it has landed),
# quits with "q" and prints where the pictures are.
# Usage: run-viewer.sh BUILD_FOLDER
set -euo pipefail

root=$(cd "$(dirname "$0")/.." && pwd)
capture=no
if [[ "${1:-}" == "--capture" ]]; then
    capture=yes
    shift
fi
build=$(cd "${1:-build}" && pwd)
viewer="$build/app/varnel"
shots="$build/screenshots"

# The viewer writes its console text in code page 932; a UTF-8 terminal is
# shown the same text converted, so it reads as Japanese.
show_console() {
    if [[ "$(locale charmap 2>/dev/null)" == "UTF-8" ]]; then
        iconv -f CP932 -t UTF-8
    else
        cat
    fi
}

# Sleeps until SECONDS have passed since the moment STARTED ($EPOCHREALTIME).
sleep_until() {
    local left
    left=$(awk -v started="$1" -v seconds="$2" -v now="$EPOCHREALTIME" \
        'BEGIN { left = started + seconds - now; print (left > 0 ? left : 0) }')
    sleep "$left"
}

run_and_capture() {
    local started=$EPOCHREALTIME
    (cd "$root/assets" && exec "$viewer") > >(show_console) &
    local pid=$!
    local window=""
    for _ in $(seq 1 600); do
        window=$(xdotool search --name '^Varnel$' 2>/dev/null | head -n 1 || true)
        [[ -n "$window" ]] && break
        kill -0 "$pid" 2>/dev/null || break
        sleep 0.1
    done
    if [[ -z "$window" ]]; then
        echo "run-viewer: the viewer's window did not open" >&2
        return 1
    fi
    mkdir -p "$shots"
    local seconds pictures=()
    for seconds in 0.5 1 5; do
        sleep_until "$started" "$seconds"
        /usr/bin/import -window "$window" "$shots/after-${seconds}s.png"
        pictures+=("$shots/after-${seconds}s.png")
    done
    xdotool mousemove --window "$window" 790 590 key q
    local status=0
    wait "$pid" || status=$?
    echo "Screenshots of the viewer after about 0.5 s, 1 s and 5 s:"
    printf '  %s\n' "${pictures[@]}"
    return "$status"
}

if [[ "$capture" == yes ]]; then
    run_and_capture
elif [[ -n "${DISPLAY:-}" ]]; then
    cd "$root/assets"
    "$viewer" | show_console
else
    exec "$root/tests/with-xvfb.sh" "$0" --capture "$build"
fi
