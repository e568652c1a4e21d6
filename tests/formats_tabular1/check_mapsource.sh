#!/bin/bash
# MapSource text made by GPSBabel from a GPX file is read by the converter's
# three MapSource readers and by GPSBabel itself; both must find the same
# waypoints, routes and tracks (check_mapsource.py compares them).
set -euo pipefail
root=$1
tool=$2
work=$3
here=$(cd "$(dirname "$0")" && pwd)
rm -rf "$work"
mkdir -p "$work"
text="$work/trip.txt"
gpsbabel -i gpx -f "$here/fixtures/trip.gpx" -o garmin_txt,grid=ddd,prec=5 -F "$text"
windows=$(winepath -w "$text" 2>/dev/null)
for kind in points routes tracks; do
  bash "$root/scripts/wine-exec.sh" "$tool" read-txt "$windows" $kind | tr -d '\r' >"$work/converter-$kind.txt"
done
gpsbabel -i garmin_txt -f "$text" -o unicsv,utc=0 -F "$work/gpsbabel-points.csv"
gpsbabel -r -i garmin_txt -f "$text" -o unicsv,utc=0 -F "$work/gpsbabel-routes.csv"
gpsbabel -t -i garmin_txt -f "$text" -o unicsv,utc=0 -F "$work/gpsbabel-tracks.csv"
/usr/bin/python3 "$here/check_mapsource.py" "$work"
