#!/usr/bin/env bash
# Installs the Debian packages the build (and, with "test", the tests) need,
# asking apt only for those that are missing.
set -euo pipefail

packages=(build-essential cmake pkg-config qt6-base-dev qt6-serialport-dev qt6-svg-dev libx11-dev fonts-liberation)
if [[ "${1:-}" == "test" ]]; then
  packages+=(libgtest-dev libmodbus-dev mbpoll)
fi

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
[[ ${#missing[@]} -eq 0 ]] && exit 0

sudo=()
[[ $(id -u) -ne 0 ]] && sudo=(sudo)
echo "Installing: ${missing[*]}"
"${sudo[@]}" apt-get update -q
DEBIAN_FRONTEND=noninteractive "${sudo[@]}" apt-get install -y -q "${missing[@]}"
