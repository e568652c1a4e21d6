#!/usr/bin/env python3
"""Independent programs check our GPX and KML files, and write files for us to read.

Our readers and writers run in the bridge program xml_convert under Wine; xmllint,
GPSBabel and GDAL's ogrinfo run on the host.  Expectations come from the input
fixture or from the other program's own file, parsed here with ElementTree.

Usage: check_external.py BRIDGE FIXTURES SCHEMAS WORK WINE_EXEC
"""
import os
import re
import subprocess
import sys
import xml.etree.ElementTree as ET

BRIDGE, FIXTURES, SCHEMAS, WORK, WINE_EXEC = sys.argv[1:6]
GPX = {"g": "http://www.topografix.com/GPX/1/1"}
failures = []


def check(condition, what):
    print(("ok:   " if condition else "FAIL: ") + what)
    if not condition:
        failures.append(what)


def run(*args):
    return subprocess.run(args, capture_output=True, text=True, encoding="utf-8", errors="replace")


def windows(path):
    return "Z:" + path.replace("/", "\\")


def convert(reader, source, writer, target):
    result = run(WINE_EXEC, BRIDGE, reader, windows(source), writer, windows(target))
    check(result.returncode == 0, f"xml_convert {reader} -> {writer} {os.path.basename(target)}: {result.stdout.strip()}")
    return result.returncode == 0


def close(a, b, tolerance):
    return a is not None and b is not None and abs(float(a) - float(b)) <= tolerance


def text(element, tag):
    found = element.find("g:" + tag, GPX)
    return None if found is None or found.text is None else found.text


def gpx_points(path, kind):
    """Points of a GPX file: waypoints, route points or track points, with the
    name of their route or track."""
    root = ET.parse(path).getroot()
    points = []
    if kind == "wpt":
        groups = [(None, root.findall("g:wpt", GPX))]
    elif kind == "rte":
        groups = [(text(r, "name"), r.findall("g:rtept", GPX)) for r in root.findall("g:rte", GPX)]
    else:
        groups = [(text(t, "name"), t.findall("g:trkseg/g:trkpt", GPX)) for t in root.findall("g:trk", GPX)]
    for group, elements in groups:
        for e in elements:
            points.append({"group": group, "lat": e.get("lat"), "lon": e.get("lon"), "name": text(e, "name"),
                           "desc": text(e, "desc"), "cmt": text(e, "cmt"), "ele": text(e, "ele"),
                           "time": text(e, "time")})
    return points


def kml_points(path):
    """Placemarks with a Point: name and coordinates, whatever the KML namespace."""
    points = []
    for element in ET.parse(path).getroot().iter():
        if not element.tag.endswith("Placemark"):
            continue
        name = next((c.text or "" for c in element if c.tag.endswith("}name") or c.tag == "name"), "")
        coordinates = next((c.text for c in element.iter() if c.tag.endswith("coordinates")), None)
        if any(c.tag.endswith("Point") for c in element.iter()) and coordinates:
            numbers = re.split(r"[,\s]+", coordinates.strip())
            points.append({"name": name, "lon": numbers[0], "lat": numbers[1],
                           "ele": numbers[2] if len(numbers) > 2 else None})
    return points


def listing(path):
    """What our reader took, as the bridge lists it."""
    fields = ["route", "name", "desc", "cmt", "lat", "lon", "ele", "date", "time", "sym"]
    with open(path, encoding="utf-8") as f:
        return [dict(zip(fields, line.rstrip("\n").split("\t"))) for line in f if line.strip()]


def gpx_time(date, time):
    """Our dd/mm/yyyy and hh:mm:ss as a GPX time stamp."""
    return f"{date[6:10]}-{date[3:5]}-{date[0:2]}T{time}Z"


def ogr_features(path):
    """Names and geometries of every feature ogrinfo finds in the file."""
    result = run("ogrinfo", "-ro", "-al", path)
    check(result.returncode == 0, f"ogrinfo opens {os.path.basename(path)}")
    names = re.findall(r"^\s+[Nn]ame \(String\) = (.*)$", result.stdout, re.M)
    points = re.findall(r"POINT Z? ?\(([-\d.e]+) ([-\d.e]+)", result.stdout)
    lines = re.findall(r"LINESTRING Z? ?\(([^)]*)\)", result.stdout)
    return names, points, lines


os.makedirs(WORK, exist_ok=True)
os.chdir(WORK)
source = os.path.join(FIXTURES, "external_input.gpx")
expected_wpt = gpx_points(source, "wpt")
expected_rte = gpx_points(source, "rte")
expected_trk = gpx_points(source, "trk")

# ---- what we write, read by the others ----
ours = {
    "wpt.gpx": ("gpx", "gpx"), "rte.gpx": ("gpx-route", "gpx-route"), "trk.gpx": ("gpx-track", "gpx-track"),
    "wpt.kml": ("gpx", "kml"), "rte.kml": ("gpx-route", "kml-route"), "trk.kml": ("gpx-track", "kml-track"),
}
for name, (reader, writer) in ours.items():
    convert(reader, source, writer, os.path.join(WORK, name))
for name in ours:
    result = run("xmllint", "--noout", name)
    check(result.returncode == 0, f"xmllint finds {name} well-formed {result.stderr.strip()}")
for name in ("wpt.gpx", "rte.gpx", "trk.gpx"):
    result = run("xmllint", "--noout", "--schema", os.path.join(SCHEMAS, "gpx11.xsd"), name)
    check(result.returncode == 0, f"{name} is valid GPX 1.1 {result.stderr.strip()}")

# The golden files of the writer tests are byte for byte what our writers write.
for name in sorted(os.listdir(FIXTURES)):
    if name.startswith("write_") or name == "mapopolis.gpx":
        result = run("xmllint", "--noout", os.path.join(FIXTURES, name))
        check(result.returncode == 0, f"xmllint finds the written {name} well-formed {result.stderr.strip()}")
for name in ("write_routes.gpx", "write_tracks.gpx"):
    result = run("xmllint", "--noout", "--schema", os.path.join(SCHEMAS, "gpx11.xsd"), os.path.join(FIXTURES, name))
    check(result.returncode == 0, f"the written {name} is valid GPX 1.1 {result.stderr.strip()}")

for name, kind, expected in (("wpt.gpx", "wpt", expected_wpt), ("rte.gpx", "rte", expected_rte),
                             ("trk.gpx", "trk", expected_trk)):
    babel = "babel_of_" + name
    result = run("gpsbabel", "-i", "gpx", "-f", name, "-o", "gpx,gpxver=1.1", "-F", babel)
    check(result.returncode == 0, f"GPSBabel reads our {name} {result.stderr.strip()}")
    got = gpx_points(babel, kind) if result.returncode == 0 else []
    check(len(got) == len(expected), f"GPSBabel finds {len(expected)} points in our {name} (found {len(got)})")
    for want, have in zip(expected, got):
        label = f"{name} point {want['name'] or want['lat']}"
        check(have["name"] == want["name"], f"{label}: name {have['name']!r}")
        check(have["group"] == want["group"], f"{label}: route or track {have['group']!r}")
        check(close(have["lat"], want["lat"], 2e-5) and close(have["lon"], want["lon"], 2e-5),
              f"{label}: position {have['lat']} {have['lon']}")
        if want["desc"] is not None:
            check(have["desc"] == want["desc"], f"{label}: description {have['desc']!r}")
        if want["ele"] is not None:
            check(close(have["ele"], want["ele"], 1e-3), f"{label}: elevation {have['ele']}")
        if want["time"] is not None:
            check(have["time"] == want["time"], f"{label}: time {have['time']}")

names, points, lines = ogr_features("wpt.gpx")
check(names == [p["name"] for p in expected_wpt], f"ogrinfo reads the names of wpt.gpx: {names}")
check(len(points) == len(expected_wpt) and all(close(x, w["lon"], 2e-5) and close(y, w["lat"], 2e-5)
                                              for (x, y), w in zip(points, expected_wpt)),
      f"ogrinfo reads the positions of wpt.gpx: {points}")

# Our KML names a placemark by the point's description.
result = run("gpsbabel", "-i", "kml", "-f", "wpt.kml", "-o", "gpx,gpxver=1.1", "-F", "babel_of_wpt_kml.gpx")
check(result.returncode == 0, f"GPSBabel reads our wpt.kml {result.stderr.strip()}")
got = gpx_points("babel_of_wpt_kml.gpx", "wpt") if result.returncode == 0 else []
check([p["name"] for p in got] == [p["desc"] for p in expected_wpt],
      f"GPSBabel reads the names of wpt.kml: {[p['name'] for p in got]}")
check(len(got) == len(expected_wpt) and all(close(h["lat"], w["lat"], 2e-5) and close(h["lon"], w["lon"], 2e-5)
                                           for h, w in zip(got, expected_wpt)),
      "GPSBabel reads the positions of wpt.kml")
names, points, lines = ogr_features("wpt.kml")
check(names == [p["desc"] for p in expected_wpt], f"ogrinfo reads the names of wpt.kml: {names}")
check(len(points) == len(expected_wpt), f"ogrinfo reads {len(expected_wpt)} points of wpt.kml: {points}")

for name, expected, marker in (("rte.kml", expected_rte, ""), ("trk.kml", expected_trk, "Track: ")):
    names, points, lines = ogr_features(name)
    run_name = marker + expected[0]["group"]
    check(run_name in names, f"ogrinfo reads the run name {run_name!r} in {name}: {names}")
    vertices = [v.split() for v in lines[0].split(",")] if lines else []
    check(len(vertices) == len(expected) and all(close(v[0], w["lon"], 2e-5) and close(v[1], w["lat"], 2e-5)
                                                 for v, w in zip(vertices, expected)),
          f"ogrinfo reads the line of {name}: {lines}")
    babel = "babel_of_" + name + ".gpx"
    result = run("gpsbabel", "-i", "kml", "-f", name, "-o", "gpx,gpxver=1.1", "-F", babel)
    check(result.returncode == 0, f"GPSBabel reads our {name} {result.stderr.strip()}")
    # The line comes back as a track of the run's points.
    got = gpx_points(babel, "trk") if result.returncode == 0 else []
    check(len(got) == len(expected) and all(close(h["lat"], w["lat"], 2e-5) and close(h["lon"], w["lon"], 2e-5)
                                           for h, w in zip(got, expected)),
          f"GPSBabel reads the line of {name}: {[(h['lat'], h['lon']) for h in got]}")

# ---- what the others write, read by us ----
result = run("gpsbabel", "-i", "gpx", "-f", source, "-o", "gpx,gpxver=1.1", "-F", "babel.gpx")
check(result.returncode == 0, "GPSBabel writes GPX")
for reader, kind in (("gpx", "wpt"), ("gpx-route", "rte"), ("gpx-track", "trk")):
    target = os.path.join(WORK, f"read_{kind}.txt")
    if not convert(reader, os.path.join(WORK, "babel.gpx"), "list", target):
        continue
    got, want = listing(target), gpx_points("babel.gpx", kind)
    check(len(got) == len(want), f"we read {len(want)} {kind} points of GPSBabel's GPX (read {len(got)})")
    for w, h in zip(want, got):
        label = f"GPSBabel's {kind} point {w['name'] or w['lat']}"
        check(h["name"] == (w["name"] or ""), f"{label}: name {h['name']!r}")
        check(h["desc"] == (w["desc"] or "") and h["cmt"] == (w["cmt"] or ""), f"{label}: texts {h['desc']!r}")
        check(kind == "wpt" or h["route"] == (w["group"] or ""), f"{label}: route or track {h['route']!r}")
        check(close(h["lat"], w["lat"], 1e-5) and close(h["lon"], w["lon"], 1e-5), f"{label}: position")
        check(close(h["ele"], w["ele"] or -9999, 1e-3), f"{label}: elevation {h['ele']}")
        if w["time"] is not None:
            check(gpx_time(h["date"], h["time"]) == w["time"], f"{label}: time {h['date']} {h['time']}")

result = run("gpsbabel", "-i", "gpx", "-f", source, "-x", "nuketypes,tracks,routes", "-o", "kml", "-F", "babel.kml")
check(result.returncode == 0, "GPSBabel writes KML")
target = os.path.join(WORK, "read_kml.txt")
if convert("kml", os.path.join(WORK, "babel.kml"), "list", target):
    got, want = listing(target), kml_points("babel.kml")
    check(len(got) == len(want) == len(expected_wpt), f"we read the {len(want)} placemarks of GPSBabel's KML")
    for w, h in zip(want, got):
        check(h["desc"] == w["name"], f"GPSBabel's placemark {w['name']!r}: name {h['desc']!r}")
        check(close(h["lat"], w["lat"], 1e-5) and close(h["lon"], w["lon"], 1e-5), f"{w['name']!r}: position")
        check(close(h["ele"], w["ele"] or -9999, 1e-3), f"{w['name']!r}: altitude {h['ele']}")

print(f"{len(failures)} failed")
sys.exit(1 if failures else 0)
