#!/usr/bin/python3
"""Checks the workbook that tabular_check_tool write-xls makes.

  check_workbook.py xlrd WORKBOOK   reads it with xlrd
  check_workbook.py csv FILE        reads LibreOffice's CSV of its Routes sheet
"""
import csv
import datetime
import sys

HEADINGS = ["OS Grid Reference", "Latitude", "Longitude", "Name", "Information", "Name 2", "Date and Time",
            "Altitude", "Proximity", "Symbol name", "Route or Track name", "Colour name"]
BIG_BEN = "Big Ben \u2013 Westminster"
ROWS = [
    # reference, latitude, longitude, name, information, name 2, date, altitude, proximity, symbol, route, colour
    [None, 51.5, -0.12, BIG_BEN, "About " + BIG_BEN, "Big Be", datetime.datetime(2007, 3, 5, 14, 7, 9), 12.5, 25.0,
     "House", "Thames walk", "Red"],
    [None, 51.508, -0.076, "Tower of London", "About Tower of London", "Tower",
     datetime.datetime(2007, 10, 17, 12, 34, 56), -9999.0, 25.0, "House", "Thames walk", "Red"],
    ["Invalid OS ref.", 40.0, 10.0, "D" * 200, "About " + "D" * 200, "DDDDDD", datetime.datetime(2008, 12, 31, 23, 59, 59),
     0.0, 25.0, "House", "Abroad", "Red"],
]


def fail(message):
    sys.exit("converter workbook: " + message)


def compare(row_number, got):
    want = ROWS[row_number - 1]
    for k, (g, w) in enumerate(zip(got, want)):
        if k == 0 and w is None:
            # A grid reference of central London: two letters and two numbers.
            if not (g.startswith("TQ ") and len(g.split()) == 3):
                fail("row %d reference %r" % (row_number, g))
        elif k in (1, 2):
            if abs(float(g) - w) > 1e-5:
                fail("row %d column %s: %r not %r" % (row_number, HEADINGS[k], g, w))
        elif k in (3, 4) and len(w) > 129:
            # A text longer than its cell is cut, to 128 or 129 characters.
            if not (w.startswith(g) and len(g) in (128, 129)):
                fail("row %d long text %r" % (row_number, g))
        elif g != w:
            fail("row %d column %s: %r not %r" % (row_number, HEADINGS[k], g, w))


def check_xlrd(path):
    import xlrd
    book = xlrd.open_workbook(path)
    if "Routes" not in book.sheet_names():
        fail("sheets %r" % book.sheet_names())
    sheet = book.sheet_by_name("Routes")
    if [c.value for c in sheet.row(0)] != HEADINGS:
        fail("headings %r" % [c.value for c in sheet.row(0)])
    if sheet.nrows != len(ROWS) + 1:
        fail("%d rows" % sheet.nrows)
    for i in range(1, sheet.nrows):
        got = []
        for cell in sheet.row(i):
            if cell.ctype == xlrd.XL_CELL_DATE:
                got.append(datetime.datetime(*xlrd.xldate_as_tuple(cell.value, book.datemode)))
            else:
                got.append(cell.value)
        compare(i, got)
    print("xlrd: the headings and %d rows are intact" % len(ROWS))


def check_csv(path):
    with open(path, newline="", encoding="utf-8") as f:
        rows = list(csv.reader(f))
    if rows[0] != HEADINGS:
        fail("CSV headings %r" % rows[0])
    if len(rows) != len(ROWS) + 1:
        fail("CSV of %d lines" % len(rows))
    for i in range(1, len(rows)):
        got = rows[i] + [""] * (12 - len(rows[i]))
        for k in (1, 2, 7, 8):
            got[k] = float(got[k])
        got[6] = datetime.datetime.strptime(got[6], "%Y-%m-%d %H:%M:%S")
        compare(i, got)
    print("LibreOffice: the headings and %d rows are intact" % len(ROWS))


if __name__ == "__main__":
    {"xlrd": check_xlrd, "csv": check_csv}[sys.argv[1]](sys.argv[2])
