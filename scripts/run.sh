#!/bin/bash
# Builds the program and starts it under Wine: on the user's display, or under
# a private Xvfb where there is none. Installs what is missing first.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build_dir=${BUILD_DIR:-$root/build}

"$root/scripts/setup.sh" build
source "$root/scripts/target-arch.sh"
# The program needs no test framework; where there is none, the tests are left out.
test_option=()
[[ -d /usr/src/googletest ]] || test_option=(-DCARROW_TESTS=OFF)
cmake -S "$root" -B "$build_dir" -DCMAKE_TOOLCHAIN_FILE="$toolchain_file" \
      -DCMAKE_BUILD_TYPE=Release "${test_option[@]}" >/dev/null
# Only the program folder: the program, its library, MakeOV2 and the companion files.
cmake --build "$build_dir" --target Carrowmapper -j"${JOBS:-$(nproc)}"

program="$build_dir/program/Carrowmapper.exe"
if [[ ! -f "$program" ]]; then
  echo "The build did not make $program." >&2
  exit 1
fi
source "$root/scripts/wine-session.sh"
wine_session_start
trap wine_session_stop EXIT
if [[ -n "${xvfb_pid:-}" ]]; then
  echo "No display: the program runs on the private screen $DISPLAY."
fi
# The program finds its companion files and MakeOV2 beside itself.
cd "$(dirname "$program")"
wine "$program"
