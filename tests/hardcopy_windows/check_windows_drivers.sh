#!/bin/bash
# Reads what test_hardcopy_windows left in its folder with programs of their
# own: the Windows metafiles with wmf2svg (libwmf), the enhanced metafile with
# emf2svg-conv, and the scene printed on the CUPS PDF queue with Ghostscript
# (its text, and ink where the scene has it).  The shared test scene, as a WMF
# rendered by LibreOffice and as printed, must keep its clipped polygon inside
# the clip rectangle and show its shaded polygon (scene_mask.py).
set -euo pipefail
source "$(dirname "$0")/../support/printed_pdf.sh"
source "$(dirname "$0")/../support/checkers.sh"
scene_mask=$(cd "$(dirname "$0")/../support" && pwd)/scene_mask.py
dir=$1
checker_work_dir
fail() { echo "FAIL: $*"; exit 1; }

# Each SVG must hold the scene's text and its shapes.
svg_has_scene() {
  local svg=$1 what=$2
  [[ -s $svg ]] || fail "$what: no SVG"
  grep -q "Carrowmapper scene" "$svg" || fail "$what: the text is missing"
  grep -q "Upward" "$svg" || fail "$what: the upright text is missing"
  local shapes
  shapes=$(grep -Eo '<(path|polygon|polyline|ellipse|rect|line)[ >]' "$svg" | wc -l)
  [[ $shapes -ge 8 ]] || fail "$what: only $shapes shapes"
  echo "$what: text and $shapes shapes"
}

for wmf in scene.wmf scene_plain.wmf scene_kind5.wmf; do
  [[ -s $dir/$wmf ]] || fail "no $wmf"
  wmf2svg -o "$work/$wmf.svg" "$dir/$wmf" >/dev/null 2>&1 || fail "wmf2svg refuses $wmf"
  svg_has_scene "$work/$wmf.svg" "wmf2svg $wmf"
done

[[ -s $dir/scene.emf ]] || fail "no scene.emf"
emf2svg-conv -i "$dir/scene.emf" -o "$work/scene.emf.svg" >/dev/null 2>&1 || fail "emf2svg-conv refuses scene.emf"
svg_has_scene "$work/scene.emf.svg" "emf2svg-conv scene.emf"

# The printed scene, read back from the PDF queue.
[[ -s $dir/printed_title.txt ]] || fail "the scene was not printed"
printed_pdf "$dir/printed_title.txt" || fail "no PDF of \"$title\" appeared"
gs -q -dNOPAUSE -dBATCH -sDEVICE=txtwrite -o "$work/page.txt" "$pdf" || fail "Ghostscript cannot read $pdf"
grep -q "Carrowmapper" "$work/page.txt" || fail "Ghostscript finds no text in $pdf: $(cat "$work/page.txt")"
gs -q -dNOPAUSE -dBATCH -sDEVICE=pgmraw -r20 -o "$work/page.pgm" "$pdf" || fail "Ghostscript cannot render $pdf"
/usr/bin/python3 - "$work/page.pgm" <<'EOF'
import sys
data = open(sys.argv[1], 'rb').read()
# Binary PGM: magic, width, height, maximum (comment lines between them), then
# one byte per pixel.
fields, at = [], 0
while len(fields) < 4:
    end = data.index(b'\n', at)
    line = data[at:end]
    at = end + 1
    if not line.startswith(b'#'):
        fields += line.split()
width, height = int(fields[1]), int(fields[2])
pixels = data[at:]
# The page is landscape A4 with inch margins; the scene fills the page inside
# them.  Every quarter of the scene has ink.
margin = 20
quarters = {}
for y in range(margin, height - margin):
    for x in range(margin, width - margin):
        if pixels[y * width + x] < 128:
            key = (x < width // 2, y < height // 2)
            quarters[key] = quarters.get(key, 0) + 1
if len(quarters) != 4:
    sys.exit("ink in only %d quarters of the printed page: %r" % (len(quarters), quarters))
print("printed page: ink in every quarter %r" % quarters)
EOF
echo "PDF $pdf: text and ink found"

# The shared scene as a Windows metafile: small, and drawn by LibreOffice with
# its clip and its shading.
[[ -s $dir/shared_scene.wmf ]] || fail "no shared_scene.wmf"
size=$(stat -c %s "$dir/shared_scene.wmf")
(( size < 2 * 1024 * 1024 )) || fail "shared_scene.wmf takes $size bytes"
cp "$dir/shared_scene.wmf" "$work/shared_scene.wmf"
HOME="$work/home" libreoffice --convert-to png --outdir "$work" "$work/shared_scene.wmf" || true
[[ -s $work/shared_scene.png ]] || fail "LibreOffice made no picture of shared_scene.wmf: $(cat "$work/libreoffice.log")"
/usr/bin/python3 "$scene_mask" --clip-only "$work/shared_scene.png" --shaded || fail "the WMF of the shared scene"
echo "shared_scene.wmf: $size bytes, clip and shading kept"

# The shared scene as printed.
[[ -s $dir/printed_shared_scene.txt ]] || fail "the shared scene was not printed"
printed_pdf "$dir/printed_shared_scene.txt" || fail "no PDF of \"$title\" appeared"
gs -q -dNOPAUSE -dBATCH -sDEVICE=png16m -r60 -o "$work/shared_page.png" "$pdf" || fail "Ghostscript cannot render $pdf"
/usr/bin/python3 "$scene_mask" --clip-only "$work/shared_page.png" --shaded || fail "the printed shared scene"
echo "PDF $pdf: clip and shading kept"
