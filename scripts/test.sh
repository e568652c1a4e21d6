#!/bin/bash
# Builds everything and runs the whole test suite under Wine and Xvfb.
# Installs what is missing first, so it works on a fresh Debian machine.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build_dir=${BUILD_DIR:-$root/build}

"$root/scripts/setup.sh" test
source "$root/scripts/target-arch.sh"
cmake -S "$root" -B "$build_dir" -DCMAKE_TOOLCHAIN_FILE="$toolchain_file" \
      -DCMAKE_BUILD_TYPE=Release -DCARROW_TESTS=ON >/dev/null
cmake --build "$build_dir" -j"$(nproc)"

# A PDF printer for the printing and page set-up tests, before the Wine prefix
# is made (a prefix made earlier still sees CUPS printers when it runs).
"$root/scripts/pdf-printer.sh"

source "$root/scripts/wine-session.sh"
# Tests always get their own screen, never the user's display.
WINE_SESSION_XVFB=1 wine_session_start
trap wine_session_stop EXIT
# Dates written by the converter are local time: keep them stable.
export TZ=UTC
cd "$build_dir"
# Tests that answer message boxes from another thread or process depend on
# Wine's timing under load; a test program that fails is run again, up to three
# times, and a real fault still fails every time.
ctest --output-on-failure --repeat until-pass:3 -j"${CTEST_JOBS:-2}" "$@"
