#!/usr/bin/env bash
# Shared by ./play and ./test: installs what is missing, then builds.
# Usage: tools/setup.sh game|all BUILD_DIR [extra cmake arguments...]
#   game: what building and running the game need, and only the game
#   all:  the tests' and tools' packages too, and everything built
set -euo pipefail

# Building and running the game; qt6-wayland lets it run natively on Wayland.
GAME_PACKAGES=(cmake g++ make pkg-config qt6-base-dev qt6-svg-dev qcoro-qt6-dev libsdl2-mixer-dev
               libfluidsynth3 timgm6mb-soundfont fonts-dejavu-core fonts-liberation2 libgl-dev libx11-dev
               qt6-wayland qt6-tools-dev qt6-l10n-tools qt6-translations-l10n)
# The desktop, accessibility, screen reader, Wayland, sound server and packaging
# checks of the suite, and clang's libFuzzer for the fuzz targets .ci/run builds.
TEST_PACKAGES=(xvfb dbus-daemon dbus-bin at-spi2-core python3-pyatspi openbox xdotool x11-utils weston
               x11-apps desktop-file-utils appstream appstream-compose appstream-util groff-base dpkg-dev file reuse
               orca speech-dispatcher speech-dispatcher-espeak-ng espeak-ng
               pipewire pipewire-pulse wireplumber pulseaudio-utils
               clang-14 libclang-rt-14-dev)

mode=$1
build=$2
shift 2
case $mode in
  game) packages=("${GAME_PACKAGES[@]}") ;;
  all) packages=("${GAME_PACKAGES[@]}" "${TEST_PACKAGES[@]}") ;;
  *) echo "usage: $0 game|all BUILD_DIR [cmake arguments...]" >&2; exit 2 ;;
esac

missing=()
for p in "${packages[@]}"; do
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
    echo "  sudo apt-get install -y --no-install-recommends ${missing[*]}"
    exit 1
  fi
fi

root=$(cd "$(dirname "$0")/.." && pwd)
if [[ $mode == game ]]; then
  # One compiler run for several sources reads Qt's headers less often: the
  # game builds in well under half the time.
  cmake -S "$root" -B "$build" -DCMAKE_BUILD_TYPE=Release -DBUILD_TESTING=OFF -DCMAKE_UNITY_BUILD=ON "$@" >/dev/null
  cmake --build "$build" -j"$(nproc)" --target zentolletto
else
  cmake -S "$root" -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo "$@" >/dev/null
  cmake --build "$build" -j"$(nproc)"
fi
