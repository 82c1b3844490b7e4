#!/usr/bin/env bash
# Sets up what is missing, builds everything and runs every test.
set -euo pipefail
cd "$(dirname "$0")"

./scripts/install-deps.sh
./scripts/check-format.sh

build=${FOTAVEL_BUILD_DIR:-build}
cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DFOTAVEL_WERROR="${FOTAVEL_WERROR:-OFF}"
cmake --build "$build" --parallel "$(nproc)"
ctest --test-dir "$build" --output-on-failure --parallel "$(nproc)"

# The engine's baseline machine code, which processors without AVX2 run, is
# chosen at run time; on an emulated processor of that age the core tests
# exercise it whatever this machine has.
qemu-x86_64 -cpu Nehalem "$build/tests/fotavel_core_tests" --gtest_brief=1

# The window on a virtual X display, when the machine has one to offer.
if command -v xvfb-run >/dev/null && [ -x "$build/src/fotavel" ]; then
  tests/shell/smoke-xvfb.sh "$build/src/fotavel"
  # A photo handed back to the poster editor is still on the clipboard once the program has ended.
  tests/shell/handoff-xvfb.sh "$build"
fi

# The Debian package CPack makes from the build, unpacked and at work; and a series shared out
# by GNU parallel as its manual page shows, here and on a machine played by a stand-in for ssh.
tests/packaging/deb.sh "$build" .
tests/packaging/parallel.sh "$build" .

# One photo printed through a CUPS server of the test's own onto a PDF queue.
if command -v cupsd >/dev/null || [ -x /usr/sbin/cupsd ]; then
  tests/shell/print-cups.sh "$build/tests/fotavel_shell_tests"
else
  echo "print-cups: skipped, cupsd is not installed"
fi

# The tests without windows again, under AddressSanitizer and
# UndefinedBehaviorSanitizer; the engine's under ThreadSanitizer; then each
# fuzz target (clang's libFuzzer) on the inputs kept from past faults and for
# a bounded time on new ones.
tests/sanitized.sh
tests/threads-sanitized.sh
fuzz/run.sh
