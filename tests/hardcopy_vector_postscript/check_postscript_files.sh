#!/bin/bash
# Reads what test_hardcopy_vector_postscript left in its folder with
# Ghostscript: every PostScript and EPS file must render without an error, an
# EPS file must draw inside its bounding box, the scene's texts must be found
# in its page, and the scene's render must put ink where the screen's does.
#   check_postscript_files.sh TEST_FOLDER RENDER_FOLDER SCENE_MASK_SCRIPT
set -euo pipefail
dir=$1
renders=$2
scene_mask=$3
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
fail() { echo "FAIL: $*"; exit 1; }

command -v gs >/dev/null || fail "Ghostscript (gs) is not installed"
[[ -x /usr/bin/python3 ]] || fail "/usr/bin/python3 is missing"
gs_run() { gs -q -dSAFER -dBATCH -dNOPAUSE "$@"; }

# Renders a file; Ghostscript's own error report fails it even where its exit
# status would not.
render() {
  local file=$1 out=$2
  shift 2
  local log="$work/gs.log"
  if ! gs_run "$@" -sDEVICE=png16m -o "$out" "$file" >"$log" 2>&1; then
    fail "Ghostscript cannot render $(basename "$file"): $(head -c 2000 "$log")"
  fi
  if grep -qiE 'error|unrecoverable' "$log"; then
    fail "Ghostscript reports a problem in $(basename "$file"): $(head -c 2000 "$log")"
  fi
  if [[ ! -s $out ]]; then
    # A PostScript plot without a drawing ends without showpage: it has no page.
    if [[ $file == *.eps ]] || grep -aq 'showpage' "$file"; then fail "no render of $(basename "$file")"; fi
  fi
}

shopt -s nullglob
files=("$dir"/*.ps "$dir"/*.eps)
[[ ${#files[@]} -ge 10 ]] || fail "only ${#files[@]} PostScript files in $dir"
for file in "${files[@]}"; do
  name=$(basename "$file")
  if [[ $file == *.eps ]]; then
    render "$file" "$work/$name.png" -r20 -dEPSCrop
    # The drawing must lie inside the box the file declares.
    declared=$(grep -a -m1 '^%%BoundingBox:' "$file" | tr -d '\r' | cut -d' ' -f2-)
    [[ -n $declared ]] || fail "$name has no bounding box"
    drawn=$(gs_run -sDEVICE=bbox "$file" 2>&1 | grep -a '^%%BoundingBox:' | cut -d' ' -f2- || true)
    if [[ -n $drawn ]]; then
      read -r dx0 dy0 dx1 dy1 <<<"$declared"
      read -r x0 y0 x1 y1 <<<"$drawn"
      (( x0 >= dx0 - 1 && y0 >= dy0 - 1 && x1 <= dx1 + 1 && y1 <= dy1 + 1 )) ||
        fail "$name draws at $drawn, outside its bounding box $declared"
    fi
  else
    render "$file" "$work/$name.png" -r20
  fi
done
echo "Ghostscript renders all ${#files[@]} files"

# The scene: its texts, and its ink against the screen's render.
for scene in scene.ps scene.eps; do
  [[ -s $dir/$scene ]] || fail "no $scene"
  gs_run -sDEVICE=txtwrite -o "$work/$scene.txt" "$dir/$scene" >/dev/null 2>&1 || fail "txtwrite cannot read $scene"
  grep -q "Scene" "$work/$scene.txt" || fail "Ghostscript finds no \"Scene\" in $scene: $(cat "$work/$scene.txt")"
  grep -q "Up" "$work/$scene.txt" || fail "Ghostscript finds no \"Up\" in $scene: $(cat "$work/$scene.txt")"
done
# Escaped parentheses and backslashes come out of the reader as they went in.
escaped=$dir/Drawing_TextIsEscapedAndCutOnlyBetweenWholeEscapes.ps
[[ -s $escaped ]] || fail "no file of escaped texts"
gs_run -sDEVICE=txtwrite -o "$work/escaped.txt" "$escaped" >/dev/null 2>&1 || fail "txtwrite cannot read $escaped"
grep -qF 'a(b)c\d' "$work/escaped.txt" || fail "the escaped text is not read back: $(head -c 300 "$work/escaped.txt")"

[[ -s $renders/screen.ppm ]] || fail "the screen's render $renders/screen.ppm is missing"
mkdir -p "$renders"
# The PostScript page is turned a quarter to the left on the paper: turn its
# render back so that it stands as the screen's does.
render "$dir/scene.ps" "$work/scene_page.png" -r36 -sPAPERSIZE=letter
/usr/bin/python3 - "$work/scene_page.png" "$renders/postscript.png" <<'PY'
import sys
from PIL import Image
Image.open(sys.argv[1]).transpose(Image.Transpose.ROTATE_270).save(sys.argv[2])
PY
/usr/bin/python3 "$scene_mask" "$renders/screen.ppm" "$renders/postscript.png" --clip ||
  fail "the PostScript scene's ink does not match the screen's, or leaves its clip"
render "$dir/scene.eps" "$work/scene_eps.png" -r36 -dEPSCrop
# (An EPS file ignores clip records, so its clipped polygon is drawn whole.)
/usr/bin/python3 "$scene_mask" "$renders/screen.ppm" "$work/scene_eps.png" ||
  fail "the EPS scene's ink does not match the screen's"
echo "the scene's texts are found and its ink matches the screen's, as PostScript and as EPS"
