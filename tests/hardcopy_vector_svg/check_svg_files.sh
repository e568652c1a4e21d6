#!/bin/bash
# Every SVG that test_hardcopy_vector_svg left in its folder must be accepted
# by xmllint and rendered by rsvg-convert; the scene's render must put ink
# where the screen's render of the same scene has it.
set -euo pipefail
dir=$1
renders=$2
scene_mask=$3
fail() { echo "FAIL: $*"; exit 1; }
for tool in xmllint rsvg-convert; do
  command -v "$tool" >/dev/null || fail "$tool is not installed"
done
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

shopt -s nullglob
files=("$dir"/*.svg)
[[ ${#files[@]} -gt 0 ]] || fail "no SVG files in $dir"
for svg in "${files[@]}"; do
  xmllint --noout "$svg" 2>"$work/xmllint.txt" || fail "xmllint refuses $svg: $(cat "$work/xmllint.txt")"
  rsvg-convert -o "$work/render.png" "$svg" 2>"$work/rsvg.txt" || fail "rsvg-convert refuses $svg: $(cat "$work/rsvg.txt")"
  [[ -s $work/rsvg.txt ]] && fail "rsvg-convert complains about $svg: $(cat "$work/rsvg.txt")"
done
echo "${#files[@]} SVG files accepted by xmllint and rsvg-convert"

[[ -s $dir/scene.svg ]] || fail "no scene.svg"
mkdir -p "$renders"
rsvg-convert --background-color=white -o "$renders/svg.png" "$dir/scene.svg" || fail "rsvg-convert cannot render the scene"
/usr/bin/python3 "$scene_mask" "$renders/screen.ppm" "$renders/svg.png" --clip
