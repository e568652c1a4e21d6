#!/bin/bash
# GPSBabel, an independent reader, checks the files that the end-to-end runs of
# the program wrote: the TomTom overlay holds the GPX file's waypoints (its
# names are their descriptions), the itinerary the GPX file's route points.
# Usage: check_gpsbabel.sh FIXTURES SCENARIOS
set -uo pipefail
fixtures=$1
scenarios=$2
command -v gpsbabel >/dev/null || { echo "gpsbabel is not installed"; exit 77; }
status=0

compare() {  # what, expected, got
  if [[ "$2" != "$3" ]]; then
    echo "$1 differs:"
    diff <(echo "$2") <(echo "$3")
    status=1
  else
    echo "$1: as expected"
  fi
}

# Latitude, longitude and a name column of unicsv output, without the header.
columns() { tail -n +2 | cut -d, -f"$1"; }

expected=$(gpsbabel -i gpx -f "$fixtures/points.gpx" -o unicsv -F - | columns 2,3,5)
got=$(gpsbabel -i tomtom -f "$scenarios/points_to_ov2/points.ov2" -o unicsv -F - | columns 2,3,4)
compare "TomTom overlay" "$expected" "$got"

expected=$(gpsbabel -r -i gpx -f "$fixtures/routes.gpx" -o unicsv -F - | columns 2,3)
got=$(gpsbabel -r -i tomtom_itn -f "$scenarios/routes_to_itn/routes.itn" -o unicsv -F - | columns 2,3)
compare "TomTom itinerary" "$expected" "$got"
exit $status
