#!/usr/bin/env bash
# Shared by ./play and ./test: installs what the build needs, then builds.
# Usage: tools/setup.sh BUILD_DIR [extra cmake arguments...]
set -euo pipefail

PACKAGES=(cmake g++ make pkg-config qt6-base-dev qt6-svg-dev qcoro-qt6-dev libsdl2-mixer-dev
          libfluidsynth3 timgm6mb-soundfont fonts-dejavu-core fonts-liberation2 libgl-dev libx11-dev
          xvfb dbus-daemon dbus-bin at-spi2-core python3-pyatspi openbox xdotool x11-utils
          desktop-file-utils appstream groff-base dpkg-dev file
          qt6-tools-dev qt6-l10n-tools qt6-translations-l10n)

missing=()
for p in "${PACKAGES[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
    missing+=("$p")
  fi
done

if ((${#missing[@]})); then
  if [[ $(id -u) -eq 0 ]]; then
    echo "Installing: ${missing[*]}"
    export DEBIAN_FRONTEND=noninteractive
    apt-get update -qq
    apt-get install -y -qq --no-install-recommends "${missing[@]}"
  else
    echo "These packages are missing. Install them with:"
    echo "  sudo apt-get install -y ${missing[*]}"
    exit 1
  fi
fi

root=$(cd "$(dirname "$0")/.." && pwd)
build=$1
shift
cmake -S "$root" -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo "$@" >/dev/null
cmake --build "$build" -j"$(nproc)"
