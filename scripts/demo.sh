#!/usr/bin/env bash
# Installs what is missing, builds, and opens the program against a
# simulated device: orvanic-sim plays the metering computer on a
# pseudo-terminal, and a demo folder holds a QN.cfg that points at it.
# Without a display, orvanic-cli reads the simulated device instead.
set -euo pipefail
cd "$(dirname "$0")/.."
root=$(pwd)

scripts/install-deps.sh
cmake -S . -B build-demo -DCMAKE_BUILD_TYPE=RelWithDebInfo -DORVANIC_BUILD_TESTS=OFF >/dev/null
cmake --build build-demo -j"$(nproc)" --target orvanic-sim orvanic-cli visual-orvanic

demo="$root/build-demo/demo"
mkdir -p "$demo"
rm -f "$demo/ttyMVU"
build-demo/tools/sim/orvanic-sim --link "$demo/ttyMVU" > "$demo/sim.out" &
sim_pid=$!
trap 'kill "$sim_pid" 2>/dev/null || true; wait "$sim_pid" 2>/dev/null || true' EXIT
for _ in $(seq 50); do [[ -e "$demo/ttyMVU" ]] && break; sleep 0.1; done

printf '[Application]\r\nCommunication=%s;\r\nBitrate=9600;\r\nBits=8;\r\nProtocol=0;\r\nEnergy=0;\r\nLog=0;\r\n' \
  "$demo/ttyMVU" > "$demo/QN.cfg"

# The operators' regional formats (dates, times, the decimal comma) unless
# the machine has a regional setting of its own.
if [[ -z "${LANG:-}" || "${LANG}" == C* || "${LANG}" == POSIX ]]; then
  export LANG=ru_RU.UTF-8
fi

if [[ -n "${DISPLAY:-}${WAYLAND_DISPLAY:-}" ]]; then
  echo "The simulated device is on $demo/ttyMVU. Choose \"Подключить\", then \"Применить\"."
  cd "$demo" && "$root/build-demo/src/visual-orvanic"
else
  echo "No display here, so the window cannot open. orvanic-cli reads the simulated device instead:"
  for protocol in own modbus; do
    echo "== orvanic-cli --protocol $protocol identify"
    (cd "$demo" && "$root/build-demo/src/cli/orvanic-cli" --protocol "$protocol" identify)
  done
fi
