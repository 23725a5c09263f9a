#!/usr/bin/env bash
# Runs a command on a virtual X display of its own. Xvfb picks a free display
# number itself (-displayfd), so tests started at the same moment never share
# one; -noreset keeps it accepting clients after the last one leaves.
# Usage: with-xvfb.sh COMMAND [ARG...]
set -uo pipefail

screen=${XVFB_SCREEN:-1024x768x24}
numberFile=$(mktemp)
trap 'rm -f "$numberFile"' EXIT

Xvfb -displayfd 3 -screen 0 "$screen" -nolisten tcp -noreset +extension GLX \
    3>"$numberFile" >/dev/null 2>&1 &
server=$!
for _ in $(seq 1 200); do
    [[ -s "$numberFile" ]] && break
    kill -0 "$server" 2>/dev/null || break
    sleep 0.05
done
number=$(tr -dc '0-9' <"$numberFile")
if [[ -z "$number" ]]; then
    echo "with-xvfb: Xvfb did not start" >&2
    kill "$server" 2>/dev/null
    exit 1
fi

DISPLAY=":${number}" "$@"
status=$?
kill "$server" 2>/dev/null
wait "$server" 2>/dev/null
exit "$status"
