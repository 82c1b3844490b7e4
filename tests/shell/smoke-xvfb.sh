#!/usr/bin/env bash
# Starts the fotavel window on a virtual X display and checks the screenshots: the sample photo
# open in a document window, the same photo handed over by the poster editor on the clipboard,
# and the explorer pane showing its preview.
#   tests/shell/smoke-xvfb.sh FOTAVEL_EXECUTABLE [SCREENSHOT.xwd]
# The photo is opened from the command line, as a file manager's "Ouvrir avec" does, and through
# the FOTAVEL_TEST_PHOTO hook, and previewed through FOTAVEL_TEST_PREVIEW (see src/shell/main.cpp).
set -euo pipefail
# The checks below read the French window, whatever the language of the machine.
export LANGUAGE=fr LANG=fr_FR.UTF-8

exe=$(realpath "$1")
here=$(cd "$(dirname "$0")" && pwd)
photo="$here/../../samples/paysage.jpg"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
shot=${2:-$work/ecran.xwd}

# Counting distinct 32-bit words of the dump is rough but needs nothing beyond coreutils: a blank
# screen gives a handful, the main window without a photo a few thousand, with the photo tens of
# thousands; the preview adds about 1 100 to the same window without it.
# look NAME WANTED [VARIABLE=VALUE]... [-- ARGUMENT...]: starts the window with that environment
# and those arguments, looks every 2 seconds after the 5-second splash, for half a minute at most,
# until at least WANTED values show, and prints the count. SMOKE_CLIPBOARD_JPEG=FILE in that
# environment first puts FILE on the display's clipboard, as the poster editor does.
look() {
  local name=$1 wanted=$2
  shift 2
  local environment=()
  while [ $# -gt 0 ] && [ "$1" != "--" ]; do
    environment+=("$1")
    shift
  done
  [ $# -gt 0 ] && shift
  env "${environment[@]}" xvfb-run -a -s "-screen 0 1280x900x24" bash -c '
    if [ -n "${SMOKE_CLIPBOARD_JPEG:-}" ]; then
      xclip -selection clipboard -t image/jpeg -i "$SMOKE_CLIPBOARD_JPEG" &
      sleep 1
    fi
    "$1" "${@:4}" & pid=$!
    sleep 6
    colours=0
    for attempt in $(seq 12); do
      xwd -root -silent > "$2"
      colours=$(od -An -tx4 -v "$2" | tr -s " " "\n" | sed "/^$/d" | sort -u | wc -l)
      [ "$colours" -ge "$3" ] && break
      sleep 2
    done
    kill "$pid" 2>/dev/null || true
    wait "$pid" 2>/dev/null || true
    echo "$colours"
  ' _ "$exe" "$work/$name.xwd" "$wanted" "$@" 2>/dev/null | tail -n 1
}

failed=0
# Named on the command line, then through the FOTAVEL_TEST_PHOTO hook: the same photo shows.
photoColours=$(look photo 10000 -- "$photo")
cp "$work/photo.xwd" "$shot" 2>/dev/null || true
hookColours=$(look hook 10000 FOTAVEL_TEST_PHOTO="$photo")
for colours in "$photoColours" "$hookColours"; do
  if [ "$colours" -lt 10000 ]; then
    echo "smoke-xvfb: FAILED: with the photo open the screen shows only $colours distinct values" >&2
    failed=1
  fi
done
# The poster editor's picture, handed over on the clipboard, shows as the photo does.
editorColours=$(look editor 10000 SMOKE_CLIPBOARD_JPEG="$photo" -- EditeurAff)
if [ "$editorColours" -lt 10000 ]; then
  echo "smoke-xvfb: FAILED: the poster editor's picture shows only $editorColours distinct values" >&2
  failed=1
fi
# The same explorer without a preview, then with it.
plain=$(look plain 2000 HOME="$work")
preview=$(look preview $((plain + 500)) HOME="$work" FOTAVEL_TEST_PREVIEW="$photo")
if [ "$preview" -lt $((plain + 500)) ]; then
  echo "smoke-xvfb: FAILED: the preview adds only $((preview - plain)) distinct values" >&2
  failed=1
fi
[ "$failed" = 0 ] || exit 1
echo "smoke-xvfb: 4 passed, 0 failed ($photoColours and $hookColours distinct values with the" \
  "photo, $editorColours with the poster editor's, $plain in the explorer, $preview with the" \
  "preview)"
