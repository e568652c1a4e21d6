#!/bin/bash
# GPSBabel, an independent program, reads the OziExplorer and Maptech files that
# our writers make, and writes files that our readers read; both sides must agree
# on the points.
#   gpsbabel_check.sh TOOL WINE_EXEC FIXTURES RESULTS
set -u
source "$(dirname "$0")/../support/checkers.sh"
tool=$1 wine_exec=$2 fixtures=$3 results=$4
rm -rf "$results"
mkdir -p "$results"
cd "$results" || exit 1
failures=0

winpath() { echo "Z:${1//\//\\}"; }

# GPSBabel's view of a file: one line per point, five decimals, metres.  Its
# options are a list split at commas, which the clone's path may hold: the
# style file is read from a short folder of the check's own.
checker_work_dir || exit 1
style=$work/points.style
cp "$fixtures/gpsbabel_points.style" "$style"

check() {  # name expected actual
  if diff -u "$2" "$3" >"$1.diff"; then
    echo "ok: $1"
  else
    echo "FAILED: $1"
    cat "$1.diff"
    failures=$((failures + 1))
  fi
}

# Our writer, then GPSBabel reads: routine sample gpsbabel-format gpsbabel-flag
write_then_babel() {
  local routine=$1 sample=$2 format=$3 flag=$4 file=$5
  if ! "$wine_exec" "$tool" write "$routine" "$(winpath "$PWD/$file")" "$sample"; then
    echo "FAILED: $routine did not run"
    failures=$((failures + 1))
    return
  fi
  gpsbabel ${flag:+"$flag"} -i "$format" -f "$file" -o xcsv,style="$style" -F "$file.babel.txt" 2>"$file.babel.err"
  check "$routine read by GPSBabel" "$fixtures/expected_babel_$file.txt" "$file.babel.txt"
}

# GPSBabel writes from our GPX fixture, then our reader: format flag file routine
babel_then_read() {
  local format=$1 flag=$2 file=$3 routine=$4
  gpsbabel ${flag:+"$flag"} -i gpx -f "$fixtures/gpsbabel_source.gpx" -o "$format" -F "$file" 2>"$file.err"
  if ! "$wine_exec" "$tool" read "$routine" "$(winpath "$PWD/$file")" "$(winpath "$PWD/$file.dump.txt")"; then
    echo "FAILED: $routine did not run"
    failures=$((failures + 1))
    return
  fi
  check "GPSBabel's $file read by $routine" "$fixtures/expected_read_$file.txt" "$file.dump.txt"
}

write_then_babel WRITE_OZI_WPT points ozi "" ours.wpt
write_then_babel WRITE_OZI_RTE routes ozi -r ours.rte
write_then_babel WRITE_OZI_PLT tracks ozi -t ours.plt
write_then_babel WRITE_MXF points mxf "" ours.mxf

babel_then_read ozi "" babel.wpt READ_OZI_WPT
babel_then_read ozi -r babel.rte READ_OZI_RTE
babel_then_read ozi -t babel.plt READ_OZI_PLT
babel_then_read mxf "" babel.mxf READ_MXF

if [[ $failures -ne 0 ]]; then
  echo "$failures GPSBabel checks failed"
  exit 1
fi
