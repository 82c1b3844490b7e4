#!/usr/bin/env bash
# Saving the 6000 x 4000 photo-like picture: our writers against the outside
# tools on the same pixels, in the same run.
#
#   bench/save-formats.sh [BUILD_DIR] [QUALITY] [REPEATS]     (build, 80, 3)
#
#   PNG   our writer (Qt's, zlib level 6)   Pillow's PNG writer at its default compression
#   WebP  our writer at QUALITY (method 4)  cwebp -q QUALITY -m 4
#   AVIF  our writer at QUALITY (speed 6)   heif-enc -A -q QUALITY -p speed=6 -p chroma=420
#
# and the encodes EncodeWithinSize runs for a 500 kB limit (and for limits
# that need no halving). Needs the fotavel-bench and fotavel-bench-photo
# targets built; installs webp, libheif-examples and python3-pil with apt-get
# when their tools are missing (as root). Times are wall-clock seconds of the
# encode alone where the tool reports it (ours, Pillow's save, cwebp -v's
# "Time to encode picture"); heif-enc reports nothing, so its whole run is
# timed, reading the PNG included, and Pillow's decode of the same PNG is
# printed beside as an idea of that share. The load average is printed
# first: other work on the same cores spoils every figure.
set -euo pipefail

here="$(cd "$(dirname "$0")/.." && pwd)"
build="${1:-$here/build}"
quality="${2:-80}"
repeats="${3:-3}"
bench="$build/bench/fotavel-bench"
photo_tool="$build/bench/fotavel-bench-photo"
for tool in "$bench" "$photo_tool"; do
  [[ -x "$tool" ]] || { echo "no $tool: build fotavel-bench and fotavel-bench-photo first" >&2; exit 2; }
done
if ! command -v cwebp >/dev/null || ! command -v heif-enc >/dev/null ||
   ! /usr/bin/python3 -c 'import PIL' 2>/dev/null; then
  apt-get install -y webp libheif-examples python3-pil >/dev/null
fi

work="$(mktemp -d /dev/shm/fotavel-save-XXXXXX 2>/dev/null || mktemp -d)"
trap 'rm -rf "$work"' EXIT
"$photo_tool" "$work/photo.png"

echo "load average: $(cut -d' ' -f1-3 /proc/loadavg)"

# One of our benchmarks: its JSON report (the CSV one wants the same
# counters in every row).
run_ours() {
  FOTAVEL_BENCH_QUALITY="$quality" "$bench" --benchmark_filter="$1" --benchmark_format=json \
    2>/dev/null
}
field() {  # field REPORT NAME FIELD: real_time (ms) or a counter of the named run
  /usr/bin/python3 -c '
import json, sys
for run in json.loads(sys.stdin.read())["benchmarks"]:
    if run["name"] in (sys.argv[1], sys.argv[1] + "/iterations:1"):
        print(run[sys.argv[2]]); break
' "$2" "$3" <<<"$1"
}
best() { tr ' ' '\n' | sort -g | head -1; }

# The tools, one run each: "seconds bytes".
pillow_png() {
  /usr/bin/python3 - "$work" <<'PY'
import os, sys, time
from PIL import Image
work = sys.argv[1]
picture = Image.open(os.path.join(work, "photo.png"))
picture.load()
start = time.perf_counter(); picture.save(os.path.join(work, "pillow.png")); save = time.perf_counter() - start
print(f"{save:.3f} {os.path.getsize(os.path.join(work, 'pillow.png'))}")
PY
}
cwebp_webp() {
  local seconds
  seconds="$(cwebp -q "$quality" -m 4 -v "$work/photo.png" -o "$work/cwebp.webp" 2>&1 |
    awk -F': ' '/Time to encode picture/ { sub(/s$/, "", $2); print $2 }')"
  echo "$seconds $(stat -c %s "$work/cwebp.webp")"
}
heif_avif() {
  local start end
  start="$(date +%s.%N)"
  heif-enc -A -q "$quality" -p speed=6 -p chroma=420 "$work/photo.png" -o "$work/heif-enc.avif" \
    >/dev/null
  end="$(date +%s.%N)"
  echo "$(echo "$end - $start" | bc) $(stat -c %s "$work/heif-enc.avif")"
}
decode_s="$(/usr/bin/python3 -c '
import sys, time
from PIL import Image
picture = Image.open(sys.argv[1]); start = time.perf_counter(); picture.load()
print(f"{time.perf_counter() - start:.3f}")' "$work/photo.png")"

# Each pair runs ours then theirs, REPEATS times, and keeps the best time of
# each: the load of other work on the cores comes and goes between runs.
compare() {  # compare LABEL BENCHMARK TOOL_LABEL TOOL_FUNCTION TARGET
  local ours=() theirs=() report our_bytes their_bytes seconds bytes
  for ((i = 0; i < repeats; ++i)); do
    report="$(run_ours "^$2(/|\$)")"
    ours+=("$(field "$report" "$2" real_time)")
    our_bytes="$(field "$report" "$2" bytes)"
    read -r seconds bytes <<<"$("$4")"
    theirs+=("$seconds")
    their_bytes="$bytes"
  done
  awk -v l="$1" -v ms="$(echo "${ours[*]}" | best)" -v ob="$our_bytes" -v tl="$3" \
    -v ts="$(echo "${theirs[*]}" | best)" -v tb="$their_bytes" -v target="$5" 'BEGIN {
    o = ms / 1000
    printf "%-5s ours %6.2f s %9d bytes | %-8s %6.2f s %9d bytes | ratio %.2f (target %s)%s\n",
      l, o, ob, tl, ts, tb, o / ts, target, (o / ts <= target ? "" : "  MISSED")
  }'
}
compare PNG BM_SavePng Pillow pillow_png 1.5
compare WebP BM_SaveWebp cwebp cwebp_webp 1.2
compare AVIF BM_SaveAvif heif-enc heif_avif 1.2
echo "      (heif-enc's time includes reading the PNG; Pillow decodes it in ${decode_s} s)"

ours="$(run_ours 'BM_WithinSize')"
for name in BM_WithinSizeJpeg/500 BM_WithinSizeJpeg/8000 BM_WithinSizeJpeg/12000 \
  BM_WithinSizeWebp/500 BM_WithinSizeWebp/4000 BM_WithinSizeAvif/500 BM_WithinSizeAvif/2000; do
  printf '%-24s %6.1f s  full-size encodes %.0f (whole %.0f, in all %.0f), quality %.0f, halvings %.0f, %.0f bytes\n' \
    "$name" "$(awk -v t="$(field "$ours" "$name" real_time)" 'BEGIN { print t / 1000 }')" \
    "$(field "$ours" "$name" fullSizeEncodes)" "$(field "$ours" "$name" wholeEncodes)" \
    "$(field "$ours" "$name" encodes)" "$(field "$ours" "$name" quality)" \
    "$(field "$ours" "$name" halvings)" "$(field "$ours" "$name" bytes)"
done
