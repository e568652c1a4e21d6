#!/bin/bash
# Builds the benchmark program and times the converter's readers and writers on
# files of 60000 points under Wine.  Where gpsbabel is installed (it is installed
# here when missing) it then converts the benchmark's own GPX and KML files, in
# the same run, and prints for each conversion our time (read plus write) beside
# GPSBabel's and their ratio.
# A benchmark, not a test: nothing here fails on a time.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build_dir=${BUILD_DIR:-$root/build}

# GPSBabel too, for the comparison; where it cannot be installed (no network,
# say) the benchmark still runs on its own.
"$root/scripts/setup.sh" bench || "$root/scripts/setup.sh" build
source "$root/scripts/target-arch.sh"
if [[ ! -f "$build_dir/CMakeCache.txt" ]]; then
  cmake -S "$root" -B "$build_dir" -DCMAKE_TOOLCHAIN_FILE="$toolchain_file" \
        -DCMAKE_BUILD_TYPE=Release -DCARROW_TESTS=OFF >/dev/null
fi
# The benchmark, and the program folder whose MakeOV2 and companion files the
# overlay writer uses.
cmake --build "$build_dir" -j"$(nproc)" --target carrow_benchmark Carrowmapper MakeOV2 companion_files

source "$root/scripts/wine-session.sh"
WINE_SESSION_XVFB=1 wine_session_start
trap wine_session_stop EXIT
export TZ=UTC
# The new session's services go on starting and writing for a moment, and the
# writers flush their files to disk before putting them in place: let the
# session settle and the disk catch up, so that neither is timed.
sleep 3
sync

cd "$build_dir/benchmarks"
results=$(mktemp)
# Every case, and every GPSBabel conversion below, is timed this many times and
# counted by its median: a single run also times what happens once in a process
# or a session (the first file written, Wine's services settling).
runs=3
# Each figure shown as soon as it is there.
wine carrow_benchmark.exe "" "$runs" </dev/null | while IFS= read -r line; do
  line=${line%$'\r'}
  echo "$line"
  echo "$line" >>"$results"
done || echo "The benchmark program stopped early: the comparison uses what it timed."

# The median of the numbers on standard input, one a line.
median() {
  sort -n | awk '{ v[NR] = $1 } END { if (NR == 0) exit 1; printf "%.3f", v[int((NR + 1) / 2)] }'
}

# The median seconds of the benchmark case called $1.
seconds_of() {
  awk -v name="$1" '{ line = $0; sub(/ +[0-9.]+ s$/, "", line) }
                    line == name { print $(NF - 1) }' "$results" | median
}

if ! command -v gpsbabel >/dev/null; then
  echo "gpsbabel is not installed: no comparison."
  exit 0
fi

# Runs gpsbabel on waypoints $runs times and prints the median seconds.
time_gpsbabel() {
  local in_type=$1 in_file=$2 out_type=$3 out_file=$4 start end k
  for ((k = 0; k < runs; k++)); do
    start=$(date +%s.%N)
    gpsbabel -w -i "$in_type" -f "$in_file" -o "$out_type" -F "$out_file" >/dev/null 2>&1
    end=$(date +%s.%N)
    echo "$start $end" | awk '{ printf "%.3f\n", $2 - $1 }'
  done | median
}

echo
echo "Conversions of 60000 waypoints: Carrowmapper (read + write, in-process) and GPSBabel, medians of $runs runs"
printf '%-22s %12s %10s %8s\n' "conversion" "Carrowmapper" "GPSBabel" "ratio"
# Each line: the conversion, our reader's and writer's cases (blanks written as "_"),
# then GPSBabel's input type and file and its output type and file.
while read -r label reader writer in_type in_file out_type out_file; do
  ours=$(awk -v r="$(seconds_of "${reader//_/ }")" -v w="$(seconds_of "${writer//_/ }")" 'BEGIN { printf "%.3f", r + w }')
  theirs=$(time_gpsbabel "$in_type" "$in_file" "$out_type" "babel_$out_file")
  ratio=$(awk -v a="$ours" -v b="$theirs" 'BEGIN { if (a > 0) printf "%.1f", b / a; else print "-" }')
  printf '%-22s %10s s %8s s %7sx\n' "$label" "$ours" "$theirs" "$ratio"
done <<'CONVERSIONS'
GPX->GPX GPX_read_60000_waypoints GPX_write_60000_waypoints gpx xml_bench.gpx gpx out.gpx
GPX->KML GPX_read_60000_waypoints KML_write_60000_points gpx xml_bench.gpx kml out.kml
GPX->OV2 GPX_read_60000_waypoints write_OV2_(MakeOV2),_60000_points gpx xml_bench.gpx tomtom out.ov2
GPX->GDB GPX_read_60000_waypoints write_GDB_waypoints,_60000_points gpx xml_bench.gpx gdb out.gdb
GPX->OziExplorer GPX_read_60000_waypoints write_OziExplorer_waypoints,_60000_points gpx xml_bench.gpx ozi out.wpt
KML->GPX KML_read_60000_points GPX_write_60000_waypoints kml xml_bench.kml gpx out.gpx
CONVERSIONS
rm -f "$results"
