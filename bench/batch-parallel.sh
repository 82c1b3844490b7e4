#!/usr/bin/env bash
# fotavel-batch -j 1 against -j N: wall time of one run over 16 photos of
# 6000 x 4000 with "-e nette", each run a fresh process.
#
#   bench/batch-parallel.sh [BUILD_DIR] [JOBS] [REPEATS]     (build, 2, 3)
#
# The photos are made at run time under /tmp (16 × 4 MB) from the
# sample photo, enlarged and given texture by diffusion so that they decode
# and compress like camera photos rather than like a smooth enlargement. The
# runs alternate (-j 1, -j N, -j 1, …) so that a burst of load elsewhere on
# the machine weighs on both; the load average is printed before each run,
# since other work on the same cores spoils the figures: measure when quiet.
set -euo pipefail

here="$(cd "$(dirname "$0")/.." && pwd)"
build="${1:-$here/build}"
jobs="${2:-2}"
repeats="${3:-3}"
batch="$build/src/fotavel-batch"
[[ -x "$batch" ]] || { echo "no $batch: build the fotavel-batch target first" >&2; exit 2; }

work="${TMPDIR:-/tmp}/fotavel-batch-parallel"
photos="$work/photos"
mkdir -p "$photos"
if [[ ! -f "$photos/photo-16.jpg" ]]; then
  echo "making 16 photos of 6000 x 4000 in $photos"
  "$batch" -j 1 -e taille=6000x4000 -e diffusion -e nette -e nette -q 90 \
    "$here/samples/paysage.jpg" -o "$photos/photo-01.jpg"
  for i in $(seq -w 2 16); do
    # Each a little different, so that no two files are one in the page cache.
    "$batch" -j 1 -e "clair=$i" -q 90 "$photos/photo-01.jpg" -o "$photos/photo-$i.jpg"
  done
fi

seconds() { date +%s.%N; }
div() { awk -v a="$1" -v b="$2" 'BEGIN { printf "%.4f", a / b }'; }
run() {  # run N: prints the wall time of one fresh fotavel-batch -j N in seconds
  local out="$work/out-$1"
  rm -rf "$out" && mkdir -p "$out"
  local start end
  start=$(seconds)
  "$batch" -j "$1" -e nette "$photos"/photo-*.jpg -o "$out" 2>/dev/null
  end=$(seconds)
  awk -v a="$start" -v b="$end" 'BEGIN { printf "%.3f", b - a }'
}

# Read every photo once so that the first timed run does not pay the disk.
cat "$photos"/photo-*.jpg > /dev/null

declare -a one several
for ((r = 1; r <= repeats; r++)); do
  printf 'load %s  ' "$(cut -d' ' -f1-3 /proc/loadavg)"
  one+=("$(run 1)")
  several+=("$(run "$jobs")")
  printf -- '-j 1 %6.2f s   -j %s %6.2f s   ratio %.3f\n' "${one[-1]}" "$jobs" "${several[-1]}" \
    "$(div "${several[-1]}" "${one[-1]}")"
done
best() { printf '%s\n' "$@" | sort -g | head -1; }
b1=$(best "${one[@]}")
bn=$(best "${several[@]}")
printf 'best: -j 1 %.2f s, -j %s %.2f s, ratio %.3f\n' "$b1" "$jobs" "$bn" \
  "$(div "$bn" "$b1")"
