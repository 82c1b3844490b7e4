#!/usr/bin/env bash
# Lossless quarter turns of a 6000 x 4000 JPEG against jpegtran: the files
# must be the same to the byte, and both are timed.
#
#   bench/lossless-jpegtran.sh [BUILD_DIR] [REPEATS]     (build, 5)
#
# Needs the fotavel-batch, fotavel-bench-photo and fotavel-bench targets
# built; installs libjpeg-turbo-progs (jpegtran) when it is missing, which
# takes root. The photo is the benchmarks' photo-like picture at quality 90,
# written with nothing but its JFIF segment (no metadata, no comment), so that
# both tools write the same markers; 6000 and 4000 fall on whole 16-pixel
# blocks, so every turn is perfect. Our side is fotavel-batch --sans-perte,
# the whole road a user takes: the photo is opened (decoded, as every photo
# the tool opens) before its blocks are moved; jpegtran only moves blocks.
# fotavel-bench's BM_TurnJpegLossless (file read, blocks moved, file written)
# is printed last, the figure to set beside jpegtran's. Times are wall-clock
# seconds, the best of REPEATS runs; the load average is printed first, since
# other work on the same cores spoils both.
set -euo pipefail

here="$(cd "$(dirname "$0")/.." && pwd)"
build="${1:-$here/build}"
repeats="${2:-5}"
batch="$build/src/fotavel-batch"
maker="$build/bench/fotavel-bench-photo"
bench="$build/bench/fotavel-bench"
for tool in "$batch" "$maker" "$bench"; do
  [[ -x "$tool" ]] || { echo "no $tool: build it first" >&2; exit 2; }
done
if ! command -v jpegtran >/dev/null; then
  apt-get install -y libjpeg-turbo-progs >/dev/null
fi

work="$(mktemp -d "${TMPDIR:-/tmp}/lossless-jpegtran-XXXXXX")"
trap 'rm -rf "$work"' EXIT
photo="$work/photo.jpg"
"$maker" "$photo"

# The best wall-clock time of REPEATS runs of the command, in seconds.
best_of() {
  local best="" t
  for ((i = 0; i < repeats; i++)); do
    local start end
    start=$(date +%s.%N)
    "$@" >/dev/null
    end=$(date +%s.%N)
    t=$(echo "$end - $start" | bc)
    if [[ -z "$best" ]] || (($(echo "$t < $best" | bc))); then best=$t; fi
  done
  printf '%.3f' "$best"
}

echo "load average: $(cut -d' ' -f1-3 /proc/loadavg)"
status=0
for degrees in 90 180 270; do
  case $degrees in
    90) effects=(-e droite) ;;
    180) effects=(-e droite -e droite) ;;
    270) effects=(-e gauche) ;;
  esac
  ours="$work/ours-$degrees.jpg"
  theirs="$work/theirs-$degrees.jpg"
  "$batch" -j 1 --sans-perte "${effects[@]}" "$photo" -o "$ours"
  jpegtran -perfect -rotate "$degrees" -outfile "$theirs" "$photo"
  if cmp -s "$ours" "$theirs"; then
    same="identical ($(stat -c %s "$ours") bytes)"
  else
    same="DIFFERENT ($(stat -c %s "$ours") and $(stat -c %s "$theirs") bytes)"
    status=1
  fi
  ours_s=$(best_of "$batch" -j 1 --sans-perte "${effects[@]}" "$photo" -o "$ours")
  theirs_s=$(best_of jpegtran -perfect -rotate "$degrees" -outfile "$theirs" "$photo")
  echo "rotate $degrees: files $same; fotavel-batch --sans-perte ${ours_s} s, jpegtran ${theirs_s} s"
done
"$bench" --benchmark_filter='BM_TurnJpeg' --benchmark_repetitions="$repeats" \
  --benchmark_report_aggregates_only=true 2>/dev/null | grep -E '_(median)|Benchmark' || true
exit $status
