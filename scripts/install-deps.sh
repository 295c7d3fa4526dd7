#!/usr/bin/env bash
# Installs what the builds and tests need on a Debian 12 machine, only when missing.
set -eu
packages=(
  cmake make g++ python3 libgtest-dev googletest
  g++-mingw-w64-i686-win32 binutils-mingw-w64-i686
  g++-mingw-w64-x86-64-posix binutils-mingw-w64-x86-64
  clang libclang-rt-14-dev
  wine64 xvfb xdotool x11-utils imagemagick
  locales fonts-ipafont-gothic python3-xlib
)
# The Japanese tests run with LANG=ja_JP.UTF-8, which needs that locale generated.
need_locale() { ! locale -a 2>/dev/null | grep -qi '^ja_JP\.utf-\?8$'; }
missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
SUDO=
[ "$(id -u)" -eq 0 ] || SUDO=sudo
if [ ${#missing[@]} -gt 0 ]; then
  echo "Installing: ${missing[*]}"
  $SUDO apt-get update -q
  DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -q --no-install-recommends "${missing[@]}"
fi
if need_locale; then
  $SUDO sed -i 's/^# *ja_JP.UTF-8 UTF-8/ja_JP.UTF-8 UTF-8/' /etc/locale.gen
  grep -q '^ja_JP.UTF-8 UTF-8' /etc/locale.gen || echo 'ja_JP.UTF-8 UTF-8' | $SUDO tee -a /etc/locale.gen >/dev/null
  $SUDO locale-gen >/dev/null
fi
