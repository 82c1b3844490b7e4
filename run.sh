#!/usr/bin/env bash
# Sets up what is missing, builds, and starts Fotavel.
set -euo pipefail
cd "$(dirname "$0")"

./scripts/install-deps.sh

build=${FOTAVEL_BUILD_DIR:-build}
cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build "$build" --parallel "$(nproc)" --target fotavel fotavel-batch

if [ -n "${DISPLAY:-}" ] || [ -n "${WAYLAND_DISPLAY:-}" ]; then
  exec "$build/src/fotavel" "$@"
fi

batch="$build/src/fotavel-batch"
out="$build/demonstration"
echo "Pas d'écran graphique (ni X11 ni Wayland) : la fenêtre de Fotavel ne peut pas s'ouvrir ; voici fotavel-batch, les mêmes effets sans fenêtre."
mkdir -p "$out"
"$batch" --temps -e ciel -e colorer -e nette samples/paysage.jpg -o "$out/paysage-ciel-bleu.jpg"
"$batch" --temps -e gris -e gauche samples/paysage.jpg -o "$out/paysage-gris-tourne.jpg"
"$batch" --temps -e web samples/paysage.jpg -o "$out/paysage-web.jpg"
echo "Résultats de la démonstration dans $out (photo d'exemple : samples/paysage.jpg)."
echo "Pour vos photos : $batch -e clair -e colorer PHOTO.jpg -o RESULTAT.jpg"
echo "La liste des effets : $batch --help"
