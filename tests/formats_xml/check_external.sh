#!/bin/bash
# xmllint, GPSBabel and GDAL's ogrinfo check what our GPX and KML writers write,
# and GPSBabel writes files for our readers (see check_external.py).
# Usage: check_external.sh BRIDGE FIXTURES SCHEMAS WORK WINE_EXEC
# Exits 77 (skipped) when a checker or the GPX schema is not there.
for tool in xmllint gpsbabel ogrinfo python3; do
  command -v "$tool" >/dev/null || { echo "$tool is not installed"; exit 77; }
done
[[ -f "$3/gpx11.xsd" ]] || { echo "no GPX 1.1 schema in $3"; exit 77; }
exec python3 "$(dirname "$0")/check_external.py" "$@"
