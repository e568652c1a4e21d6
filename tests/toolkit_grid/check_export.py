#!/usr/bin/env python3
"""Independent readers of the grid's files.

The bridge program grid_export writes them under Wine; Python's csv module and
LibreOffice read the comma-separated file, xmllint the HTML page.

Usage: check_export.py BRIDGE WORK WINE_EXEC
"""
import csv
import os
import shutil
import subprocess
import sys

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "support"))
import checkers  # noqa: E402

BRIDGE, WORK, WINE_EXEC = sys.argv[1:4]
EXPECTED = [
    ["plain", "-1000", "1.250", "Yes", ""],
    ["comma, inside", "-2000", "", "No", "North"],
    ['quote "here"', "", "3.750", "Yes", 'Say "hi"'],
    ["", "-4000", "5.000", "No", "a,b"],
]
failures = []


def check(condition, what):
    print(("ok:   " if condition else "FAIL: ") + what)
    if not condition:
        failures.append(what)


def windows(path):
    return "Z:" + path.replace("/", "\\")


shutil.rmtree(WORK, ignore_errors=True)
os.makedirs(WORK)
table = os.path.join(WORK, "grid.csv")
page = os.path.join(WORK, "grid.html")
result = subprocess.run([WINE_EXEC, BRIDGE, windows(table), windows(page)], capture_output=True, text=True)
check(result.returncode == 0 and os.path.exists(table) and os.path.exists(page), "grid_export wrote both files")
if failures:
    sys.exit(1)

with open(table, newline="", encoding="cp1252") as f:
    rows = list(csv.reader(f))
check(rows == EXPECTED, f"python csv reads the cells: {rows}")

office = checkers.short_folder()
shutil.copy(table, os.path.join(office, "grid.csv"))
converted = os.path.join(office, "out", "grid.csv")
converts = checkers.libreoffice(office, "--infilter=CSV:44,34,1",
                                "--convert-to", "csv:Text - txt - csv (StarCalc):9,34,76",
                                "--outdir", os.path.join(office, "out"), os.path.join(office, "grid.csv"))
check(converts and os.path.exists(converted), "LibreOffice converts the file")
if os.path.exists(converted):
    with open(converted, newline="", encoding="utf-8") as f:
        office_rows = [row + [""] * (5 - len(row)) for row in csv.reader(f, delimiter="\t")]
    # LibreOffice reads numbers as numbers: compare them as numbers.
    def normal(cell):
        try:
            return float(cell)
        except ValueError:
            return cell
    check([[normal(c) for c in row] for row in office_rows] == [[normal(c) for c in row] for row in EXPECTED],
          f"LibreOffice reads the same cells: {office_rows}")
shutil.rmtree(office, ignore_errors=True)

lint = subprocess.run(["xmllint", "--html", "--noout", page], capture_output=True, text=True)
check(lint.returncode == 0 and lint.stderr.strip() == "", f"xmllint reads the page: {lint.stderr.strip()}")
dump = subprocess.run(["xmllint", "--html", "--xpath", "count(//tr)", page], capture_output=True, text=True)
check(dump.stdout.strip() == "5", f"the page holds a heading row and four rows: {dump.stdout.strip()}")

sys.exit(1 if failures else 0)
