#!/usr/bin/env bash
# Runs a command on a virtual X display of its own. Xvfb picks a free display
# number itself and writes it once it accepts clients (-displayfd), so tests
# started at the same moment never share one; -noreset keeps it accepting
# clients after the last one leaves.
# Usage: with-xvfb.sh COMMAND [ARG...]
set -uo pipefail

coproc XVFB { exec Xvfb -displayfd 1 -screen 0 "${XVFB_SCREEN:-1024x768x24}" -nolisten tcp -noreset +extension GLX 2>/dev/null; }
server=$XVFB_PID
if ! read -r -t 10 number <&"${XVFB[0]}"; then
    echo "with-xvfb: Xvfb did not start" >&2
    kill "$server" 2>/dev/null
    exit 1
fi

DISPLAY=":${number}" "$@"
status=$?
kill "$server" 2>/dev/null
wait "$server" 2>/dev/null
exit "$status"
