#!/usr/bin/env bash
# A series shared out by GNU parallel, the road README and the manual pages give for many
# machines, with two job slots on this machine, then on a machine played by a stand-in for ssh:
# each photo is its own fotavel-batch, and the results are byte for byte those of one
# fotavel-batch -j 2 over the whole series.
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
mkdir -p "$work/photos" "$work/series"
"$batch" -e taille=161x107 "$photo" -o "$work/photos/a.jpg"
"$batch" -e recadrer=3:2 -e taille=97x65 "$photo" -o "$work/photos/b.jpg"
"$batch" -e gauche -e taille=63x95 "$photo" -o "$work/photos/c.jpg"
"$batch" -e taille=201x133 "$photo" -o "$work/photos/d.jpg"
"$batch" -e taille=33x21 "$photo" -o "$work/photos/e.jpg"
effects=(-e ciel -e colorer -e nette -e redresser=-2.5)

"$batch" -j 2 "${effects[@]}" "$work"/photos/*.jpg -o "$work/series" 2>"$work/series.log" ||
  { fail "fotavel-batch -j 2: $(cat "$work/series.log")"; exit 1; }

# The command of the manual page, into FOLDER, with the ssh logins and options given; the photos
# are named from the folder below, as photos/*.jpg in the page.
share_out() {
  local folder=$1
  shift
  mkdir -p "$work/$folder"
  (cd "$work/$folder" && cp -r ../photos . && parallel --will-cite -j 2 "$@" --transferfile {} \
    --return {/.}.jpg --cleanup "$batch" "${effects[@]}" {} -o {/.}.jpg ::: photos/*.jpg) \
    2>"$work/$folder.log" || fail "parallel $*: $(cat "$work/$folder.log")"
  for input in "$work"/photos/*.jpg; do
    name=$(basename "$input")
    [ -f "$work/$folder/$name" ] || { fail "$folder: parallel wrote no $name: $(cat "$work/$folder.log")"; continue; }
    cmp -s "$work/$folder/$name" "$work/series/$name" ||
      fail "$folder: $name through parallel differs from the same photo in one fotavel-batch -j 2"
    if cmp -s "$work/$folder/$name" "$input"; then fail "$folder: $name came back unretouched"; fi
  done
}

# This machine (':') alone: parallel skips the transfers for it, and says so.
share_out local --sshlogin 2/:

# Another machine, played here: a stand-in for ssh runs each command in a folder of the test's
# own, that machine's home, so the photos really travel there and back through rsync. Once the
# results are back, --cleanup leaves that home empty. Without --workdir ..., two jobs there share
# the folder photos/, and one's cleanup can remove it while the other's photo is copied in.
command -v rsync >/dev/null || { fail "rsync is missing (package rsync, scripts/install-deps.sh)"; exit 1; }
mkdir -p "$work/machine1"
cat >"$work/ssh" <<SSH
#!/usr/bin/env bash
# ssh [OPTIONS] HOST [--] COMMAND...: COMMAND in the home of HOST, with the login's HOME and
# SHELL set as sshd sets them (parallel's remote wrapper runs the job with \$SHELL: without it
# the job never runs, and parallel still exits 0).
while [ \$# -gt 0 ]; do
  case \$1 in
    -[oplSF]) shift 2 ;;
    -*) shift ;;
    *) break ;;
  esac
done
shift
[ "\${1-}" != -- ] || shift
cd "$work/machine1" && HOME="$work/machine1" SHELL=/bin/bash exec bash -c "\$*"
SSH
chmod +x "$work/ssh"
share_out remote --ssh "$work/ssh" --sshlogin 2/machine1 --workdir ...
[ -z "$(ls -A "$work/machine1")" ] || fail "--cleanup left on the machine: $(ls -A "$work/machine1")"

[ "$failed" = 0 ] || exit 1
echo "parallel: $(ls "$work/photos" | wc -l) photos through GNU parallel, here and on a stand-in machine, are those of one fotavel-batch -j 2"
