#!/usr/bin/env bash
# Installs every Debian package Quillex needs to build, run and test (only those still missing).
set -euo pipefail

packages=(
  build-essential cmake pkg-config
  qt6-base-dev qt6-base-dev-tools qt6-webengine-dev qt6-translations-l10n qt6-image-formats-plugins libqt6svg6
  libjpeg-dev libpng-dev zlib1g-dev libgl-dev
  adwaita-icon-theme fonts-dejavu-core
  poppler-utils
  cups printer-driver-cups-pdf
)

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0

as_root=()
[ "$(id -u)" -eq 0 ] || as_root=(sudo)
echo "Installing: ${missing[*]}"
"${as_root[@]}" apt-get update -qq
DEBIAN_FRONTEND=noninteractive "${as_root[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}"
