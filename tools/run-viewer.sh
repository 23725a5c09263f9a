#!/usr/bin/env bash
# Placeholder until the viewer lands: inspects the bundled model.
set -euo pipefail
build=${1:-build}
"$build/tools/mqoinfo" assets/qemi_one.mqo
