#!/usr/bin/env bash
# The engine's tests built with ThreadSanitizer in a folder of their own and
# run there on three threads, every pass of any size shared out. The first
# report fails the script.
#   FOTAVEL_TSAN_BUILD_DIR (build-tsan)
set -euo pipefail
cd "$(dirname "$0")/.."

build=${FOTAVEL_TSAN_BUILD_DIR:-build-tsan}
cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DCMAKE_CXX_FLAGS_RELWITHDEBINFO="-O2 -g1" -DFOTAVEL_TSAN=ON -DFOTAVEL_BENCH=OFF \
  -DFOTAVEL_WERROR="${FOTAVEL_WERROR:-OFF}" >/dev/null
cmake --build "$build" --parallel "$(nproc)" --target fotavel_core_tests

log="$build/fotavel_core_tests.log"
if TSAN_OPTIONS="halt_on_error=1 second_deadlock_stack=1" FOTAVEL_THREADS=3 \
  FOTAVEL_THREADS_MIN_PIXELS=1 "$build/tests/fotavel_core_tests" --gtest_brief=1 >"$log" 2>&1; then
  echo "threads-sanitized: fotavel_core_tests passed ($(grep -o '[0-9]* tests\? from [0-9]* test suites\? ran. ([0-9]* ms total)' "$log"))"
else
  tail -n 80 "$log"
  echo "threads-sanitized: fotavel_core_tests FAILED (log: $log)" >&2
  exit 1
fi
