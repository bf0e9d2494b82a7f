#!/usr/bin/env bash
# Installs whatever Debian packages are missing, then configures and builds.
#   scripts/setup.sh [--tests] [--desktops]
#     --tests     also installs what the test suites need
#     --desktops  also the window managers and the Wayland compositor of scripts/desktops.sh
# Environment: BUILD_DIR (default build), CMAKE_ARGS (extra configure arguments).
set -euo pipefail
cd "$(dirname "$0")/.."

packages=(cmake ninja-build g++ pkg-config qt6-base-dev qt6-base-private-dev libsdl2-dev libx11-dev fonts-liberation2
          qt6-tools-dev qt6-l10n-tools qt6-translations-l10n
          googletest libgtest-dev libbenchmark-dev)
tests=0
desktops=0
for a in "$@"; do
  case "$a" in
    --tests) tests=1 ;;
    --desktops) desktops=1 ;;
    *) echo "setup.sh: unknown option $a" >&2; exit 2 ;;
  esac
done
if ((desktops)); then
  packages+=(kwin-x11 kwin-style-breeze mutter xfwm4 fluxbox icewm i3-wm dbus weston qt6-wayland)
fi
if ((tests)); then
  packages+=(xvfb xauth xdotool x11-apps x11-utils openbox pulseaudio pulseaudio-utils sox
             pipewire pipewire-pulse wireplumber dbus-daemon dbus-bin at-spi2-core python3-pyatspi
             clang-14 libclang-rt-14-dev desktop-file-utils appstream dpkg-dev libxtst-dev libxrandr-dev lintian
             clang-format clang-tidy)
fi

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if ((${#missing[@]})); then
  echo "Installing: ${missing[*]}"
  sudo=""
  [[ $(id -u) -ne 0 ]] && sudo="sudo"
  $sudo apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi

build="${BUILD_DIR:-build}"
# shellcheck disable=SC2086
cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DQUIBBIX_WERROR=ON ${CMAKE_ARGS:-} >/dev/null
cmake --build "$build"
