#!/bin/bash
# Installs what building, running and testing need on a fresh Debian machine.
# Quick when everything is already there: only missing packages are fetched.
# Usage: scripts/setup.sh [build|test|bench]
set -euo pipefail

# Everything the program needs to build and to run under Wine.
build_packages=(
  cmake make
  g++-mingw-w64-i686-posix gcc-mingw-w64-i686-posix binutils-mingw-w64-i686
  g++-mingw-w64-x86-64-posix gcc-mingw-w64-x86-64-posix binutils-mingw-w64-x86-64
  libz-mingw-w64-dev
  wine wine32:i386 wine64
  xvfb xauth x11-utils
)
# Independent programs the tests use to check what we read and write.
test_packages=(
  googletest fonts-liberation
  gpsbabel gdal-bin libxml2-utils python3
  python3-xlrd libreoffice-calc-nogui
  cups printer-driver-cups-pdf libcups2:i386
  ghostscript libwmf-bin emf2svg
  pngcheck imagemagick python3-pil
  librsvg2-bin python3-ezdxf hp2xx libreoffice-draw-nogui
  # LibreOffice reads CGM files into a presentation: the import needs Impress.
  libreoffice-impress-nogui
)

# The program the benchmark compares our readers and writers with.
bench_packages=(gpsbabel)

want=("${build_packages[@]}")
case "${1:-test}" in
  test) want+=("${test_packages[@]}") ;;
  bench) want+=("${bench_packages[@]}") ;;
esac

missing=()
for pkg in "${want[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$pkg" 2>/dev/null | grep -q 'install ok installed'; then
    missing+=("$pkg")
  fi
done
[[ ${#missing[@]} -eq 0 ]] && exit 0

echo "Installing: ${missing[*]}"
sudo_cmd=()
[[ $(id -u) -ne 0 ]] && sudo_cmd=(sudo)
if ! dpkg --print-foreign-architectures | grep -qx i386; then
  "${sudo_cmd[@]}" dpkg --add-architecture i386
fi
"${sudo_cmd[@]}" apt-get update -qq
DEBIAN_FRONTEND=noninteractive "${sudo_cmd[@]}" apt-get install -y -qq "${missing[@]}" >/dev/null
