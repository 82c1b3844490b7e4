#!/usr/bin/env bash
# Installs the Debian/Ubuntu packages the build needs, only those that are missing.
# Uses sudo when not run as root.
set -euo pipefail

packages=(
  g++ cmake ninja-build pkg-config clang-format
  clang libclang-rt-14-dev qemu-user
  libgtest-dev libbenchmark-dev
  qt6-base-dev qt6-translations-l10n qt6-image-formats-plugins libturbojpeg0-dev libwmf-dev
  qt6-l10n-tools
  libexiv2-dev libheif-dev
  xvfb xauth x11-apps xclip file desktop-file-utils
  cups printer-driver-cups-pdf poppler-utils
)

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0

echo "Installation des paquets manquants : ${missing[*]}"
sudo=""
if [ "$(id -u)" -ne 0 ]; then
  command -v sudo >/dev/null || { echo "Il faut être root ou avoir sudo pour installer : ${missing[*]}" >&2; exit 1; }
  sudo="sudo"
fi
$sudo apt-get update -qq
DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
