#!/bin/bash
# ImageMagick reads every image the writers make with the page's colours, and
# pngcheck accepts every PNG.
# Usage: check_images.sh BRIDGE WORK WINE_EXEC
# Exits 77 (skipped) when a checker is not installed.
for tool in convert pngcheck python3; do
  command -v "$tool" >/dev/null || { echo "$tool is not installed"; exit 77; }
done
exec python3 "$(dirname "$0")/check_images.py" "$@"
