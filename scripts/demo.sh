#!/usr/bin/env bash
# Installs what is missing, builds, and reads the simulated device:
# orvanic-sim plays the metering computer on a pseudo-terminal and
# orvanic-cli identifies it over both protocols.
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/install-deps.sh
cmake -S . -B build-demo -DCMAKE_BUILD_TYPE=RelWithDebInfo -DORVANIC_BUILD_TESTS=OFF >/dev/null
cmake --build build-demo -j"$(nproc)" --target orvanic-sim orvanic-cli

root=$(pwd)
demo=$(mktemp -d)
trap 'kill "$sim_pid" 2>/dev/null || true; wait "$sim_pid" 2>/dev/null || true; rm -rf "$demo"' EXIT
build-demo/tools/sim/orvanic-sim --link "$demo/ttyMVU" > "$demo/sim.out" &
sim_pid=$!
for _ in $(seq 50); do [[ -e "$demo/ttyMVU" ]] && break; sleep 0.1; done

for protocol in own modbus; do
  echo "== orvanic-cli --port $demo/ttyMVU --protocol $protocol identify"
  (cd "$demo" && "$root/build-demo/src/cli/orvanic-cli" --port "$demo/ttyMVU" --protocol "$protocol" identify)
  echo
done
