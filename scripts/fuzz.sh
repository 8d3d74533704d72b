#!/usr/bin/env bash
# Builds the libFuzzer targets of tests/fuzz (clang, ASan and UBSan) and runs
# each for a while, starting from its seed corpus.
#
#   scripts/fuzz.sh [--seconds N] [--runs N] [--jobs N] [target...]
#
# Targets are named as in tests/fuzz (poll_answer or fuzz_poll_answer); none
# named runs them all. --seconds (default 60) and --runs bound every target,
# whichever comes first; --jobs targets run side by side (default: the
# processors). Each target works on a copy of its seeds, so the repository is
# never written to. Whatever a target finds (crash-, leak-, timeout-, oom-
# files) is kept under BUILD/findings/<target>/. The exit status is non-zero
# when anything was found or a target failed to run.
#
# The build folder is build-fuzz, or $ORVANIC_FUZZ_BUILD.
set -euo pipefail
cd "$(dirname "$0")/.."
root=$PWD

seconds=60
runs=""
jobs=$(nproc 2>/dev/null || echo 2)
targets=()
while [[ $# -gt 0 ]]; do
  case "$1" in
    --seconds) seconds=$2; shift 2 ;;
    --runs) runs=$2; shift 2 ;;
    --jobs) jobs=$2; shift 2 ;;
    -h|--help) sed -n '2,15p' "$0" | sed 's/^# \{0,1\}//'; exit 0 ;;
    -*) echo "fuzz.sh: unknown option $1" >&2; exit 2 ;;
    *) targets+=("${1#fuzz_}"); shift ;;
  esac
done
for n in "$seconds" "$jobs" ${runs:+"$runs"}; do
  [[ "$n" =~ ^[0-9]+$ ]] || { echo "fuzz.sh: not a number: $n" >&2; exit 2; }
done
[[ "$jobs" -ge 1 ]] || jobs=1

build=${ORVANIC_FUZZ_BUILD:-$root/build-fuzz}
corpora=$root/tests/fuzz/corpus
if [[ ${#targets[@]} -eq 0 ]]; then
  for dir in "$corpora"/*/; do targets+=("$(basename "$dir")"); done
fi
for t in "${targets[@]}"; do
  [[ -f "$root/tests/fuzz/fuzz_$t.cpp" ]] || { echo "fuzz.sh: no target $t in tests/fuzz" >&2; exit 2; }
done

# Build only the core and the targets: no tests, and nothing of the window
# needs clang's sanitizers.
if ! command -v clang++ >/dev/null || ! grep -qs '^ORVANIC_FUZZ:BOOL=ON' "$build/CMakeCache.txt"; then
  scripts/install-deps.sh fuzz
  cmake -S "$root" -B "$build" -DCMAKE_CXX_COMPILER=clang++ -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DORVANIC_FUZZ=ON -DORVANIC_BUILD_TESTS=OFF >/dev/null
fi
cmake --build "$build" -j"$(nproc 2>/dev/null || echo 2)" --target "${targets[@]/#/fuzz_}" >/dev/null

work=$(mktemp -d "${TMPDIR:-/tmp}/orvanic-fuzz.XXXXXX")
trap 'rm -rf "$work"' EXIT

# Answers come from a 500-byte receive buffer; files and texts may be longer.
max_len() {
  case "$1" in
    data_file|field_set_file|settings) echo 8192 ;;
    *) echo 600 ;;
  esac
}

run_one() {
  local t=$1
  local findings=$build/findings/$t
  mkdir -p "$work/$t/corpus" "$findings"
  cp -r "$corpora/$t/." "$work/$t/corpus/"
  local args=(-max_total_time="$seconds" -max_len="$(max_len "$t")" -timeout=10 -print_final_stats=1
              -artifact_prefix="$findings/" "$work/$t/corpus")
  [[ -n "$runs" ]] && args=(-runs="$runs" "${args[@]}")
  local status=0 start=$SECONDS
  (cd "$work/$t" && "$build/tests/fuzz/fuzz_$t" "${args[@]}") >"$work/$t/log" 2>&1 || status=$?
  echo "$status" >"$work/$t/status"
  echo $((SECONDS - start)) >"$work/$t/seconds"
}

# At most $jobs targets at a time.
running=0
for t in "${targets[@]}"; do
  if [[ $running -ge $jobs ]]; then
    wait -n || true
    running=$((running - 1))
  fi
  rm -rf "$build/findings/$t"
  run_one "$t" &
  running=$((running + 1))
done
wait

failed=0
printf '%-28s %12s %8s %9s  %s\n' target executions seconds findings result
for t in "${targets[@]}"; do
  log=$work/$t/log
  execs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log" | tail -n 1)
  [[ -n "$execs" ]] || execs=$(grep -o '^#[0-9]*' "$log" | tail -n 1 | tr -d '#')
  found=$(find "$build/findings/$t" -type f \( -name 'crash-*' -o -name 'leak-*' -o -name 'timeout-*' -o -name 'oom-*' \) | wc -l)
  status=$(cat "$work/$t/status")
  result=ok
  if [[ $found -gt 0 ]]; then
    result="FOUND: $build/findings/$t"
  elif [[ $status -ne 0 ]]; then
    result="exit status $status"
  fi
  [[ $result == ok ]] || failed=1
  printf '%-28s %12s %8s %9s  %s\n' "fuzz_$t" "${execs:-?}" "$(cat "$work/$t/seconds")" "$found" "$result"
  if [[ $result != ok ]]; then
    # What the sanitizer or the check said.
    grep -E -m 5 'ERROR|runtime error|check failed|SUMMARY' "$log" | sed 's/^/    /' || tail -n 5 "$log" | sed 's/^/    /'
  fi
  rmdir "$build/findings/$t" 2>/dev/null || true
done
exit "$failed"
