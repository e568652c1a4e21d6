#!/bin/bash
# Checks the device formats against GPSBabel, in both directions: files our
# writers produce are read by GPSBabel with the same points, and files GPSBabel
# writes are read by our readers with the same points.
# Usage: check.sh DEVICE_TOOL.EXE SOURCE_DIR   (run in an empty working folder)
set -u
source "$(dirname "$0")/../../support/checkers.sh"
tool=$1
source_dir=$2
here=$source_dir/tests/formats_device/gpsbabel
failures=0
# GPSBabel's options are a list split at commas, which the clone's path may
# hold: its style files are read from a short folder of the check's own.
checker_work_dir || exit 1
cp "$here/check.style" "$here/destinator.style" "$work/"
style=$work/check.style

tool_run() { "$source_dir/scripts/wine-exec.sh" "$tool" "$@"; }

# compare NAME ACTUAL: the lines of ACTUAL against $here/expected/NAME.txt, the
# first two columns (latitude and longitude) within 2e-5, the others exactly.
compare() {
  local name=$1 actual=$2
  if awk -F'\t' '
      function off(a, b) { d = a - b; return (d < 0 ? -d : d) > 0.00002 }
      NR == FNR { want[FNR] = $0; n = FNR; next }
      {
        got++
        split(want[FNR], w, "\t")
        if (off($1, w[1]) || off($2, w[2])) { print "line " FNR ": position " $1 " " $2; bad = 1; next }
        rest = $0; sub(/^[^\t]*\t[^\t]*/, "", rest)
        wrest = want[FNR]; sub(/^[^\t]*\t[^\t]*/, "", wrest)
        if (rest != wrest) { print "line " FNR ": [" rest "] wanted [" wrest "]"; bad = 1 }
      }
      END { if (got != n) { print got " lines, wanted " n; bad = 1 } exit bad }
    ' "$here/expected/$name.txt" "$actual"; then
    echo "ok     $name"
  else
    echo "FAILED $name"
    failures=$((failures + 1))
  fi
}

# What GPSBabel reads from a file: gpsbabel_read FORMAT FILE KIND
gpsbabel_read() { gpsbabel "$3" -i "$1" -f "$2" -o "xcsv,style=$style" -F -; }

# ---- our files, read by GPSBabel -------------------------------------------
points=$here/points.tsv
tool_run write ov2 ours.ov2 "$points" && gpsbabel_read tomtom ours.ov2 -w >ours_ov2.txt
compare writes_ov2 ours_ov2.txt
tool_run write gdb ours.gdb "$points" && gpsbabel_read gdb ours.gdb -w >ours_gdb.txt
compare writes_gdb ours_gdb.txt
tool_run write itn ours.itn "$points" && gpsbabel_read tomtom_itn ours.itn -r >ours_itn.txt
compare writes_itn ours_itn.txt
tool_run write csv ours.csv "$points" && gpsbabel_read "xcsv,style=$work/destinator.style" ours.csv -w >ours_csv.txt
compare writes_destinator ours_csv.txt
# GPSBabel's ASC reader knows no comment lines: it passes over the first four
# lines of a file as its own title lines and reads every other line as a point.
# Our comment lines give way to four such title lines.
tool_run write asc ours.asc "$points" && { printf 'title\r\n%.0s' 1 2 3 4; grep -v '^;' ours.asc; } >ours4.asc &&
  gpsbabel_read tomtom_asc ours4.asc -w >ours_asc.txt
compare writes_asc ours_asc.txt

# ---- GPSBabel's files, read by us -------------------------------------------
gpsbabel -w -i gpx -f "$here/mix.gpx" -o tomtom -F theirs.ov2 && tool_run read ov2 theirs.ov2 >theirs_ov2.txt
compare reads_ov2 theirs_ov2.txt
gpsbabel -w -i gpx -f "$here/mix.gpx" -o gdb -F theirs.gdb && tool_run read gdb theirs.gdb >theirs_gdb.txt
compare reads_gdb theirs_gdb.txt
gpsbabel -r -i gpx -f "$here/mix.gpx" -o tomtom_itn -F theirs.itn && tool_run read itn theirs.itn >theirs_itn.txt
compare reads_itn theirs_itn.txt
# GPSBabel's ASC file begins with four title lines of its own, without the ";"
# of comments; the point lines after them are what is compared.
gpsbabel -w -i gpx -f "$here/mix.gpx" -o tomtom_asc -F theirs_titled.asc && tail -n +5 theirs_titled.asc >theirs.asc &&
  tool_run read asc theirs.asc >theirs_asc.txt
compare reads_asc theirs_asc.txt
gpsbabel -t -i gpx -f "$here/track.gpx" -o nmea -F theirs.pgl && tool_run read pgl theirs.pgl >theirs_pgl.txt
compare reads_nmea theirs_pgl.txt

[[ $failures -eq 0 ]] && echo "all GPSBabel checks passed" || echo "$failures GPSBabel checks failed"
exit $((failures > 0))
