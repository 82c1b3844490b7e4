#!/usr/bin/env bash
# Fails, naming them, when C++ files of the tree stray from the committed .clang-format.
# Tables laid out by hand are fenced with "// clang-format off" / "// clang-format on".
set -euo pipefail
cd "$(dirname "$0")/.."

stray=()
while IFS= read -r -d '' file; do
  clang-format --dry-run -Werror "$file" >/dev/null 2>&1 || stray+=("$file")
done < <(find src tests bench fuzz samples \( -name '*.cpp' -o -name '*.h' \) -print0 | sort -z)

if [ ${#stray[@]} -gt 0 ]; then
  echo "check-format: FAILED: not formatted (clang-format -i them): ${stray[*]}" >&2
  exit 1
fi
echo "check-format: every C++ file follows .clang-format"
