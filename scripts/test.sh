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
cmake --build "$build_dir" -j"${CMAKE_BUILD_PARALLEL_LEVEL:-$(nproc)}"

# A PDF printer for the printing and page set-up tests, before the Wine prefix
# is made (a prefix made earlier still sees CUPS printers when it runs).
"$root/scripts/pdf-printer.sh"

# A small disk of its own (a tmpfs of 1 MB, reached through Wine's drive Z:) for
# the tests that save onto a full disk; where no file system can be mounted,
# those tests are skipped and say so.
small_disk=$build_dir/small-disk
mkdir -p "$small_disk"
if mountpoint -q "$small_disk" || mount -t tmpfs -o size=1m carrow-small-disk "$small_disk" 2>/dev/null; then
  export CARROW_SMALL_DISK="Z:${small_disk//\//\\}"
fi
stop_session() {
  wine_session_stop
  if mountpoint -q "$small_disk"; then umount "$small_disk" 2>/dev/null || true; fi
}

source "$root/scripts/wine-session.sh"
# Tests always get their own screen, never the user's display.
WINE_SESSION_XVFB=1 wine_session_start
trap stop_session EXIT
# Dates written by the converter are local time: keep them stable.
export TZ=UTC
cd "$build_dir"
# Tests that answer message boxes from another thread or process depend on
# Wine's timing under load; a test program that fails is run again, up to three
# times, and a real fault still fails every time.
ctest --output-on-failure --repeat until-pass:3 -j"${CTEST_JOBS:-2}" "$@"
