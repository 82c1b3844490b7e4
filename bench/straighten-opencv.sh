#!/usr/bin/env bash
# Straighten against cv2.warpAffine with cubic interpolation, one thread each,
# on a 6000 x 4000 8-bit three-channel picture turned by 3 degrees.
#
#   bench/straighten-opencv.sh [BUILD_DIR] [REPEATS]     (build, 5)
#
# Installs nothing: it needs the system's Python bindings of OpenCV
# (as root: apt-get install -y python3-opencv) and the fotavel-bench target
# built. The yardstick turns the whole picture into a frame of its own size
# (the work per destination pixel is what compares); our figure is
# BM_Straighten/white:0, which turns the same photo and keeps its 20.7
# megapixels without empty corners. Both report processor time in
# milliseconds, the best of REPEATS runs (FOTAVEL_CPU=baseline times the
# version older processors take); the load average is printed first,
# since other work on the same cores spoils both.
set -euo pipefail

# shellcheck source=bench/opencv-setup.sh
source "$(dirname "$0")/opencv-setup.sh"

echo "load average: $(cut -d' ' -f1-3 /proc/loadavg)"
opencv_ms="$("$python" - "$repeats" <<'PY'
import sys, time
import cv2

cv2.setNumThreads(1)
repeats = int(sys.argv[1])
from photo_like import photo_like

picture = photo_like()
height, width = picture.shape[:2]
turn = cv2.getRotationMatrix2D(((width - 1) / 2, (height - 1) / 2), -3.0, 1.0)
best = float("inf")
for _ in range(repeats):
    start = time.process_time()
    cv2.warpAffine(picture, turn, (width, height), flags=cv2.INTER_CUBIC,
                   borderMode=cv2.BORDER_REPLICATE)
    best = min(best, time.process_time() - start)
print(f"{best * 1000:.1f}")
PY
)"
fotavel_ms="$("$bench" --benchmark_filter='BM_Straighten/white:0' \
  --benchmark_repetitions="$repeats" --benchmark_report_aggregates_only=false \
  --benchmark_format=csv 2>/dev/null |
  awk -F, '/BM_Straighten\/white:0"?,/ && !/_mean|_median|_stddev|_cv/ {
    t = $4 + 0; if (best == "" || t < best) best = t } END { printf "%.1f", best }')"
echo "cv2.warpAffine cubic, 1 thread: ${opencv_ms} ms (cpu time)"
echo "Straighten (cropped), 1 thread: ${fotavel_ms} ms (cpu time)"
awk -v a="$opencv_ms" -v b="$fotavel_ms" \
  'BEGIN { printf "warpAffine / Straighten: %.2f (above 1: Straighten is faster)\n", a / b }'
