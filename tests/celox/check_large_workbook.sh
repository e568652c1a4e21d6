#!/bin/bash
# Opens the large workbook that test_celox wrote with two programs of its own:
# LibreOffice (headless, converted to CSV) and python3-xlrd, and checks every
# value against the reproducible points (check_large_workbook.py).
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
source "$here/../support/checkers.sh"
workbook=$1
[[ -f "$workbook" ]] || { echo "no workbook $workbook"; exit 1; }
checker_work_dir
# Every sheet as comma-separated UTF-8 text in double quotes.
to_csv() {
  libreoffice --convert-to 'csv:Text - txt - csv (StarCalc):44,34,76,1,,0,false,true,false,false,false,-1' \
    --outdir "$work" "$1"
}

/usr/bin/python3 "$here/check_large_workbook.py" xlrd "$workbook"
empty="$(dirname "$workbook")/empty_workbook.xls"
/usr/bin/python3 "$here/check_large_workbook.py" empty "$empty"
cp "$empty" "$work/empty.xls"
to_csv "$work/empty.xls"
for sheet in Tabelle1 Tabelle2 Tabelle3; do
  [[ -f "$work/empty-$sheet.csv" ]] || { echo "LibreOffice did not read the empty workbook's $sheet"; exit 1; }
done
echo "LibreOffice: the empty workbook has its three worksheets"

cp "$workbook" "$work/large.xls"
to_csv "$work/large.xls"
csv="$work/large-Points.csv"
[[ -f "$csv" ]] || { echo "LibreOffice wrote no CSV of the Points sheet"; ls "$work"; exit 1; }
/usr/bin/python3 "$here/check_large_workbook.py" csv "$csv"
