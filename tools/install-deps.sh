#!/usr/bin/env bash
# Installs the Debian packages that building, testing and running Varnel
# need, skipping those already present. Extra package names may be passed.
set -euo pipefail

packages=(
    g++ cmake make pkg-config
    freeglut3-dev libgl-dev libglu1-mesa-dev libgl1-mesa-dri
    libode-dev libjpeg-dev libgtest-dev
    xvfb xdotool imagemagick python3
    libtinyobjloader-dev
    "$@"
)

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
