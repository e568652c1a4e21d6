#!/bin/bash
# LibreOffice and Python's csv module read the grid's comma-separated file with
# the cells the grid holds; xmllint reads its HTML page.
# Usage: check_export.sh BRIDGE WORK WINE_EXEC
# A checker that is not installed fails the test.
for tool in soffice xmllint /usr/bin/python3; do
  command -v "$tool" >/dev/null || { echo "FAIL: $tool is not installed"; exit 1; }
done
exec /usr/bin/python3 "$(dirname "$0")/check_export.py" "$@"
