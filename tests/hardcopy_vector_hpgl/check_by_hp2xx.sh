#!/bin/bash
# Reads every plot file a driver test left in its folder with hp2xx, which must
# take each command (no command ignored), then renders the scene file and
# compares its ink with the screen's picture of the scene.
#
# Usage: check_by_hp2xx.sh FOLDER RENDER.png SCENE_MASK.py REFERENCE [options of scene_mask.py]
#
# hp2xx reads HP-GL and the HP-GL/2 commands the drivers use, with a few
# exceptions that the files are relieved of first, each checked by the golden
# lines of the driver tests instead:
#  - a comment CO"..." not ended by ";" makes hp2xx stop reading the file
#    silently;
#  - it does not know the transparency mode TR0 (which changes nothing on
#    white paper), the raster fill definition RF (its two lines of 16 pixel
#    values go with it; the fill type 11 that uses it is drawn solid), nor the
#    plotter-off device control ESC ".Z" (it does know ESC ".Y").
# hp2xx aborts on an output name of 100 characters or more: it reads and
# writes short names in a short temporary folder, wherever the clone lies.
set -euo pipefail
source "$(dirname "$0")/../support/checkers.sh"
dir=$1
render=$2
scene_mask=$3
reference=$4
shift 4
checker_work_dir
fail() { echo "FAIL: $*"; exit 1; }

command -v hp2xx >/dev/null || fail "hp2xx is not installed"

readable_copy() {
  # Lines begin with one blank when the driver was asked for it.
  sed -e '/^ \?CO"/d' -e '/^ \?TR0\r\?$/d' -e '/^ \?RF[12],8,4,\r\?$/,+2d' -e '/^ \?\x1b\.Z\r\?$/d' "$1" > "$2"
}

shopt -s nullglob
files=("$dir"/*.plt)
[[ ${#files[@]} -gt 0 ]] || fail "no plot files in $dir"
[[ -s "$dir/scene.plt" ]] || fail "no scene.plt in $dir"
for file in "${files[@]}"; do
  name=$(basename "$file")
  readable_copy "$file" "$work/in.plt"
  # hp2xx stops with an error on a file that draws nothing; the count of
  # ignored commands is what tells whether it understood the file.
  report=$(cd "$work" && hp2xx -m png -f out.png in.plt 2>&1 || true)
  grep -q "HPGL command(s) ignored: 0" <<<"$report" || fail "hp2xx does not take all of $name:
$report"
  grep -qE "Unexpected event\(s\): +0" <<<"$report" || fail "hp2xx meets something unexpected in $name:
$report"
  if grep -qiE "error|unknown|unexpected char" <<<"$report"; then
    fail "hp2xx reports an error in $name:
$report"
  fi
done
echo "hp2xx took every command of ${#files[@]} plot files"

mkdir -p "$(dirname "$render")"
readable_copy "$dir/scene.plt" "$work/scene.plt"
rm -f "$render" "$work/scene.png"
report=$(cd "$work" && hp2xx -m png -d 100 -f scene.png scene.plt 2>&1) || fail "hp2xx cannot render scene.plt:
$report"
[[ -s "$work/scene.png" ]] || fail "hp2xx wrote no render of scene.plt"
cp "$work/scene.png" "$render"
/usr/bin/python3 "$scene_mask" "$reference" "$render" "$@"
