#!/usr/bin/python3
"""Checks the large workbook of the spreadsheet library's tests.

  check_large_workbook.py xlrd WORKBOOK   reads it with xlrd
  check_large_workbook.py csv FILE        reads LibreOffice's CSV of its Points sheet
  check_large_workbook.py empty WORKBOOK  checks the library's built-in empty workbook

Each of the 60000 rows must hold the reproducible point that converter_columns.h
describes: the same rules, computed here again.
"""
import csv
import datetime
import sys

ROWS = 60000
HEADINGS = ["OS Grid Reference", "Latitude", "Longitude", "Name", "Information", "Name 2", "Date and Time",
            "Altitude", "Proximity", "Symbol name", "Route or Track name", "Colour name"]


def sample(i):
    osgb = "" if i % 3 == 0 else "TQ %05d %05d" % (i % 100000, (i * 7) % 100000)
    when = datetime.datetime(2007, 3, 5) + datetime.timedelta(days=i % 365, seconds=i % 86400)
    return [osgb, (500000 + i) / 10000.0, -(i % 18000) / 100.0, "Point %05d" % i,
            "Info for point %d \u2013 M\u00fcnster" % i, "P%d" % i, when,
            -9999.0 if i % 2 == 0 else i * 0.5, (i % 10) * 1.5,
            "Waypoint" if i % 4 != 0 else "", "Track %d" % (i // 1000 + 1), "Red" if i % 5 == 0 else ""]


def fail(message):
    sys.exit("large workbook: " + message)


def check_xlrd(path):
    import xlrd
    book = xlrd.open_workbook(path)
    names = book.sheet_names()
    if names != ["Tabelle1", "Tabelle2", "Tabelle3", "Points"]:
        fail("sheets %r" % names)
    sheet = book.sheet_by_name("Points")
    if sheet.nrows != ROWS + 1:
        fail("%d rows" % sheet.nrows)
    if [c.value for c in sheet.row(0)] != HEADINGS:
        fail("headings %r" % [c.value for c in sheet.row(0)])
    for i in range(1, ROWS + 1):
        want = sample(i)
        cells = sheet.row(i)
        got = []
        for k, cell in enumerate(cells + [None] * (12 - len(cells))):
            if cell is None or cell.ctype == xlrd.XL_CELL_EMPTY:
                got.append("")
            elif cell.ctype == xlrd.XL_CELL_DATE:
                got.append(datetime.datetime(*xlrd.xldate_as_tuple(cell.value, book.datemode)))
            else:
                got.append(cell.value)
        if got != want:
            fail("row %d: %r is not %r" % (i, got, want))
    print("xlrd: %d rows intact" % ROWS)


def check_csv(path):
    with open(path, newline="", encoding="utf-8") as f:
        rows = list(csv.reader(f))
    if rows[0] != HEADINGS:
        fail("CSV headings %r" % rows[0])
    if len(rows) != ROWS + 1:
        fail("CSV of %d lines" % len(rows))
    for i in range(1, ROWS + 1):
        want = sample(i)
        got = rows[i] + [""] * (12 - len(rows[i]))
        for k in (1, 2, 7, 8):
            got[k] = float(got[k])
        got[6] = datetime.datetime.strptime(got[6], "%Y-%m-%d %H:%M:%S")
        if got != want:
            fail("CSV row %d: %r is not %r" % (i, got, want))
    print("LibreOffice: %d rows intact" % ROWS)


def check_empty(path):
    import xlrd
    from xlrd import compdoc
    with open(path, "rb") as f:
        data = f.read()
    if len(data) != 11776:
        fail("empty workbook of %d bytes" % len(data))
    book = xlrd.open_workbook(file_contents=data)
    if book.sheet_names() != ["Tabelle1", "Tabelle2", "Tabelle3"] or book.datemode != 0:
        fail("empty workbook sheets %r, date mode %d" % (book.sheet_names(), book.datemode))
    if any(s.nrows for s in book.sheets()):
        fail("empty workbook has cells")
    doc = compdoc.CompDoc(data)
    sizes = [len(doc.get_named_stream(name)) for name in
             ("Workbook", "\x05SummaryInformation", "\x05DocumentSummaryInformation")]
    if sizes != [4096, 188, 344]:
        fail("empty workbook streams of %r bytes" % sizes)
    print("xlrd: the empty workbook is sound")


if __name__ == "__main__":
    {"xlrd": check_xlrd, "csv": check_csv, "empty": check_empty}[sys.argv[1]](sys.argv[2])
