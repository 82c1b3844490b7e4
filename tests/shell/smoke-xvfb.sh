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

# The splash stays 5 seconds before the main window shows.
FOTAVEL_TEST_PHOTO="$photo" xvfb-run -a -s "-screen 0 1280x900x24" bash -c '
  "$1" & pid=$!
  sleep 9
  xwd -root -silent > "$2"
  kill "$pid" 2>/dev/null || true
  wait "$pid" 2>/dev/null || true
' _ "$exe" "$shot"

# A blank screen is one colour; the toolbar pictures and the photo bring
# hundreds. Counting distinct 32-bit words is rough (the file's header counts
# too) but needs nothing beyond coreutils.
colours=$(od -An -tx4 -v "$shot" | tr -s ' ' '\n' | sed '/^$/d' | sort -u | wc -l)
if [ "$colours" -lt 500 ]; then
  echo "smoke-xvfb: FAILED: the screen shows only $colours distinct values" >&2
  exit 1
fi
echo "smoke-xvfb: 1 passed, 0 failed ($colours distinct values on screen)"
