#!/usr/bin/python3
"""Compares what the converter's MapSource readers and GPSBabel read from the
same MapSource text (check_mapsource.sh made both).

The converter's lines: NAME|ROUTE|LATITUDE|LONGITUDE|ALTITUDE|SYMBOL|DATE TIME,
then its log lines after "LOG ".
"""
import csv
import os
import sys

work = sys.argv[1]


def fail(message):
    sys.exit("MapSource text: " + message)


def converter(kind):
    points, log = [], []
    with open(os.path.join(work, "converter-%s.txt" % kind), encoding="latin-1") as f:
        for line in f.read().splitlines():
            if line.startswith("LOG "):
                log.append(line[4:])
            elif line:
                name, route, lat, lon, alt, symbol, when = line.split("|")
                points.append({"name": name, "route": route, "lat": float(lat), "lon": float(lon),
                               "alt": float(alt), "symbol": symbol, "when": when})
    return points, log


def gpsbabel(kind):
    with open(os.path.join(work, "gpsbabel-%s.csv" % kind), newline="", encoding="utf-8") as f:
        return list(csv.DictReader(f))


def same_positions(kind, ours, theirs):
    if len(ours) != len(theirs):
        fail("%s: the converter read %d points, GPSBabel %d" % (kind, len(ours), len(theirs)))
    for i, (o, t) in enumerate(zip(ours, theirs), 1):
        if abs(o["lat"] - float(t["Latitude"])) > 5e-5 or abs(o["lon"] - float(t["Longitude"])) > 5e-5:
            fail("%s point %d: %r against %r" % (kind, i, o, t))


points, log = converter("points")
theirs = gpsbabel("points")
same_positions("waypoints", points, theirs)
if [p["name"] for p in points] != [t["Name"] for t in theirs]:
    fail("waypoint names %r" % [p["name"] for p in points])
if log != ["4 points read"]:
    fail("waypoint log %r" % log)

routes, log = converter("routes")
theirs = gpsbabel("routes")
same_positions("route points", routes, theirs)
if [p["name"] for p in routes] != [t["Name"] for t in theirs]:
    fail("route point names %r" % [p["name"] for p in routes])
if [p["route"] for p in routes] != ["Thames walk"] * 2 + ["Far away"] * 3:
    fail("route names %r" % [p["route"] for p in routes])
if log != ["5 points read from  2 routes"]:
    fail("route log %r" % log)

tracks, log = converter("tracks")
theirs = gpsbabel("tracks")
same_positions("track points", tracks, theirs)
for i, (o, t) in enumerate(zip(tracks, theirs), 1):
    altitude = float(t["Altitude"]) if t["Altitude"] else -9999.0
    year, month, day = t["Date"].split("/")
    if o["alt"] != altitude or o["when"] != "%s/%s/%s %s" % (day, month, year, t["Time"]) or o["symbol"] != "Dot":
        fail("track point %d: %r against %r" % (i, o, t))
if [p["route"] for p in tracks] != ["Morning run"] * 3 + ["Evening walk"] * 2:
    fail("track names %r" % [p["route"] for p in tracks])
if log != ["5 points read from  2 tracks"]:
    fail("track log %r" % log)
print("GPSBabel and the converter read the same %d waypoints, %d route points and %d track points"
      % (len(points), len(routes), len(tracks)))
