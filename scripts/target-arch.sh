#!/bin/bash
# Sourced by test.sh and run.sh after setup.sh: chooses what the build makes.
# The program is a 32-bit Windows program, built with the i686 toolchain and run
# in a 32-bit Wine prefix.  Some Linux kernels run no 32-bit programs at all
# (their 32-bit emulation is switched off), and Wine's 32-bit half cannot start
# there; on such a machine the same sources are built for 64-bit Windows and run
# in a 64-bit prefix, so that the program and its tests still run.
# Sets toolchain_file and WINEARCH, and empties a build folder that was
# configured for the other toolchain.

if /lib/ld-linux.so.2 --help >/dev/null 2>&1; then
  toolchain_file="$root/cmake/mingw-i686.cmake"
  export WINEARCH=win32
else
  toolchain_file="$root/cmake/mingw-x86_64.cmake"
  export WINEARCH=win64
  export PATH="$root/scripts/wine64:$PATH"
  echo "This kernel runs no 32-bit programs: building for 64-bit Windows."
fi

# (Compared as text: the clone's path may hold characters that a pattern would
# take for its own.)
if [[ -f "$build_dir/CMakeCache.txt" ]] &&
   [[ $(sed -n 's/^CMAKE_TOOLCHAIN_FILE:[A-Z]*=//p' "$build_dir/CMakeCache.txt") != "$toolchain_file" ]]; then
  echo "The build folder $build_dir was made for the other toolchain: starting it afresh."
  rm -rf "$build_dir"
fi
