#!/usr/bin/env bash
# Installs those of the given Debian packages that are not installed yet.
set -euo pipefail
missing=()
for package in "$@"; do
    dpkg-query -W -f='${db:Status-Abbrev}' "$package" 2>/dev/null | grep -q '^ii' \
        || missing+=("$package")
done
if ((${#missing[@]})); then
    echo "Installing ${missing[*]}"
    apt-get update -qq
    DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi
