#!/usr/bin/env bash
# Installs what the builds and tests need on a Debian 12 machine, only when missing.
set -eu
packages=(
  cmake make g++ python3 libgtest-dev googletest
  g++-mingw-w64-i686-win32 binutils-mingw-w64-i686
  g++-mingw-w64-x86-64-posix binutils-mingw-w64-x86-64
  clang libclang-rt-14-dev clang-format
  debootstrap x11-utils imagemagick
  python3-markdown
)
# Wine, its virtual display, fonts and locales live in a Debian 13 root under build/
# (scripts/wine-root.sh), made by the first run that needs it.
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
