#!/usr/bin/env bash
# Saving the 6000 x 4000 photo-like picture: our writers against the outside
# tools on the same pixels, in the same run.
#
#   bench/save-formats.sh [BUILD_DIR] [QUALITY]     (build, 80)
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

# Ours: seconds and bytes of each benchmark, from the CSV report.
ours="$(FOTAVEL_BENCH_QUALITY="$quality" "$bench" \
  --benchmark_filter='BM_Save(Png|Webp|Avif)(/|$)|BM_WithinSize' --benchmark_format=csv 2>/dev/null)"
our() {  # our NAME COLUMN: a field of the benchmark's row (time in ms)
  /usr/bin/python3 -c '
import csv, io, sys
rows = list(csv.reader(io.StringIO(sys.stdin.read())))
head = next(i for i, r in enumerate(rows) if r and r[0] == "name")
names = rows[head]
for r in rows[head + 1:]:
    name = r[0].strip("\"")
    if name == sys.argv[1] or name == sys.argv[1] + "/iterations:1":
        print(r[names.index(sys.argv[2])]); break
' "$1" "$2" <<<"$ours"
}

pillow="$(/usr/bin/python3 - "$work" <<'PY'
import os, sys, time
from PIL import Image
work = sys.argv[1]
picture = Image.open(os.path.join(work, "photo.png"))
start = time.perf_counter(); picture.load(); decode = time.perf_counter() - start
start = time.perf_counter(); picture.save(os.path.join(work, "pillow.png")); save = time.perf_counter() - start
print(f"{save:.3f} {os.path.getsize(os.path.join(work, 'pillow.png'))} {decode:.3f}")
PY
)"
read -r pillow_s pillow_bytes decode_s <<<"$pillow"

cwebp_s="$(cwebp -q "$quality" -m 4 -v "$work/photo.png" -o "$work/cwebp.webp" 2>&1 |
  awk -F': ' '/Time to encode picture/ { sub(/s$/, "", $2); print $2 }')"
cwebp_bytes="$(stat -c %s "$work/cwebp.webp")"

start="$(date +%s.%N)"
heif-enc -A -q "$quality" -p speed=6 -p chroma=420 "$work/photo.png" -o "$work/heif-enc.avif" >/dev/null
heif_s="$(echo "$(date +%s.%N) - $start" | bc)"
heif_bytes="$(stat -c %s "$work/heif-enc.avif")"

pair() {  # pair LABEL OUR_MS OUR_BYTES THEIR_LABEL THEIR_S THEIR_BYTES TARGET
  awk -v l="$1" -v ms="$2" -v ob="$3" -v tl="$4" -v ts="$5" -v tb="$6" -v target="$7" 'BEGIN {
    ours = ms / 1000
    printf "%-5s ours %7.2f s %10d bytes | %-9s %7.2f s %10d bytes | time ratio %.2f (target %s)%s\n",
      l, ours, ob, tl, ts, tb, ours / ts, target, (ours / ts <= target ? "" : "  MISSED")
  }'
}
pair PNG "$(our BM_SavePng real_time)" "$(our BM_SavePng bytes)" Pillow "$pillow_s" "$pillow_bytes" 1.5
pair WebP "$(our BM_SaveWebp real_time)" "$(our BM_SaveWebp bytes)" cwebp "$cwebp_s" "$cwebp_bytes" 1.2
pair AVIF "$(our BM_SaveAvif real_time)" "$(our BM_SaveAvif bytes)" heif-enc "$heif_s" "$heif_bytes" 1.2
echo "      (heif-enc's time includes reading the PNG; Pillow decodes it in ${decode_s} s)"

for name in BM_WithinSizeJpeg/500 BM_WithinSizeJpeg/8000 BM_WithinSizeJpeg/12000 \
  BM_WithinSizeWebp/500 BM_WithinSizeWebp/4000 BM_WithinSizeAvif/500 BM_WithinSizeAvif/2000; do
  printf '%-24s %6.1f s  full-size encodes %s (whole %s, in all %s), quality %s, halvings %s, %s bytes\n' \
    "$name" "$(awk -v t="$(our "$name" real_time)" 'BEGIN { print t / 1000 }')" \
    "$(our "$name" fullSizeEncodes)" "$(our "$name" wholeEncodes)" \
    "$(our "$name" encodes)" "$(our "$name" quality)" \
    "$(our "$name" halvings)" "$(our "$name" bytes)"
done
