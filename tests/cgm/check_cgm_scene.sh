#!/bin/bash
# Opens the scene's CGM file with LibreOffice's own CGM import, converts it to
# PDF, and has Ghostscript read the page: it must hold the scene's texts and
# ink, and its render must agree with the screen's render of the same scene.
#
# LibreOffice 7.4 (Debian 12) needs two things the file leaves to the reader,
# so it reads a copy that says them (reader_copy.py):
#   - with no BACKGROUND COLOUR it paints the page black, hiding the black
#     lines and texts: the copy names a white background;
#   - any text under a CHARACTER ORIENTATION other than upright makes it refuse
#     the whole file ("source file could not be loaded"), even a hand-made
#     file of one text: the copy keeps every orientation upright, at its size.
# The file as written is offered to LibreOffice first, and the outcome shown.
# Usage: check_cgm_scene.sh SCENE.cgm RENDER_FOLDER SCENE_MASK.py
set -euo pipefail
source "$(dirname "$0")/../support/checkers.sh"
cgm=$1
renders=$2
scene_mask=$3
here=$(cd "$(dirname "$0")" && pwd)
fail() { echo "FAIL: $*"; exit 1; }
command -v soffice >/dev/null || fail "soffice (LibreOffice) is not installed"
command -v gs >/dev/null || fail "gs (Ghostscript) is not installed"
[[ -x /usr/bin/python3 ]] || fail "/usr/bin/python3 is missing"
[[ -s "$cgm" ]] || fail "no scene file $cgm"

checker_work_dir
# A home of its own too, so that parallel runs share nothing.
export HOME=$work/home
mkdir -p "$HOME"

to_pdf() {
  libreoffice --convert-to pdf --outdir "$work" "$1" || true
}

cp "$cgm" "$work/as_written.cgm"
to_pdf "$work/as_written.cgm"
if [[ -s "$work/as_written.pdf" ]]; then
  echo "LibreOffice reads the file as written"
else
  echo "LibreOffice refuses the file as written: $(tail -n1 "$work/libreoffice.log")"
fi

/usr/bin/python3 "$here/reader_copy.py" "$cgm" "$work/scene.cgm" || fail "the scene file does not parse"
to_pdf "$work/scene.cgm"
[[ -s "$work/scene.pdf" ]] || fail "LibreOffice made no PDF of the CGM file: $(cat "$work/libreoffice.log")"

gs -q -dNOPAUSE -dBATCH -sDEVICE=txtwrite -o "$work/page.txt" "$work/scene.pdf" || fail "Ghostscript cannot read the PDF"
# Restricted text is spread to its box, letter by letter: compare without blanks.
letters=$(tr -d ' \r\n' <"$work/page.txt")
for word in Scene Up; do
  [[ $letters == *"$word"* ]] || fail "the text \"$word\" is not on the page: $(tr -s ' \n' ' ' <"$work/page.txt")"
done

mkdir -p "$renders"
render=$renders/cgm.png
gs -q -dNOPAUSE -dBATCH -sDEVICE=png16m -r60 -o "$render" "$work/scene.pdf" || fail "Ghostscript cannot render the PDF"
/usr/bin/python3 - "$render" <<'PY'
import sys
from PIL import Image
image = Image.open(sys.argv[1]).convert("RGB")
width, height = image.size
pixels = image.load()
ink = sum(1 for y in range(height) for x in range(width) if min(pixels[x, y]) < 200)
if ink < width * height // 200:
    sys.exit("FAIL: the page has almost no ink: %d of %d pixels" % (ink, width * height))
if ink > width * height // 2:
    sys.exit("FAIL: ink covers most of the page: %d of %d pixels" % (ink, width * height))
print("page %dx%d, %d pixels of ink" % (width, height, ink))
PY
/usr/bin/python3 "$scene_mask" "$renders/screen.ppm" "$render"

# The two-page plot that test_cgm leaves beside the scene: LibreOffice imports
# it (through the same reader's copy) and makes a page of each picture.
two_pages=$(dirname "$cgm")/two_pages.cgm
[[ -s "$two_pages" ]] || fail "no two-page file $two_pages"
/usr/bin/python3 "$here/reader_copy.py" "$two_pages" "$work/two_pages.cgm" || fail "the two-page file does not parse"
to_pdf "$work/two_pages.cgm"
[[ -s "$work/two_pages.pdf" ]] || fail "LibreOffice made no PDF of the two-page CGM file: $(cat "$work/libreoffice.log")"
pages=$(gs -q -dNODISPLAY -dNOSAFER -c "($work/two_pages.pdf) (r) file runpdfbegin pdfpagecount = quit")
[[ $pages == 2 ]] || fail "LibreOffice made $pages page(s) of the two-page CGM file"
echo "LibreOffice imports the two-page plot as $pages pages"
