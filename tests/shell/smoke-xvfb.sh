#!/usr/bin/env bash
# Starts the fotavel window on a virtual X display with the sample photo, takes a screenshot
# and checks that the screen shows more than a blank.
#   tests/shell/smoke-xvfb.sh FOTAVEL_EXECUTABLE [SCREENSHOT.xwd]
# The photo is opened through the FOTAVEL_TEST_PHOTO hook (see src/shell/main.cpp).
set -euo pipefail

exe=$(realpath "$1")
here=$(cd "$(dirname "$0")" && pwd)
photo="$here/../../samples/paysage.jpg"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
shot=${2:-$work/ecran.xwd}

# The splash stays 5 seconds before the main window shows; a loaded machine
# may take longer, so look again every 2 seconds for up to half a minute.
# Counting distinct 32-bit words of the dump is rough but needs nothing beyond
# coreutils: a blank screen gives a handful, the splash or the main window
# without a photo a few thousand, the window showing the photo tens of
# thousands (30 000 when this was written).
FOTAVEL_TEST_PHOTO="$photo" xvfb-run -a -s "-screen 0 1280x900x24" bash -c '
  "$1" & pid=$!
  sleep 6
  colours=0
  for attempt in $(seq 12); do
    xwd -root -silent > "$2"
    colours=$(od -An -tx4 -v "$2" | tr -s " " "\n" | sed "/^$/d" | sort -u | wc -l)
    [ "$colours" -ge 10000 ] && break
    sleep 2
  done
  kill "$pid" 2>/dev/null || true
  wait "$pid" 2>/dev/null || true
  echo "$colours" > "$2.count"
' _ "$exe" "$shot"

colours=$(cat "$shot.count")
rm -f "$shot.count"
if [ "$colours" -lt 10000 ]; then
  echo "smoke-xvfb: FAILED: the screen shows only $colours distinct values" >&2
  exit 1
fi
echo "smoke-xvfb: 1 passed, 0 failed ($colours distinct values on screen)"
