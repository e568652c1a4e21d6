#!/bin/bash
# The workbook that the converter's Excel writer makes, opened by LibreOffice
# (headless, its Routes sheet saved as CSV) and by python3-xlrd: the twelve
# headings and every value must be there.
set -euo pipefail
root=$1
tool=$2
checks=$3
here=$(cd "$(dirname "$0")" && pwd)
source "$here/../support/checkers.sh"
rm -rf "$checks"
mkdir -p "$checks"
workbook="$checks/routes.xls"
bash "$root/scripts/wine-exec.sh" "$tool" write-xls "$(winepath -w "$workbook" 2>/dev/null)"
[[ -f "$workbook" ]] || { echo "the converter wrote no workbook"; exit 1; }

/usr/bin/python3 "$here/check_workbook.py" xlrd "$workbook"
checker_work_dir
cp "$workbook" "$work/routes.xls"
libreoffice --convert-to 'csv:Text - txt - csv (StarCalc):44,34,76,1,,0,false,true,false,false,false,-1' \
  --outdir "$work" "$work/routes.xls"
csv="$work/routes-Routes.csv"
[[ -f "$csv" ]] || { echo "LibreOffice wrote no CSV of the Routes sheet"; ls "$work"; exit 1; }
/usr/bin/python3 "$here/check_workbook.py" csv "$csv"
