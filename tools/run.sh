#!/usr/bin/env bash
# Sets everything up and starts the program on the current display.
set -euo pipefail
cd "$(dirname "$0")/.."
bash tools/setup.sh run
exec build/app/orvane-monitor
