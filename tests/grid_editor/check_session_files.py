#!/usr/bin/env python3
"""Reads back what the grid editor session (editor_session_test.cpp) saved and
printed, with programs of their own: Python's csv module reads the CSV file,
xmllint the HTML page, Ghostscript the page printed on the PDF printer.  Each
must hold the cells the session left, as the session's own copy of the rows
(session_expected.txt: the label, then the six cells, tab-separated) says.

Usage: check_session_files.py DIR   (the folder the session ran in)
"""
import csv
import glob
import os
import shutil
import subprocess
import sys
import time
import xml.etree.ElementTree as ElementTree

DIR = sys.argv[1]
failures = []


def check(condition, what):
    print(("ok:   " if condition else "FAIL: ") + what)
    if not condition:
        failures.append(what)


def unix(path):
    """A path the session wrote in Wine's terms (Z: is the root)."""
    return path.strip()[2:].replace("\\", "/") if path.strip()[:2].upper() == "Z:" else path.strip()


for tool in ("xmllint", "gs"):
    if shutil.which(tool) is None:
        print(f"FAIL: {tool} is not installed")
        sys.exit(1)

with open(os.path.join(DIR, "session_expected.txt"), encoding="cp1252") as f:
    expected = [line.rstrip("\n").split("\t") for line in f]
with open(os.path.join(DIR, "session_files.txt")) as f:
    table, page = (unix(line) for line in f.read().splitlines()[:2])

# The CSV file: one line per row, the six cells, quotes doubled inside texts.
with open(table, newline="", encoding="cp1252") as f:
    rows = [[cell.strip() for cell in row] for row in csv.reader(f)]
check(len(rows) == len(expected), f"the CSV file holds {len(rows)} rows of {len(expected)}")
wrong = [(i + 1, row, want[1:]) for i, (row, want) in enumerate(zip(rows, expected)) if row != want[1:]]
check(not wrong, "every CSV row holds the cells put in" + (f"; first difference: {wrong[0]}" if wrong else ""))

# The HTML page: the heading row, then the label and the cells of each row;
# check boxes as Y and N.
xhtml = subprocess.run(["xmllint", "--html", "--xmlout", "--noblanks", page], capture_output=True, text=True,
                       encoding="cp1252")
check(xhtml.returncode == 0, f"xmllint reads the HTML page {page}: {xhtml.stderr[:200]}")
if xhtml.returncode == 0:
    body = xhtml.stdout[xhtml.stdout.find("<html"):]
    tree = ElementTree.fromstring(body)
    lines = [["".join(td.itertext()).strip() for td in tr.iter("td")] for tr in tree.iter("tr")]
    check(lines[:1] == [["", "Place", "Count", "Latitude", "Altitude", "Seen", "Kind"]],
          f"the page's first row holds the titles: {lines[:1]}")
    want = [[label, *cells[:4], cells[4][:1], cells[5]] for label, *cells in expected]
    wrong = [(i + 1, got, w) for i, (got, w) in enumerate(zip(lines[1:], want)) if got != w]
    check(len(lines) - 1 == len(want) and not wrong,
          f"the page holds {len(lines) - 1} rows of {len(want)}, every one as put in"
          + (f"; first difference: {wrong[0]}" if wrong else ""))

# The printed page: found by the title the session printed under.
with open(os.path.join(DIR, "session_printed_title.txt")) as f:
    token = f.readline().strip().replace(" ", "_")
pdf = None
for _ in range(120):
    found = [p for folder in (os.path.expanduser("~/PDF"), "/var/spool/cups-pdf")
             for p in glob.glob(os.path.join(folder, "**", f"*{token}*.pdf"), recursive=True) if os.path.getsize(p) > 0]
    if found:
        pdf = found[0]
        time.sleep(0.5)  # the queue may still be writing it
        break
    time.sleep(0.5)
check(pdf is not None, f"the PDF printer wrote the grid printed as {token}")
if pdf is not None:
    text = subprocess.run(["gs", "-q", "-dNOPAUSE", "-dBATCH", "-sDEVICE=txtwrite", "-o", "-", pdf],
                          capture_output=True).stdout.decode("latin-1")
    printed = {}
    for line in text.splitlines():
        words = line.split()
        if len(words) >= 2 and words[0] == "Row":
            printed.setdefault(f"Row {words[1]}", line)
    missing = []
    marks = {"Yes": set(), "No": set()}
    for label, place, count, latitude, altitude, seen, kind in expected:
        line = printed.get(label)
        if line is None:
            missing.append(label)
            continue
        position = 0
        for cell in (label, place, count, latitude, altitude, kind):
            at = line.find(cell, position) if cell else position
            if at < 0:
                missing.append(f"{label}: {cell!r} in {line!r}")
                break
            position = at + len(cell)
        marks[seen] |= {c for c in line if ord(c) < 32 or ord(c) > 126}
    check(not missing, "every row prints with its texts and numbers in order"
          + (f"; first missing: {missing[0]}" if missing else ""))
    check(len(marks["Yes"]) == 1 and len(marks["No"]) == 1 and marks["Yes"] != marks["No"],
          f"checked and unchecked boxes print as two different marks: {marks}")

for name in (table, page):
    if os.path.exists(name):
        os.remove(name)
sys.exit(1 if failures else 0)
