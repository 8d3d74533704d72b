#!/usr/bin/env bash
# Installs the Debian packages the build needs; with "test", also what the
# tests need (the fuzz stage included); with "fuzz", what scripts/fuzz.sh
# needs. Asks apt only for those that are missing.
set -euo pipefail

packages=(build-essential cmake pkg-config qt6-base-dev qt6-serialport-dev qt6-svg-dev libx11-dev libxlsxwriter-dev
  libzip-dev fonts-liberation)
# clang with libFuzzer and the sanitizers' run-times, for scripts/fuzz.sh.
fuzzing=(clang libclang-rt-14-dev)
if [[ "${1:-}" == "test" ]]; then
  # Python reads the workbooks back; the Russian locale gives the
  # command-line reader the same decimal comma as the window.
  packages+=(libgtest-dev libmodbus-dev mbpoll python3 python3-openpyxl python3-odf locales "${fuzzing[@]}")
fi
if [[ "${1:-}" == "fuzz" ]]; then
  packages+=("${fuzzing[@]}")
fi

sudo=()
[[ $(id -u) -ne 0 ]] && sudo=(sudo)

ensure_russian_locale() {
  locale -a 2>/dev/null | grep -qi '^ru_RU\.utf-\?8$' && return 0
  "${sudo[@]}" sed -i 's/^# *\(ru_RU.UTF-8 UTF-8\)/\1/' /etc/locale.gen
  grep -q '^ru_RU.UTF-8 UTF-8' /etc/locale.gen || echo 'ru_RU.UTF-8 UTF-8' | "${sudo[@]}" tee -a /etc/locale.gen >/dev/null
  "${sudo[@]}" locale-gen >/dev/null
}

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
if [[ ${#missing[@]} -gt 0 ]]; then
  echo "Installing: ${missing[*]}"
  "${sudo[@]}" apt-get update -q
  DEBIAN_FRONTEND=noninteractive "${sudo[@]}" apt-get install -y -q "${missing[@]}"
fi
if [[ "${1:-}" == "test" ]]; then
  ensure_russian_locale
fi
