#!/usr/bin/env bash
# The tests of the layers without windows (core, io, document, batch), built
# with AddressSanitizer and UndefinedBehaviorSanitizer in a folder of their
# own and run there. The first report stops its program and fails the script.
#   FOTAVEL_ASAN_BUILD_DIR (build-asan)
set -euo pipefail
cd "$(dirname "$0")/.."

build=${FOTAVEL_ASAN_BUILD_DIR:-build-asan}
programs=(fotavel_core_tests fotavel_io_tests fotavel_document_tests fotavel_batch_tests)

cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DCMAKE_CXX_FLAGS_RELWITHDEBINFO="-O2 -g1" -DFOTAVEL_SANITIZE=ON -DFOTAVEL_BENCH=OFF \
  -DFOTAVEL_WERROR="${FOTAVEL_WERROR:-OFF}" >/dev/null
cmake --build "$build" --parallel "$(nproc)" --target "${programs[@]}"

export QT_QPA_PLATFORM=offscreen
export ASAN_OPTIONS=detect_leaks=1:strict_string_checks=1:detect_stack_use_after_return=1
export UBSAN_OPTIONS=print_stacktrace=1
export LSAN_OPTIONS=suppressions=$PWD/tests/lsan-suppressions.txt
mkdir -p "$build/logs"
run_one() {
  local log="$build/logs/$1.log"
  if "$build/tests/$1" --gtest_brief=1 >"$log" 2>&1; then
    echo "sanitized: $1 passed ($(grep -o '[0-9]* tests\? from [0-9]* test suites\? ran. ([0-9]* ms total)' "$log"))"
  else
    tail -n 80 "$log"
    echo "sanitized: $1 FAILED (log: $log)" >&2
    return 1
  fi
}

# As many programs at once as there are cores.
source scripts/parallel.sh
run_parallel run_one "${programs[@]}"
