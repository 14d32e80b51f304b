#!/usr/bin/env bash
# Installs the Debian packages Vorel builds and tests with. Packages already
# present are skipped, so a second run costs only a dpkg query.
set -euo pipefail

packages=(
  cmake g++ make ninja-build pkg-config
  libeigen3-dev libgtest-dev libgmock-dev libbenchmark-dev
  liblapacke-dev libopenblas-dev
  nlohmann-json3-dev libcli11-dev
  qt6-base-dev fonts-liberation xvfb
  # the desktop program on a real X server (xcb platform) and its check under xvfb-run
  xauth libxcb-cursor0 libxkbcommon-x11-0 xdotool x11-utils
  # the fuzz targets (clang with libFuzzer)
  clang libclang-rt-dev libomp-dev ccache
  # the Debian package and its checks (man renders the manual page; util-linux's
  # setpriv runs the installed programs as another user)
  dpkg-dev help2man desktop-file-utils appstream man-db util-linux
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

sudo_cmd=()
if [ "$(id -u)" -ne 0 ]; then
  sudo_cmd=(sudo)
fi
echo "Installing: ${missing[*]}"
"${sudo_cmd[@]}" apt-get update
DEBIAN_FRONTEND=noninteractive "${sudo_cmd[@]}" apt-get install -y --no-install-recommends "${missing[@]}"
