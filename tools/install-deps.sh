#!/usr/bin/env bash
# Installs the Debian packages Varnel needs, skipping those already present.
# Usage: install-deps.sh run|test|bench [EXTRA_PACKAGE...]
#   run    what building and running the viewer needs
#   test   that, and what the tests need (a virtual display, xdotool, ...)
#   bench  that, and the benchmarks' yardsticks
set -euo pipefail

run=(g++ cmake make pkg-config
    freeglut3-dev libgl-dev libglu1-mesa-dev libgl1-mesa-dri libegl-dev
    libode-dev libqhull-dev libjpeg-dev libpng-dev libzip-dev libisal-dev libosd-dev)
test=("${run[@]}" libgtest-dev xvfb xdotool imagemagick python3 clang-format
    bubblewrap desktop-file-utils libxml2-utils shared-mime-info xdg-utils libfile-mimeinfo-perl dpkg-dev binutils groff-base librsvg2-bin strace)
bench=("${test[@]}" libtinyobjloader-dev)

case "${1:-test}" in
run) packages=("${run[@]}") ;;
test) packages=("${test[@]}") ;;
bench) packages=("${bench[@]}") ;;
*)
    echo "usage: install-deps.sh run|test|bench [PACKAGE...]" >&2
    exit 2
    ;;
esac
shift || true
packages+=("$@")

missing=()
for package in "${packages[@]}"; do
    status=$(dpkg-query -W -f='${Status}' "$package" 2>/dev/null || true)
    [[ "$status" == "install ok installed" ]] || missing+=("$package")
done
[[ ${#missing[@]} -eq 0 ]] && exit 0

echo "Installing: ${missing[*]}"
sudo=()
[[ $(id -u) -eq 0 ]] || sudo=(sudo)
export DEBIAN_FRONTEND=noninteractive
"${sudo[@]}" apt-get update -qq
"${sudo[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}"
