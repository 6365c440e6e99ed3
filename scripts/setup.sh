#!/usr/bin/env bash
# Installs what building, playing and testing the game need on Debian (run as root, or with sudo
# available).
set -euo pipefail
packages=(
  build-essential cmake pkg-config clang-format
  libsdl2-dev libfluidsynth-dev fluid-soundfont-gm zlib1g-dev
  libgtest-dev libbenchmark-dev
  xvfb xdotool x11-utils
  x11-apps imagemagick python3
  desktop-file-utils appstream dpkg-dev
  # fuzzing the file readers: clang with libFuzzer and the sanitizers' runtime
  clang libclang-rt-14-dev
)
missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
  sudo=""
  [ "$(id -u)" -eq 0 ] || sudo="sudo"
  export DEBIAN_FRONTEND=noninteractive
  $sudo apt-get update -qq
  $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi
