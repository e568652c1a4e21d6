#!/bin/bash
# LibreOffice and Python's csv module read the grid's comma-separated file with
# the cells the grid holds; xmllint reads its HTML page.
# Usage: check_export.sh BRIDGE WORK WINE_EXEC
# Exits 77 (skipped) when a checker is not installed.
for tool in soffice xmllint python3; do
  command -v "$tool" >/dev/null || { echo "$tool is not installed"; exit 77; }
done
exec python3 "$(dirname "$0")/check_export.py" "$@"
