#!/usr/bin/env bash
# Runs a command on a virtual X display of its own: starts Xvfb on the first
# free display number, runs the command with DISPLAY set, stops the server.
# Usage: with-xvfb.sh COMMAND [ARG...]
set -uo pipefail

screen=${XVFB_SCREEN:-1024x768x24}
for number in $(seq 90 189); do
    [[ -e /tmp/.X${number}-lock || -e /tmp/.X11-unix/X${number} ]] && continue
    Xvfb ":${number}" -screen 0 "$screen" -nolisten tcp +extension GLX >/dev/null 2>&1 &
    server=$!
    for _ in $(seq 1 100); do
        [[ -e /tmp/.X11-unix/X${number} ]] && break
        kill -0 "$server" 2>/dev/null || break
        sleep 0.05
    done
    if ! kill -0 "$server" 2>/dev/null; then
        continue  # another process took this number first
    fi
    DISPLAY=":${number}" "$@"
    status=$?
    kill "$server" 2>/dev/null
    wait "$server" 2>/dev/null
    exit "$status"
done
echo "with-xvfb: no free display number" >&2
exit 1
