#!/usr/bin/env bash
# The engine's passes against their OpenCV counterparts at 1 and 2 threads,
# on a 6000 x 4000 8-bit three-channel photo-like picture:
#   3 x 3 box filter      cv2.filter2D            BM_ProcessImage type 1 (Blur)
#   5 x 5 box filter      cv2.filter2D            BM_ProcessImage type 2 (Blur More)
#   3 x 3 minimum         cv2.erode               BM_ProcessImage type 10
#   HLS round trip        cv2.cvtColor BGR>HLS>BGR  BM_Lighten (HLS there and back)
#   bilinear resize       cv2.resize to 3000x2000 BM_Resample 3000 x 2000
#
#   bench/opencv-threads.sh [BUILD_DIR] [REPEATS]     (build, 5)
#
# Installs nothing: it needs the system's Python bindings of OpenCV (as root:
# apt-get install -y python3-opencv) and the fotavel-bench target built. The
# thread counts are cv2.setNumThreads(N) and FOTAVEL_THREADS=N. Both sides
# report wall-clock milliseconds (processor time would add the threads up),
# the best of REPEATS runs; the load average is printed first, since other
# work on the same cores spoils both. The ratio is ours / OpenCV: below 1 we
# are faster. The filters do not compute quite the same thing (OpenCV rounds
# a float kernel, ours divides integer sums; our HLS keeps its own
# arithmetic), so the table compares the cost of the work, not its bytes.
set -euo pipefail

# shellcheck source=bench/opencv-setup.sh
source "$(dirname "$0")/opencv-setup.sh"

# Our benchmark of each row, in table order.
names=(filter3 filter5 erode hls resize)
labels=("3x3 filter" "5x5 filter" "3x3 erode/minimum" "HLS round trip" "resize 3000x2000")
ours=(
  'BM_ProcessImage/type:1/size:3/scale:1/fresh:0'
  'BM_ProcessImage/type:2/size:5/scale:1/fresh:0'
  'BM_ProcessImage/type:10/size:3/scale:1/fresh:0'
  'BM_Lighten/fresh:0'
  'BM_Resample/width:3000/height:2000/fresh:0'
)

# Prints "name milliseconds" for every row at `threads` OpenCV threads.
opencv_times() {
  "$python" - "$1" "$repeats" <<'PY'
import sys, time
import cv2
import numpy as np

threads, repeats = int(sys.argv[1]), int(sys.argv[2])
cv2.setNumThreads(threads)
from photo_like import photo_like

picture = photo_like()
height, width = picture.shape[:2]
box3 = np.full((3, 3), 1 / 9, np.float32)
box5 = np.full((5, 5), 1 / 25, np.float32)
square = np.ones((3, 3), np.uint8)
runs = {
    "filter3": lambda: cv2.filter2D(picture, -1, box3),
    "filter5": lambda: cv2.filter2D(picture, -1, box5),
    "erode": lambda: cv2.erode(picture, square),
    "hls": lambda: cv2.cvtColor(cv2.cvtColor(picture, cv2.COLOR_BGR2HLS), cv2.COLOR_HLS2BGR),
    "resize": lambda: cv2.resize(picture, (3000, 2000), interpolation=cv2.INTER_LINEAR),
}
for name, run in runs.items():
    run()  # first touch of the result's memory
    best = float("inf")
    for _ in range(repeats):
        start = time.perf_counter()
        run()
        best = min(best, time.perf_counter() - start)
    print(name, f"{best * 1000:.1f}")
PY
}

# Prints "name milliseconds" for every row at FOTAVEL_THREADS=threads.
fotavel_times() {
  local filter
  filter="^($(IFS='|'; echo "${ours[*]}"))\$"
  FOTAVEL_THREADS="$1" "$bench" --benchmark_filter="$filter" \
    --benchmark_repetitions="$repeats" --benchmark_report_aggregates_only=false \
    --benchmark_format=csv 2>/dev/null |
    awk -F, -v names="${names[*]}" -v ours="$(IFS=' '; echo "${ours[*]}")" '
      BEGIN { n = split(names, name, " "); split(ours, our, " ")
              for (i = 1; i <= n; ++i) row[our[i]] = name[i] }
      { gsub(/"/, "", $1) }
      ($1 in row) { t = $3 + 0; if (!(($1) in best) || t < best[$1]) best[$1] = t }
      END { for (k in best) printf "%s %.1f\n", row[k], best[k] }'
}

echo "load average: $(cut -d' ' -f1-3 /proc/loadavg)"
declare -A cv ours_ms
for threads in 1 2; do
  while read -r name ms; do cv[$name,$threads]="$ms"; done < <(opencv_times "$threads")
  while read -r name ms; do ours_ms[$name,$threads]="$ms"; done < <(fotavel_times "$threads")
done
printf '%-20s %8s %8s %6s   %8s %8s %6s\n' "wall ms" "ours 1" "cv2 1" "ratio" "ours 2" "cv2 2" \
  "ratio"
for i in "${!names[@]}"; do
  name="${names[$i]}"
  line="$(printf '%-20s' "${labels[$i]}")"
  for threads in 1 2; do
    a="${ours_ms[$name,$threads]:-nan}"
    b="${cv[$name,$threads]:-nan}"
    line+="$(awk -v a="$a" -v b="$b" 'BEGIN { printf " %8.1f %8.1f %6.2f  ", a, b, a / b }')"
  done
  echo "$line"
done
echo "ratio = ours / OpenCV (below 1: ours is faster); best of $repeats, wall clock"
