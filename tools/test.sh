#!/usr/bin/env bash
# Sets everything up and runs every test; the tests start the servers they need themselves.
set -euo pipefail
cd "$(dirname "$0")/.."
bash tools/setup.sh test
ctest --test-dir build --output-on-failure --timeout 300
