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
  at-spi2-core python3-pyatspi dbus-daemon
  chromium chromium-driver python3-selenium nodejs
)
[ "${1:-}" = "--fuzz" ] && packages+=(clang libclang-rt-dev)

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done

sudo_cmd=()
[ "$(id -u)" -ne 0 ] && sudo_cmd=(sudo)
if [ ${#missing[@]} -gt 0 ]; then
  echo "Installing: ${missing[*]}"
  export DEBIAN_FRONTEND=noninteractive
  "${sudo_cmd[@]}" apt-get update -qq
  "${sudo_cmd[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi

# axe-core, which the test of the published tour runs in the browser, comes from the npm
# registry. Without it that part of the test is skipped, so a registry out of reach is no
# reason to stop here.
if [ ! -f "$(npm root -g 2>/dev/null)/axe-core/axe.min.js" ]; then
  # Node.js from elsewhere than Debian brings its own npm, which Debian's would conflict with.
  command -v npm >/dev/null ||
    "${sudo_cmd[@]}" apt-get install -y -qq --no-install-recommends npm || true
  echo "Installing: axe-core (npm)"
  "${sudo_cmd[@]}" npm install -g --no-fund --no-audit axe-core@4 ||
    echo "install-deps: axe-core could not be installed; the accessibility check will be skipped" >&2
fi
