#!/usr/bin/env bash
# Installs the Debian packages Mebrox needs to build, test and run, and only those missing.
# With --fuzz, also the compiler the fuzz targets need (clang with its libFuzzer runtime).
set -euo pipefail

packages=(
  build-essential cmake ninja-build ccache pkg-config
  qt6-base-dev qt6-tools-dev libqt6opengl6-dev libgl-dev
  libsdl2-dev libsndfile1-dev zlib1g-dev
  libgtest-dev libgmock-dev libbenchmark-dev
  fonts-liberation2 fonts-dejavu-core
  qt6-qpa-plugins xvfb xauth xdotool x11-apps
  libgraphviz-dev
  dpkg-dev lintian desktop-file-utils appstream shared-mime-info libglib2.0-bin
  librsvg2-bin groff-base python3
  chromium chromium-driver python3-selenium
)
[ "${1:-}" = "--fuzz" ] && packages+=(clang libclang-rt-dev)

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0

echo "Installing: ${missing[*]}"
sudo_cmd=()
[ "$(id -u)" -ne 0 ] && sudo_cmd=(sudo)
export DEBIAN_FRONTEND=noninteractive
"${sudo_cmd[@]}" apt-get update -qq
"${sudo_cmd[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}"
