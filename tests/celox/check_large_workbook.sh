#!/bin/bash
# Opens the large workbook that test_celox wrote with two programs of its own:
# LibreOffice (headless, converted to CSV) and python3-xlrd, and checks every
# value against the reproducible points (check_large_workbook.py).
set -euo pipefail
workbook=$1
here=$(cd "$(dirname "$0")" && pwd)
[[ -f "$workbook" ]] || { echo "no workbook $workbook"; exit 1; }
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

/usr/bin/python3 "$here/check_large_workbook.py" xlrd "$workbook"
empty="$(dirname "$workbook")/empty_workbook.xls"
/usr/bin/python3 "$here/check_large_workbook.py" empty "$empty"
cp "$empty" "$work/empty.xls"
timeout 300 soffice "-env:UserInstallation=file://$work/profile" --headless \
  --convert-to 'csv:Text - txt - csv (StarCalc):44,34,76,1,,0,false,true,false,false,false,-1' \
  --outdir "$work" "$work/empty.xls" >/dev/null 2>&1
for sheet in Tabelle1 Tabelle2 Tabelle3; do
  [[ -f "$work/empty-$sheet.csv" ]] || { echo "LibreOffice did not read the empty workbook's $sheet"; exit 1; }
done
echo "LibreOffice: the empty workbook has its three worksheets"

# Comma-separated, double quotes, UTF-8, the Points sheet.
cp "$workbook" "$work/large.xls"
timeout 300 soffice "-env:UserInstallation=file://$work/profile" --headless \
  --convert-to 'csv:Text - txt - csv (StarCalc):44,34,76,1,,0,false,true,false,false,false,-1' \
  --outdir "$work" "$work/large.xls" >/dev/null 2>&1
csv="$work/large-Points.csv"
[[ -f "$csv" ]] || { echo "LibreOffice wrote no CSV of the Points sheet"; ls "$work"; exit 1; }
/usr/bin/python3 "$here/check_large_workbook.py" csv "$csv"
