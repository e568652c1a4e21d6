#!/bin/bash
# Reads the grid that test_grid_editor printed on the CUPS PDF queue: the
# queue names its file after the document title (blanks become underscores)
# in the PDF folder of the user who printed.  Ghostscript must find the
# column titles and the cell texts, in their rows.
set -euo pipefail
source "$(dirname "$0")/../support/printed_pdf.sh"
dir=$1
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
fail() { echo "FAIL: $*"; exit 1; }
command -v gs >/dev/null || fail "Ghostscript (gs) is not installed"

[[ -s $dir/printed_grid_title.txt ]] || fail "the grid was not printed"
printed_pdf "$dir/printed_grid_title.txt" || fail "no PDF of \"$title\" appeared"
gs -q -dNOPAUSE -dBATCH -sDEVICE=txtwrite -o "$work/page.txt" "$pdf" || fail "Ghostscript cannot read $pdf"
text=$(tr -d '\0' < "$work/page.txt")
for word in Place Count Kilkenny Wexford 12.75 Donegal; do
  grep -aq "$word" "$work/page.txt" || fail "Ghostscript finds no \"$word\" in $pdf: $text"
done
# One table: the titles above the rows, the rows in their order.
line_of() { grep -an "$1" "$work/page.txt" | head -n1 | cut -d: -f1; }
[[ $(line_of Place) -lt $(line_of Kilkenny) ]] || fail "the titles are not above the rows: $text"
[[ $(line_of Kilkenny) -lt $(line_of Wexford) ]] || fail "the rows are out of order: $text"
grep -aq "Kilkenny *12 .*2.5" "$work/page.txt" || fail "a row's cells are not on one line: $text"
echo "PDF $pdf: titles and cells found in their rows"
