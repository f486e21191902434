#!/usr/bin/env bash
# Installs the Debian packages that are missing, then builds the program and its tests into
# build/. Usage: tools/setup.sh [run|test] — "test" adds what the tests need.
set -euo pipefail
cd "$(dirname "$0")/.."

packages=(g++ cmake ninja-build qt6-base-dev libgtest-dev fonts-wqy-microhei)
if [[ ${1:-run} == test ]]; then
    packages+=(python3 python3-aiosmtpd iproute2 iputils-ping
               xvfb xauth openbox tint2 xdotool x11-utils imagemagick libxcb-damage0-dev)
fi

missing=()
for package in "${packages[@]}"; do
    dpkg-query -W -f='${db:Status-Abbrev}' "$package" 2>/dev/null | grep -q '^ii' \
        || missing+=("$package")
done
if ((${#missing[@]})); then
    echo "Installing ${missing[*]}"
    apt-get update -qq
    DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi

cmake -S . -B build -G Ninja -Wno-dev >/dev/null
cmake --build build
