#!/usr/bin/env bash
# Installs what is missing, builds from scratch and runs the whole test suite:
#   plain  the suite in the ordinary build
#   asan   the suite again under AddressSanitizer and UndefinedBehaviorSanitizer
#   fuzz   every fuzz target for a short while
#   tsan   the exchange and worker tests under ThreadSanitizer
# Name stages to run only those (scripts/test.sh plain); the default is all, in this order.
set -euo pipefail
cd "$(dirname "$0")/.."
root=$(pwd)

stages=("$@")
[[ ${#stages[@]} -eq 0 ]] && stages=(plain asan fuzz tsan)

scripts/install-deps.sh test
jobs=$(nproc)

# configure FOLDER [CMAKE OPTION...]: a fresh build folder.
configure() {
  local folder=$1
  shift
  rm -rf "$folder"
  cmake -S . -B "$folder" -DCMAKE_BUILD_TYPE=RelWithDebInfo "$@" >/dev/null
}

# Lighter optimisation and debug information build the sanitizer suites
# faster and still name every line in a report.
sanitizer_flags=(-DCMAKE_CXX_FLAGS_RELWITHDEBINFO="-O1 -g1")

for stage in "${stages[@]}"; do
  echo "=== $stage"
  case $stage in
    plain)
      configure build
      cmake --build build -j"$jobs"
      ctest --test-dir build --output-on-failure -j4
      ;;
    asan)
      configure build-asan -DORVANIC_SANITIZE=address,undefined "${sanitizer_flags[@]}"
      cmake --build build-asan -j"$jobs"
      ASAN_OPTIONS=detect_leaks=1:abort_on_error=0 \
      LSAN_OPTIONS=suppressions=$root/tests/sanitizers/lsan.supp:print_suppressions=0 \
      UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
        ctest --test-dir build-asan --output-on-failure -j4 --timeout 600
      ;;
    fuzz)
      scripts/fuzz.sh --seconds 20
      ;;
    tsan)
      configure build-tsan -DORVANIC_SANITIZE=thread "${sanitizer_flags[@]}"
      tsan_tests=(link_exchange_test acquire_live_data_test archive_window_test archive_mcu_param_test app_main_window_test)
      cmake --build build-tsan -j"$jobs" --target "${tsan_tests[@]}"
      TSAN_OPTIONS=halt_on_error=1:second_deadlock_stack=1:suppressions=$root/tests/sanitizers/tsan.supp \
        ctest --test-dir build-tsan --output-on-failure -j2 --timeout 600 \
          -R "^($(IFS='|'; echo "${tsan_tests[*]}")|Exchange[./])"
      ;;
    *)
      echo "unknown stage: $stage" >&2
      exit 2
      ;;
  esac
done
