#!/bin/bash
# Runs one test program on a private Xvfb screen of 256 colours (8 bits per
# pixel), so that the toolkit's palette path runs.  The program gets a copy of
# the session's Wine prefix and a wineserver of its own: Wine keeps one
# display per wineserver.
# Usage: run-on-8bit-screen.sh program.exe [arguments...]
set -uo pipefail
here=$(cd "$(dirname "$0")" && pwd)
base_prefix=${WINEPREFIX:?the Wine session is not started}

display=
for n in $(seq 141 190); do
  [[ -e /tmp/.X$n-lock || -e /tmp/.X11-unix/X$n ]] && continue
  Xvfb ":$n" -screen 0 1024x768x8 -nolisten tcp >/dev/null 2>&1 &
  xvfb_pid=$!
  display=":$n"
  break
done
[[ -n "$display" ]] || { echo "no free display for the 8-bit screen"; exit 1; }
for i in $(seq 1 50); do
  [[ -e /tmp/.X11-unix/X${display#:} ]] && break
  sleep 0.1
done

prefix=$(mktemp -d)
cleanup() {
  WINEPREFIX="$prefix/wine" wineserver -k 2>/dev/null || true
  kill "$xvfb_pid" 2>/dev/null || true
  wait "$xvfb_pid" 2>/dev/null || true
  rm -rf "$prefix"
}
trap cleanup EXIT
cp -a "$base_prefix" "$prefix/wine"
export WINEPREFIX="$prefix/wine"
export DISPLAY="$display"
export CARROW_EXPECT_8BIT=1
# As in the session: no window manager, so windows are unmanaged.
wine reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f >/dev/null 2>&1 || true
"$here/wine-exec.sh" "$@"
