#!/usr/bin/env bash
# Installs every Debian package Tivora needs to build, run and test.
# Idempotent: packages already present are left alone. Needs root (or sudo).
set -euo pipefail

packages=(
  build-essential cmake ninja-build pkg-config
  qt6-base-dev qt6-base-dev-tools libqt6opengl6-dev libgl-dev
  qt6-webengine-dev qt6-webengine-dev-tools qt6-webchannel-dev
  libmpv-dev
  libcurl4-openssl-dev
  libcpp-httplib-dev libssl-dev libbrotli-dev zlib1g-dev
  libsqlite3-dev libboost-dev
  fonts-arphic-uming fontconfig
  qt6-translations-l10n
  xvfb xauth x11-utils imagemagick dbus-daemon
  ffmpeg
  appstream desktop-file-utils
  clang-tidy
  clang libclang-rt-14-dev
)

missing=()
for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed'; then
    missing+=("$p")
  fi
done

if [ ${#missing[@]} -eq 0 ]; then
  echo "bootstrap: all packages present"
  exit 0
fi

sudo_cmd=()
if [ "$(id -u)" -ne 0 ]; then
  sudo_cmd=(sudo)
fi

echo "bootstrap: installing ${missing[*]}"
export DEBIAN_FRONTEND=noninteractive
"${sudo_cmd[@]}" apt-get update -qq
"${sudo_cmd[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}"
