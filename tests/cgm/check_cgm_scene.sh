#!/bin/bash
# Opens the scene's CGM file with LibreOffice (its own CGM import), converts it
# to PDF, and has Ghostscript render the page: the page must carry ink, and its
# render must agree with the screen's render of the same scene.
# Usage: check_cgm_scene.sh SCENE.cgm RENDER_FOLDER SCENE_MASK.py
set -euo pipefail
cgm=$1
renders=$2
scene_mask=$3
fail() { echo "FAIL: $*"; exit 1; }
command -v soffice >/dev/null || fail "soffice (LibreOffice) is not installed"
command -v gs >/dev/null || fail "gs (Ghostscript) is not installed"
[[ -x /usr/bin/python3 ]] || fail "/usr/bin/python3 is missing"
[[ -s $cgm ]] || fail "no scene file $cgm"

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
# A profile of its own, so that parallel runs do not share one.
export HOME=$work/home
mkdir -p "$HOME"
cp "$cgm" "$work/scene.cgm"
timeout 240 soffice --headless --norestore "-env:UserInstallation=file://$work/profile" \
  --convert-to pdf --outdir "$work" "$work/scene.cgm" >"$work/soffice.log" 2>&1 ||
  fail "soffice failed: $(cat "$work/soffice.log")"
[[ -s $work/scene.pdf ]] || fail "LibreOffice made no PDF of the CGM file: $(cat "$work/soffice.log")"

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
    sys.exit("the page has almost no ink: %d of %d pixels" % (ink, width * height))
print("page %dx%d, %d pixels of ink" % (width, height, ink))
PY
/usr/bin/python3 "$scene_mask" "$renders/screen.ppm" "$render"
