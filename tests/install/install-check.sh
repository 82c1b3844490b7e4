#!/usr/bin/env bash
# Installs the build into a temporary prefix and checks the installed tree as a desktop and a user
# meet it: the files and only them, the desktop entry, the manual page, the installed tools at
# work, and the settings of an installed program kept with the user's configuration.
#   tests/install/install-check.sh BUILD_FOLDER SOURCE_FOLDER
set -euo pipefail

build=$(realpath "$1")
source=$(realpath "$2")
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
prefix=$work/prefix
failed=0
fail() {
  echo "install-check: FAILED: $*" >&2
  failed=1
}

cmake --install "$build" --prefix "$prefix" >"$work/install.log" 2>&1 ||
  { cat "$work/install.log"; fail "cmake --install"; exit 1; }

# Exactly these files: nothing of the tests, benchmarks or build is installed.
expected="bin/fotavel
bin/fotavel-batch
bin/fotavel-presse-papiers
share/applications/fotavel.desktop
share/doc/fotavel/Licence-freeware.txt
share/fotavel/translations/fotavel_en.qm
share/icons/hicolor/scalable/apps/fotavel.svg
share/man/fr/man1/fotavel-batch.1
share/man/fr/man1/fotavel.1
share/man/man1/fotavel-batch.1
share/man/man1/fotavel.1
share/metainfo/io.github.fotavel.Fotavel.metainfo.xml"
found=$(cd "$prefix" && find . -type f -o -type l | sed 's|^\./||' | LC_ALL=C sort)
[ "$found" = "$expected" ] || fail "installed files differ:"$'\n'"$(diff <(echo "$expected") <(echo "$found"))"
for program in fotavel fotavel-batch fotavel-presse-papiers; do
  [ -x "$prefix/bin/$program" ] || fail "bin/$program is not executable"
done

# The desktop entry: valid, and it starts the installed program with the files chosen.
entry=$prefix/share/applications/fotavel.desktop
if command -v desktop-file-validate >/dev/null; then
  report=$(desktop-file-validate "$entry" 2>&1) || fail "desktop-file-validate refuses the entry"
  [ -z "$report" ] || fail "desktop-file-validate: $report"
else
  fail "desktop-file-validate is missing (package desktop-file-utils, scripts/install-deps.sh)"
fi
grep -qx 'Exec=fotavel %F' "$entry" || fail "the entry does not start 'fotavel %F'"
icon=$(sed -n 's/^Icon=//p' "$entry")
[ -f "$prefix/share/icons/hicolor/scalable/apps/$icon.svg" ] || fail "no icon named '$icon'"
for type in image/jpeg image/bmp image/gif image/png image/wmf image/heic image/heif image/avif \
  image/webp image/tiff; do
  grep -q "^MimeType=.*$type;" "$entry" || fail "the entry does not offer to open $type"
done
if command -v xmllint >/dev/null; then
  xmllint --noout "$prefix/share/icons/hicolor/scalable/apps/$icon.svg" 2>"$work/svg.log" ||
    fail "the icon is not well-formed SVG: $(cat "$work/svg.log")"
fi

# The installed tool runs, and its manual page names every option and effect its help lists.
help=$("$prefix/bin/fotavel-batch" --help) || fail "the installed fotavel-batch --help fails"
[[ "$help" == "Usage : fotavel-batch "* ]] || fail "fotavel-batch --help: $help"
page=$prefix/share/man/man1/fotavel-batch.1
if command -v groff >/dev/null; then
  # -k reads the page's UTF-8 as man does; -ww reports every warning.
  warnings=$(groff -k -man -Tutf8 -ww -z "$page" 2>&1) || fail "groff cannot render the page"
  [ -z "$warnings" ] || fail "groff warns: $warnings"
  text=$(groff -k -man -Tutf8 -P-cbou "$page" 2>/dev/null)
  names=$(echo "$help" | grep -oE '^  (-[a-z]|--[a-z]+)' | sed 's/^ *//'
    echo "$help" | sed -n '/^Effets :/,$p' | grep -oE '^  [a-z]+' | sed 's/^ *//')
  for name in $names; do
    grep -qE -- "(^|[^a-z-])$name([^a-z]|\$)" <<<"$text" || fail "the manual page does not mention $name"
  done
  if command -v man >/dev/null; then
    man -l "$page" >/dev/null 2>"$work/man.log" && [ ! -s "$work/man.log" ] ||
      fail "man -l: $(cat "$work/man.log")"
  fi
else
  echo "install-check: the manual page is not rendered, groff is not installed"
fi

# An installed program keeps the logo and its settings with the user's configuration, made on
# first need, never beside itself in bin.
config=$work/config
photo=$source/samples/paysage.jpg
run_batch() { HOME=$work/home XDG_CONFIG_HOME=$config "$prefix/bin/fotavel-batch" "$@"; }
if run_batch -e logo "$photo" -o "$work/sans-logo.jpg" 2>"$work/batch.log"; then
  fail "fotavel-batch -e logo succeeded with no logo anywhere"
fi
[ -d "$config/fotavel/param" ] || fail "the configuration's param folder was not made"
[ ! -e "$prefix/bin/param" ] || fail "a param folder was made beside the installed programs"
cp "$photo" "$config/fotavel/param/logo.jpg"
printf 'Ext=jpg;\r\nDstX=50;\r\nDstY=50;\r\nTll=30;\r\nTrs=0;\r\nAgl=0;\r\n' >"$config/fotavel/param/fotavel.ini"
run_batch -e logo "$photo" -o "$work/logo.bmp" 2>>"$work/batch.log" ||
  fail "fotavel-batch -e logo with the logo in the configuration: $(cat "$work/batch.log")"
run_batch "$photo" -o "$work/photo.bmp" 2>>"$work/batch.log" || fail "fotavel-batch without effect"
if [ -f "$work/logo.bmp" ] && cmp -s "$work/logo.bmp" "$work/photo.bmp"; then
  fail "the logo from the configuration left the photo unchanged"
fi

[ "$failed" = 0 ] || exit 1
echo "install-check: the installed tree in $prefix is complete and works"
