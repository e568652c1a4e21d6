#!/bin/bash
# The captures and palette PNGs that the test program wrote, read by programs
# of their own: pngcheck accepts every PNG, ImageMagick and Pillow read the
# drawn colours.  A missing checker fails the test.
# Usage: check_captures.sh WORK
set -e
for tool in pngcheck identify; do
  command -v "$tool" >/dev/null || { echo "$tool is not installed"; exit 1; }
done
exec /usr/bin/python3 "$(dirname "$0")/check_captures.py" "$1"
