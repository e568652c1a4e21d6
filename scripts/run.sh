#!/bin/bash
# Builds the program and starts it under Wine: on the user's display, or under
# a private Xvfb where there is none. Installs what is missing first.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build_dir=${BUILD_DIR:-$root/build}

"$root/scripts/setup.sh" build
cmake -S "$root" -B "$build_dir" -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-i686.cmake" \
      -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build "$build_dir" -j"$(nproc)"

program="$build_dir/program/Carrowmapper.exe"
if [[ ! -f "$program" ]]; then
  echo "The converter program is not built yet: only the toolkit and its tests exist so far."
  exit 1
fi
source "$root/scripts/wine-session.sh"
wine_session_start
trap wine_session_stop EXIT
cd "$(dirname "$program")"
wine "$program"
