#!/usr/bin/env bash
# Makes the Debian package from the build tree with CPack and checks it as apt and a user meet it:
# the files, the control fields, the metainfo of this release, and the packaged fotavel-batch at
# work once unpacked. Runs lintian when it is installed.
#   tests/packaging/deb.sh BUILD_FOLDER SOURCE_FOLDER
set -euo pipefail

build=$(realpath "$1")
source=$(realpath "$2")
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
failed=0
fail() {
  echo "deb: FAILED: $*" >&2
  failed=1
}

# The package is made in the test's own folder, leaving the build's alone.
cpack -G DEB --config "$build/CPackConfig.cmake" -B "$work/cpack" >"$work/cpack.log" 2>&1 ||
  { cat "$work/cpack.log"; fail "cpack -G DEB"; exit 1; }
debs=("$work"/cpack/fotavel_*.deb)
[ ${#debs[@]} = 1 ] && [ -f "${debs[0]}" ] || { fail "no single fotavel_*.deb: ${debs[*]}"; exit 1; }
deb=${debs[0]}

# Every file a desktop, man and Debian look for, the translations the build made included.
contents=$(dpkg-deb --contents "$deb" | awk '{print $NF}' | sed 's|^\./||')
expected="usr/bin/fotavel
usr/bin/fotavel-batch
usr/bin/fotavel-presse-papiers
usr/share/applications/fotavel.desktop
usr/share/icons/hicolor/scalable/apps/fotavel.svg
usr/share/metainfo/io.github.fotavel.Fotavel.metainfo.xml
usr/share/man/man1/fotavel.1.gz
usr/share/man/man1/fotavel-batch.1.gz
usr/share/man/fr/man1/fotavel.1.gz
usr/share/man/fr/man1/fotavel-batch.1.gz
usr/share/doc/fotavel/Licence-freeware.txt
usr/share/doc/fotavel/copyright"
for file in $expected; do
  grep -qx "$file" <<<"$contents" || fail "the package lacks $file"
done
while IFS= read -r qm; do
  grep -q "/$(basename "$qm")\$" <<<"$contents" || fail "the package lacks the translation $(basename "$qm")"
done < <(find "$build" -name '*.qm' -not -path '*/_CPack_Packages/*')

# The control fields: this project's version, and dependencies both found by dpkg-shlibdeps and
# named by hand for what Qt loads at run time.
version=$(sed -n 's/^CMAKE_PROJECT_VERSION:STATIC=//p' "$build/CMakeCache.txt")
field() { dpkg-deb -f "$deb" "$1"; }
[ "$(field Package)" = fotavel ] || fail "Package: $(field Package)"
[ -n "$version" ] && [ "$(field Version)" = "$version" ] || fail "Version: $(field Version), not $version"
[ "$(field Section)" = graphics ] || fail "Section: $(field Section)"
[ -n "$(field Maintainer)" ] && [ -n "$(field Description)" ] || fail "no Maintainer or Description"
depends=$(field Depends)
for library in libturbojpeg0 libqt6widgets6 libqt6gui6 libexiv2 libheif1 qt6-image-formats-plugins \
  qt6-translations-l10n; do
  grep -qE "(^|, )$library[^,]*( |,|\$)" <<<"$depends" || fail "Depends does not name $library: $depends"
done

root=$work/root
dpkg-deb -x "$deb" "$root"
# What was changed after staging is what dpkg will check the files against.
(cd "$root" && dpkg-deb -I "$deb" md5sums | md5sum --quiet -c -) >"$work/md5.log" 2>&1 ||
  fail "md5sums do not match the files: $(cat "$work/md5.log")"

# The metainfo describes this release and launches the packaged entry.
metainfo=$root/usr/share/metainfo/io.github.fotavel.Fotavel.metainfo.xml
grep -q "<release version=\"$version\"" "$metainfo" || fail "the metainfo has no release $version"
launchable=$(sed -n 's|.*<launchable type="desktop-id">\(.*\)</launchable>.*|\1|p' "$metainfo")
[ -f "$root/usr/share/applications/$launchable" ] || fail "the metainfo launches '$launchable', not packaged"
appstreamcli validate --no-net "$metainfo" >"$work/appstream.log" 2>&1 ||
  fail "appstreamcli validate: $(cat "$work/appstream.log")"

# man finds the English page by default and the French one for a French locale; both render clean.
zgrep -q '^\.SH NAME' "$root/usr/share/man/man1/fotavel.1.gz" || fail "man1/fotavel.1 is not English"
zgrep -q '^\.SH NOM' "$root/usr/share/man/fr/man1/fotavel.1.gz" || fail "fr/man1/fotavel.1 is not French"
for page in "$root"/usr/share/man/man1/*.gz "$root"/usr/share/man/fr/man1/*.gz; do
  MANWIDTH=80 man -l "$page" >/dev/null 2>"$work/man.log" && [ ! -s "$work/man.log" ] ||
    fail "man -l ${page#"$root"/}: $(cat "$work/man.log")"
done

# The packaged tool, stripped and installed under /usr, writes the same photo as the build's.
photo=$source/samples/paysage.jpg
batch() { HOME=$work/home XDG_CONFIG_HOME=$work/config "$1" -e ciel -e nette "$photo" -o "$2"; }
batch "$root/usr/bin/fotavel-batch" "$work/paquet.jpg" 2>"$work/batch.log" ||
  fail "the packaged fotavel-batch: $(cat "$work/batch.log")"
[[ "$(file -b "$work/paquet.jpg" 2>&1)" == "JPEG image data"* ]] || fail "not a JPEG: $(file -b "$work/paquet.jpg" 2>&1)"
batch "$build/src/fotavel-batch" "$work/build.jpg"
cmp -s "$work/paquet.jpg" "$work/build.jpg" || fail "the packaged fotavel-batch writes another photo than the build's"

# Lintian, when installed (it brings some 130 Perl packages, so scripts/install-deps.sh leaves it
# out), fails the test on errors only; its warnings are shown. Accepted: no-changelog, as CPack
# writes no Debian changelog (the releases are listed in the metainfo).
if command -v lintian >/dev/null; then
  lintian --suppress-tags no-changelog "$deb" 2>&1 | grep -v 'root privileges' >"$work/lintian.log" || true
  ! grep '^E:' "$work/lintian.log" || fail "lintian reports errors"
  grep -v '^E:' "$work/lintian.log" || true
else
  echo "deb: lintian is not installed, the package is not linted"
fi

[ "$failed" = 0 ] || exit 1
echo "deb: $(basename "$deb") is complete and its fotavel-batch works"
