#!/usr/bin/env bash
# Fails, naming them, when a text of the program has no finished translation in a language.
#   tests/translations/complete.sh LUPDATE SOURCE_TREE [LANGUAGE]   (LANGUAGE: en by default)
# lupdate reads the sources into a temporary copy of each translations/fotavel_<LANGUAGE>*.ts
# file, so that every text the code holds today is in each copy, translated or not; a text counts
# as translated when one of the language's files translates it (the language's texts may be
# split between several files while parts of the program are translated apart).
set -euo pipefail

lupdate=$1
tree=$(cd "$2" && pwd)
language=${3:-en}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

shopt -s nullglob
files=("$tree"/translations/fotavel_"$language".ts "$tree"/translations/fotavel_"$language"_*.ts)
if [ ${#files[@]} -eq 0 ]; then
  echo "translations: no translations/fotavel_${language}*.ts file" >&2
  exit 1
fi
copies=()
for file in "${files[@]}"; do
  copy="$work/$(basename "$file")"
  cp "$file" "$copy"
  "$lupdate" -silent -no-obsolete -locations none "$tree/src" -ts "$copy" >"$work/lupdate.log" 2>&1 ||
    { cat "$work/lupdate.log" >&2; exit 1; }
  copies+=("$copy")
done

python3 - "$language" "${copies[@]}" <<'PY'
import sys
import xml.etree.ElementTree as ET

language, copies = sys.argv[1], sys.argv[2:]

def text(element):
    # lupdate writes a carriage return as <byte value="xd"/>.
    if element is None:
        return ""
    parts = [element.text or ""]
    for child in element:
        if child.tag == "byte":
            parts.append(chr(int(child.get("value").lstrip("x"), 16)))
        parts.append(child.tail or "")
    return "".join(parts)

def finished(translation):
    if translation is None or translation.get("type") in ("unfinished", "vanished", "obsolete"):
        return False
    forms = translation.findall("numerusform")
    return all(text(f) for f in forms) if forms else bool(text(translation))

seen, done = [], set()
for copy in copies:
    for context in ET.parse(copy).getroot().iter("context"):
        name = context.findtext("name")
        for message in context.iter("message"):
            key = (name, text(message.find("source")), text(message.find("comment")))
            if key not in seen:
                seen.append(key)
            if finished(message.find("translation")):
                done.add(key)

missing = [key for key in seen if key not in done]
for name, source, comment in missing:
    print(f"translations: no {language} translation: {name}: {source!r}" +
          (f" ({comment})" if comment else ""))
print(f"translations: {len(seen) - len(missing)} of {len(seen)} texts translated into {language}")
sys.exit(1 if missing else 0)
PY
