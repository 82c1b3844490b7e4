#!/usr/bin/env bash
# Builds the fuzz targets with clang in their own folder, replays the kept
# regression inputs, then fuzzes each target for a bounded time. A crash, a
# hang, a leak or any sanitizer report fails the script.
#   FOTAVEL_FUZZ_BUILD_DIR (build-fuzz), FOTAVEL_FUZZ_SECONDS (25 per target)
set -euo pipefail
cd "$(dirname "$0")/.."

build=${FOTAVEL_FUZZ_BUILD_DIR:-build-fuzz}
seconds=${FOTAVEL_FUZZ_SECONDS:-25}
# target:inputs, the inputs naming both the seed folder and fuzz/regressions/<inputs>.
targets=(picture:picture preview:picture settings:settings batch_args:batch_args)

command -v clang++ >/dev/null || {
  echo "fuzz: clang++ is missing (scripts/install-deps.sh installs clang)" >&2
  exit 1
}
cmake -S . -B "$build" -G Ninja -DCMAKE_CXX_COMPILER=clang++ -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DCMAKE_CXX_FLAGS_RELWITHDEBINFO="-O1 -g1" -DFOTAVEL_FUZZ=ON -DBUILD_TESTING=OFF \
  -DFOTAVEL_BENCH=OFF -DFOTAVEL_WERROR="${FOTAVEL_WERROR:-OFF}" >/dev/null
names=(fuzz_seeds)
for entry in "${targets[@]}"; do names+=("fuzz_${entry%%:*}"); done
cmake --build "$build" --parallel "$(nproc)" --target "${names[@]}"

rm -rf "$build/seeds" "$build/artifacts"
# The seeds' HEIC files come from an encoder that keeps a few blocks to the end.
# Leaks a library keeps to itself are not ours to report (see the file).
export LSAN_OPTIONS=suppressions=$PWD/tests/lsan-suppressions.txt
"$build/fuzz/fuzz_seeds" "$build/seeds"

options=(-timeout=10 -rss_limit_mb=2560)
# The WMF drawing runs in a child process whose faults the reader contains by
# design; the fuzzer does not see them, but their reports reach the log.
reported() { grep -qE '^==[0-9]+== ?ERROR:|^SUMMARY: |runtime error:' "$1"; }
fuzz_one() {
  local target=${1%%:*} inputs=${1##*:}
  local program="$build/fuzz/fuzz_$target" kept="fuzz/regressions/$inputs"
  local log="$build/logs/$target.log" artifacts="$build/artifacts/$target/"
  mkdir -p "$build/logs" "$artifacts" "$build/corpus/$target"
  # A dictionary of the inputs' tokens, where there is one.
  local dict=()
  [[ -f "fuzz/$inputs.dict" ]] && dict=(-dict="fuzz/$inputs.dict")
  # Every input that once broke a target is read again first, one by one.
  if compgen -G "$kept/*" >/dev/null; then
    if ! "$program" "${options[@]}" "$kept"/* >"$log" 2>&1 || reported "$log"; then
      tail -n 60 "$log"
      echo "fuzz: $target fails on a kept input of $kept (log: $log)" >&2
      return 1
    fi
  fi
  # The first folder collects what this run finds; seeds and kept inputs start it.
  if ! "$program" "${options[@]}" "${dict[@]}" -max_total_time="$seconds" -print_final_stats=1 \
    -artifact_prefix="$artifacts" "$build/corpus/$target" "$build/seeds/$inputs" \
    $(compgen -G "$kept/*" >/dev/null && echo "$kept") >"$log" 2>&1 || reported "$log"; then
    tail -n 60 "$log"
    echo "fuzz: $target FAILED; the input is in $artifacts (log: $log)." >&2
    echo "fuzz: fix the fault and keep that input in $kept/." >&2
    return 1
  fi
  echo "fuzz: $target: $(grep -o 'Done [0-9]* runs in [0-9]* second(s)' "$log")"
}

# As many targets at once as there are cores.
source scripts/parallel.sh
run_parallel fuzz_one "${targets[@]}"
