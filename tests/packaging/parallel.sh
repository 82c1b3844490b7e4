#!/usr/bin/env bash
# A series shared out by GNU parallel, the road README and the manual pages give for many
# machines, here with two job slots on this machine: each photo is its own fotavel-batch, and
# the results are byte for byte those of one fotavel-batch -j 2 over the whole series.
#   tests/packaging/parallel.sh BUILD_FOLDER SOURCE_FOLDER
set -euo pipefail

batch=$(realpath "$1")/src/fotavel-batch
photo=$(realpath "$2")/samples/paysage.jpg
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
export HOME=$work/home XDG_CONFIG_HOME=$work/config
failed=0
fail() {
  echo "parallel: FAILED: $*" >&2
  failed=1
}
command -v parallel >/dev/null || { fail "GNU parallel is missing (package parallel, scripts/install-deps.sh)"; exit 1; }

# Small photos of odd sizes and both lies, made from the sample.
mkdir -p "$work/photos" "$work/series" "$work/parallel"
"$batch" -e taille=161x107 "$photo" -o "$work/photos/a.jpg"
"$batch" -e recadrer=3:2 -e taille=97x65 "$photo" -o "$work/photos/b.jpg"
"$batch" -e gauche -e taille=63x95 "$photo" -o "$work/photos/c.jpg"
"$batch" -e taille=201x133 "$photo" -o "$work/photos/d.jpg"
"$batch" -e taille=33x21 "$photo" -o "$work/photos/e.jpg"
effects=(-e ciel -e colorer -e nette -e redresser=-2.5)

"$batch" -j 2 "${effects[@]}" "$work"/photos/*.jpg -o "$work/series" 2>"$work/series.log" ||
  { fail "fotavel-batch -j 2: $(cat "$work/series.log")"; exit 1; }

# The command of the manual page, with ':' (this machine) as the only one; parallel ignores the
# transfers for it and says so.
(cd "$work/parallel" && parallel --will-cite -j 2 --sshlogin 2/: --transferfile {} \
  --return {/.}.jpg --cleanup "$batch" "${effects[@]}" {} -o {/.}.jpg ::: ../photos/*.jpg) \
  2>"$work/parallel.log" || fail "parallel: $(cat "$work/parallel.log")"

for input in "$work"/photos/*.jpg; do
  name=$(basename "$input")
  [ -f "$work/parallel/$name" ] || { fail "parallel wrote no $name"; continue; }
  cmp -s "$work/parallel/$name" "$work/series/$name" ||
    fail "$name through parallel differs from the same photo in one fotavel-batch -j 2"
  cmp -s "$work/parallel/$name" "$input" && fail "$name came back unretouched"
done
[ "$(ls "$work/parallel" | wc -l)" = "$(ls "$work/photos" | wc -l)" ] ||
  fail "parallel wrote other files: $(ls "$work/parallel")"

[ "$failed" = 0 ] || exit 1
echo "parallel: $(ls "$work/photos" | wc -l) photos through GNU parallel are those of one fotavel-batch -j 2"
