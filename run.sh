#!/usr/bin/env bash
# Sets up what is missing, builds, and shows what Fotavel does.
# The window is not built yet: this retouches the sample photo with fotavel-batch.
set -euo pipefail
cd "$(dirname "$0")"

./scripts/install-deps.sh

build=${FOTAVEL_BUILD_DIR:-build}
cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build "$build" --parallel "$(nproc)" --target fotavel-batch

out="$build/demonstration"
mkdir -p "$out"
batch="$build/src/fotavel-batch"
echo
echo "Photo d'exemple : samples/paysage.jpg (ciel blanc)"
"$batch" --temps -e ciel -e colorer -e nette samples/paysage.jpg -o "$out/paysage-ciel-bleu.jpg"
"$batch" --temps -e gris -e gauche samples/paysage.jpg -o "$out/paysage-gris-tourne.jpg"
"$batch" --temps -e web samples/paysage.jpg -o "$out/paysage-web.jpg"
echo
echo "Résultats dans $out :"
ls -1 "$out"
echo
echo "Pour vos photos : $batch -e clair -e colorer PHOTO.jpg -o RESULTAT.jpg"
echo "La liste des effets : $batch --help"
