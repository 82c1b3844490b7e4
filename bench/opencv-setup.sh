# Sourced by the benchmarks that set our passes beside OpenCV's:
#   source bench/opencv-setup.sh [BUILD_DIR] [REPEATS]
# sets here, build, repeats, bench (the fotavel-bench binary) and python (an
# interpreter with the system's cv2), or stops the script saying what is missing;
# Python finds photo_like.py, the picture both sides work on.
here="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
build="${1:-$here/build}"
repeats="${2:-5}"
bench="$build/bench/fotavel-bench"
[[ -x "$bench" ]] || { echo "no $bench: build the fotavel-bench target first" >&2; exit 2; }
python=""
for candidate in /usr/bin/python3 python3; do
  if "$candidate" -c 'import cv2' 2>/dev/null; then python="$candidate"; break; fi
done
[[ -n "$python" ]] || { echo "no cv2: apt-get install -y python3-opencv" >&2; exit 2; }
export PYTHONPATH="$here/bench${PYTHONPATH:+:$PYTHONPATH}"
