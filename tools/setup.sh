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

bash tools/install_missing.sh "${packages[@]}"

cmake -S . -B build -G Ninja -Wno-dev >/dev/null
cmake --build build
