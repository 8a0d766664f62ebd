#!/usr/bin/env bash
# Installs every Debian package Kestrel needs to build, run and test.
# Idempotent: when all packages are present it only asks dpkg and returns.
set -euo pipefail

packages=(
  build-essential cmake ninja-build pkg-config git
  clang lld libclang-rt-14-dev
  libgtest-dev libgmock-dev libbenchmark-dev
  libsqlite3-dev sqlite3 libhidapi-dev libhidapi-hidraw0 zlib1g-dev
  libcurl4-openssl-dev libudev-dev libpulse-dev pulseaudio
  libx11-dev libxext-dev libxi-dev libxtst-dev libxrandr-dev libxfixes-dev
  libxcursor-dev libxrender-dev
  libcairo2-dev libpango1.0-dev libpng-dev libgif-dev libfontconfig-dev
  fonts-open-sans fonts-noto-cjk
  libpugixml-dev
  xvfb xcompmgr xdotool xclip x11-utils imagemagick
  python3 openssl zip unzip xdg-utils
  nlohmann-json3-dev
)

missing=()
for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed'; then
    missing+=("$p")
  fi
done

if [ ${#missing[@]} -eq 0 ]; then
  exit 0
fi

echo "Installing missing packages: ${missing[*]}"
sudo_cmd=()
if [ "$(id -u)" -ne 0 ]; then sudo_cmd=(sudo); fi
export DEBIAN_FRONTEND=noninteractive
"${sudo_cmd[@]}" apt-get update -qq
"${sudo_cmd[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
