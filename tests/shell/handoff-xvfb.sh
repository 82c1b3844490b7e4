#!/usr/bin/env bash
# The photo handed back to the poster editor outlives the program on X11: a test process puts it
# on the clipboard, hands it to fotavel-presse-papiers and ends; another program then pastes it.
#   tests/shell/handoff-xvfb.sh BUILD_FOLDER
set -euo pipefail

build=$(realpath "$1")
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

xvfb-run -a -s "-screen 0 800x600x24" bash -c '
  set -euo pipefail
  build=$1 work=$2
  QT_QPA_PLATFORM=xcb FOTAVEL_X11_HANDOFF="$build/src" "$build/tests/fotavel_shell_tests" \
    --gtest_filter=HandOffX11.* > "$work/test.log" 2>&1 || { cat "$work/test.log"; exit 1; }
  grep -q "\[  PASSED  \] 1 test" "$work/test.log" || { cat "$work/test.log"; exit 1; }
  # The test process has ended; the photo is still there for anyone to paste.
  xclip -selection clipboard -t image/png -o > "$work/pasted.png"
  file "$work/pasted.png" > "$work/pasted.txt"
  # Another copy takes the clipboard over, and the keeper goes away.
  echo texte | xclip -selection clipboard -i 2>/dev/null
  keepers() {
    for f in /proc/[0-9]*/cmdline; do
      first=$({ tr "\0" "\n" < "$f"; } 2>/dev/null | head -n 1) || true
      case "$first" in */fotavel-presse-papiers) echo "$f" ;; esac
    done
  }
  for _ in $(seq 50); do [ -z "$(keepers)" ] && break; sleep 0.1; done
  keepers > "$work/left.txt"
' _ "$build" "$work"

grep -q "PNG image data, 37 x 23" "$work/pasted.txt" ||
  { echo "handoff-xvfb: FAILED: pasted $(cat "$work/pasted.txt")" >&2; exit 1; }
[ ! -s "$work/left.txt" ] ||
  { echo "handoff-xvfb: FAILED: the keeper stayed after the clipboard was taken" >&2; exit 1; }
echo "handoff-xvfb: 1 passed, 0 failed (a 37 x 23 photo pasted after its program ended)"
