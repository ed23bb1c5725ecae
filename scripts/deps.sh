#!/usr/bin/env bash
# Installs the Debian 12 packages that building, running and testing Quorvane
# need, when any is missing. Needs root (or sudo).
set -euo pipefail

# The spelling tests switch between American English, German and French, so
# all three dictionaries are here; xdg-utils opens the browser and the mail
# client; cpack needs file to find the binaries whose libraries it depends on.
packages=(
  build-essential cmake ninja-build pkg-config clang-format git file
  qt6-base-dev qt6-base-dev-tools qt6-svg-dev libqt6svg6 libgl-dev
  libgtest-dev libgmock-dev libbenchmark-dev libgumbo-dev libxcb1-dev libfontconfig-dev
  libenchant-2-dev enchant-2 hunspell-en-us hunspell-de-de hunspell-fr
  xvfb xauth xdotool openbox wmctrl xclip x11-utils python3 groff-base
  fonts-dejavu-core desktop-file-utils appstream dpkg-dev xdg-utils
  at-spi2-core python3-pyatspi dbus-daemon dbus-bin
  libxdamage-dev valgrind
)

missing=()
for package in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "install ok installed"; then
    missing+=("$package")
  fi
done

if [ ${#missing[@]} -gt 0 ]; then
  echo "Installing: ${missing[*]}"
  sudo_cmd=()
  if [ "$(id -u)" -ne 0 ]; then
    sudo_cmd=(sudo)
  fi
  "${sudo_cmd[@]}" apt-get update -qq
  "${sudo_cmd[@]}" env DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi
