#!/usr/bin/python3
"""Reads a workbook made by LibreOffice through Celox.dll with row conditions
and sort orders, and compares every read with the rows that this script's own
filter and sort choose from the same cells, as xlrd reads them.

  check_clauses.py SOURCE_DIR CLAUSE_READER WORK_FOLDER

The workbook's sheet "Clauses" holds a few hundred rows of numbers, texts that
differ in case or hold quotes, dates with and without a time, and empty cells
in every column.  LibreOffice (headless) makes it from a CSV file.  For each
case of the table below, clause_reader (under Wine) reads the sheet with the
case's condition and order; the reference is the case's filter, written here
with SQL's three truth values (an empty cell is NULL: it meets no comparison,
and its NOT neither), and its sort, which puts empty cells first in ascending
order and keeps rows that compare equal in sheet order.  Texts compare without
regard to case.  A clause that cannot be read must fail with the statement
error 70008 and no rows.
"""
import csv
import datetime
import pathlib
import random
import re
import shutil
import subprocess
import sys

sys.path.insert(0, str(pathlib.Path(__file__).resolve().parent.parent / "support"))
import checkers  # noqa: E402

ROWS = 320
SHEET = "Clauses"
HEADINGS = ["Id", "Name", "Amount", "When", "Code", "Place Name"]
NAMES = ["alpha", "Alpha", "ALPHA", "bravo", "Bravo", "O'Brien", "o'brien", "O'BRIEN", "it's", "\u00c6r\u00f8",
         "\u00e6R\u00d8", "zulu", "Zulu", "mike", "Mike's 'quote'", "delta echo", "Delta", "m\u00fcnster",
         "M\u00dcNSTER", "charlie"]
AMOUNTS = [-3, -2.25, 0, 1, 2.5, 3.5, 4, 4.5, 7, 9.75, 12, 100]
CODES = ["a1", "A1", "b2", "B2", "c3", "x1", "123", "Z9"]
PLACES = ["New York", "new york", "Paris", "PARIS", "Z\u00fcrich", "Oslo"]
# Dates that conditions name exactly.
FIXED_DATES = {5: datetime.datetime(2008, 2, 29, 13, 45), 6: datetime.datetime(2009, 12, 31, 23, 59, 59),
               7: datetime.datetime(2009, 1, 1), 8: datetime.datetime(2008, 1, 15)}


def sample_rows():
    rng = random.Random(37)
    rows = []
    for i in range(1, ROWS + 1):
        start = datetime.datetime(2007, 1, 1) + datetime.timedelta(days=rng.randrange(1800))
        when = start + datetime.timedelta(seconds=rng.randrange(86400)) if i % 2 else start
        rows.append({
            "Id": float(i),
            "Name": None if i % 11 == 0 else rng.choice(NAMES),
            "Amount": None if i % 9 == 0 else float(rng.choice(AMOUNTS)),
            "When": None if i % 13 == 0 else FIXED_DATES.get(i, when),
            "Code": None if i % 7 == 0 else rng.choice(CODES),
            "Place Name": None if i % 5 == 0 else rng.choice(PLACES),
        })
    return rows


def make_workbook(work):
    """The sheet as CSV, turned into an Excel 97-2003 workbook by LibreOffice."""
    source = work / (SHEET + ".csv")
    with open(source, "w", newline="", encoding="utf-8") as f:
        out = csv.writer(f)
        out.writerow(HEADINGS)
        for r in sample_rows():
            cells = []
            for h in HEADINGS:
                v = r[h]
                if v is None:
                    cells.append("")
                elif isinstance(v, datetime.datetime):
                    cells.append(v.strftime("%Y-%m-%d %H:%M:%S"))
                elif isinstance(v, float):
                    cells.append(repr(v))
                else:
                    cells.append(v)
            out.writerow(cells)
    # Comma, double quote, UTF-8, from line 1; Id and Amount standard, When as
    # year-month-day, the texts as texts (so that 123 stays a text).
    import_options = "CSV:44,34,76,1,1/1/2/2/3/1/4/5/5/2/6/2,,false,true"
    # LibreOffice works in a short folder of its own, whatever the build folder's path.
    office = pathlib.Path(checkers.short_folder())
    try:
        converted = checkers.libreoffice(str(office), "--infilter=" + import_options,
                                         "--convert-to", "xls:MS Excel 97", "--outdir", str(office), str(source))
        made = office / (SHEET + ".xls")
        if not converted or not made.exists():
            fail("LibreOffice made no workbook from " + str(source))
        workbook = work / (SHEET + ".xls")
        shutil.copyfile(made, workbook)
    finally:
        shutil.rmtree(office, ignore_errors=True)
    return workbook


def read_cells(workbook):
    """The sheet's data rows as xlrd reads them: None for an empty cell."""
    import xlrd
    book = xlrd.open_workbook(str(workbook))
    sheet = book.sheet_by_name(SHEET)
    if [c.value for c in sheet.row(0)] != HEADINGS:
        fail("headings %r" % [c.value for c in sheet.row(0)])
    rows = []
    for i in range(1, sheet.nrows):
        row = {}
        for k, h in enumerate(HEADINGS):
            cell = sheet.cell(i, k) if k < sheet.row_len(i) else None
            if cell is None or cell.ctype in (xlrd.XL_CELL_EMPTY, xlrd.XL_CELL_BLANK):
                row[h] = None
            elif cell.ctype == xlrd.XL_CELL_DATE:
                row[h] = datetime.datetime(*xlrd.xldate_as_tuple(cell.value, book.datemode))
            else:
                row[h] = cell.value
        rows.append(row)
    # The workbook must hold what the cases are about.
    if len(rows) != ROWS:
        fail("%d data rows" % len(rows))
    for h in HEADINGS[1:]:
        if not any(r[h] is None for r in rows):
            fail("no empty cell in " + h)
    if not all(isinstance(r["When"], datetime.datetime) for r in rows if r["When"] is not None):
        fail("When holds cells that are no dates")
    if not all(isinstance(r[h], str) for h in ("Name", "Code", "Place Name") for r in rows if r[h] is not None):
        fail("a text column holds cells that are no texts")
    return rows


# SQL's three truth values: True, False and None for unknown.
def compare(a, b):
    if a is None or b is None:
        return None
    if isinstance(a, str) and isinstance(b, str):
        a, b = a.lower(), b.lower()
    return (a > b) - (a < b)


def comparison(test):
    return lambda a, b: None if compare(a, b) is None else test(compare(a, b))


eq, ne = comparison(lambda c: c == 0), comparison(lambda c: c != 0)
lt, le = comparison(lambda c: c < 0), comparison(lambda c: c <= 0)
gt, ge = comparison(lambda c: c > 0), comparison(lambda c: c >= 0)


def both(*values):
    return False if False in values else None if None in values else True


def either(*values):
    return True if True in values else None if None in values else False


def negate(value):
    return None if value is None else not value


def like(value, pattern):
    if value is None:
        return None
    expression = "".join(".*" if c == "%" else "." if c == "_" else re.escape(c) for c in pattern)
    return re.fullmatch(expression, value, re.IGNORECASE | re.DOTALL) is not None


def between(value, low, high):
    return both(ge(value, low), le(value, high))


def among(value, items):
    return either(*[eq(value, item) for item in items])


def when(*parts):
    return datetime.datetime(*parts)


MALFORMED = "malformed"

# condition, order, the reference filter (None: every row), the reference sort
# keys (column, descending).
CASES = [
    ("WHERE Amount > 4", "", lambda r: gt(r["Amount"], 4), []),
    ("WHERE Amount >= 4.5", "", lambda r: ge(r["Amount"], 4.5), []),
    ("WHERE Amount < -2.25", "", lambda r: lt(r["Amount"], -2.25), []),
    ("WHERE Amount <= 0", "", lambda r: le(r["Amount"], 0), []),
    ("WHERE Amount = 7", "", lambda r: eq(r["Amount"], 7), []),
    ("WHERE Amount <> 7", "", lambda r: ne(r["Amount"], 7), []),
    ("WHERE Id < Amount", "", lambda r: lt(r["Id"], r["Amount"]), []),
    ("WHERE Name = 'alpha'", "", lambda r: eq(r["Name"], "alpha"), []),
    ("WHERE Name = 'O''Brien'", "", lambda r: eq(r["Name"], "O'Brien"), []),
    ("WHERE Name = 'Mike''s ''QUOTE'''", "", lambda r: eq(r["Name"], "Mike's 'quote'"), []),
    ("WHERE Name = '\u00c6R\u00d8'", "", lambda r: eq(r["Name"], "\u00e6r\u00f8"), []),
    ("WHERE Name > 'm'", "", lambda r: gt(r["Name"], "m"), []),
    ("WHERE Name <> 'ALPHA'", "", lambda r: ne(r["Name"], "alpha"), []),
    ("WHERE [Place Name] = 'new york'", "", lambda r: eq(r["Place Name"], "new york"), []),
    ("WHERE [When] > #2010-06-01#", "", lambda r: gt(r["When"], when(2010, 6, 1)), []),
    ("WHERE [When] = #2008-02-29 13:45:00#", "", lambda r: eq(r["When"], when(2008, 2, 29, 13, 45)), []),
    ("WHERE [When] <= #01/15/2008#", "", lambda r: le(r["When"], when(2008, 1, 15)), []),
    ("WHERE [When] BETWEEN #2009-01-01# AND #2009-12-31 23:59:59#", "",
     lambda r: between(r["When"], when(2009, 1, 1), when(2009, 12, 31, 23, 59, 59)), []),
    ("WHERE Amount > 2 AND Name LIKE 'b%'", "", lambda r: both(gt(r["Amount"], 2), like(r["Name"], "b%")), []),
    ("WHERE Amount < 0 OR Amount > 9", "", lambda r: either(lt(r["Amount"], 0), gt(r["Amount"], 9)), []),
    ("WHERE NOT Amount > 3", "", lambda r: negate(gt(r["Amount"], 3)), []),
    ("WHERE NOT (Name = 'alpha' OR Amount IS NULL)", "",
     lambda r: negate(either(eq(r["Name"], "alpha"), r["Amount"] is None)), []),
    ("WHERE (Amount > 1 OR Code = 'x1') AND NOT [When] IS NULL", "",
     lambda r: both(either(gt(r["Amount"], 1), eq(r["Code"], "x1")), r["When"] is not None), []),
    ("WHERE Amount > 1 OR Code = 'x1' AND [When] IS NULL", "",
     lambda r: either(gt(r["Amount"], 1), both(eq(r["Code"], "x1"), r["When"] is None)), []),
    ("WHERE Name LIKE '%ien'", "", lambda r: like(r["Name"], "%ien"), []),
    ("WHERE Name LIKE '_lpha'", "", lambda r: like(r["Name"], "_lpha"), []),
    ("WHERE Name NOT LIKE '%a%'", "", lambda r: negate(like(r["Name"], "%a%")), []),
    ("WHERE [Place Name] LIKE 'z_rich'", "", lambda r: like(r["Place Name"], "z_rich"), []),
    ("WHERE Amount BETWEEN -1 AND 3.5", "", lambda r: between(r["Amount"], -1, 3.5), []),
    ("WHERE Amount NOT BETWEEN -1 AND 3.5", "", lambda r: negate(between(r["Amount"], -1, 3.5)), []),
    ("WHERE Code IN ('a1', 'B2', 'c3')", "", lambda r: among(r["Code"], ["a1", "b2", "c3"]), []),
    ("WHERE Amount IN (1, 2.5, -3)", "", lambda r: among(r["Amount"], [1, 2.5, -3]), []),
    ("WHERE Code NOT IN ('a1', 'z9')", "", lambda r: negate(among(r["Code"], ["a1", "z9"])), []),
    ("WHERE Amount IS NULL", "", lambda r: r["Amount"] is None, []),
    ("WHERE [When] IS NOT NULL AND Name IS NULL", "", lambda r: r["When"] is not None and r["Name"] is None, []),
    ("where amount > 3 and NAME like 'A%'", "", lambda r: both(gt(r["Amount"], 3), like(r["Name"], "a%")), []),
    ("", "ORDER BY Amount", None, [("Amount", False)]),
    ("", "ORDER BY Amount DESC", None, [("Amount", True)]),
    ("", "ORDER BY Name, Amount DESC", None, [("Name", False), ("Amount", True)]),
    ("", "order by [When] desc, Id", None, [("When", True), ("Id", False)]),
    ("WHERE Amount > 0", "ORDER BY Name ASC, [When] DESC", lambda r: gt(r["Amount"], 0),
     [("Name", False), ("When", True)]),
    ("", "ORDER BY Code DESC, [Place Name], Id DESC", None, [("Code", True), ("Place Name", False), ("Id", True)]),
    ("WHERE Name LIKE 'a%' OR Name IS NULL", "ORDER BY [Place Name], Id DESC",
     lambda r: either(like(r["Name"], "a%"), r["Name"] is None), [("Place Name", False), ("Id", True)]),
    ("WHERE Amount >", "", MALFORMED, []),
    ("WHERE Name = 'it''s", "", MALFORMED, []),
    ("WHERE Amount == 3", "", MALFORMED, []),
    ("WHERE (Amount > 3", "", MALFORMED, []),
    ("WHERE Amount BETWEEN 1 3", "", MALFORMED, []),
    ("WHERE Amount IN ()", "", MALFORMED, []),
    ("WHERE [When] > #2009-13-45#", "", MALFORMED, []),
    ("WHERE Missing > 3", "", MALFORMED, []),
    ("Amount > 3", "", MALFORMED, []),
    ("", "ORDER BY", MALFORMED, []),
    ("", "ORDER Amount", MALFORMED, []),
    ("", "ORDER BY Amount SIDEWAYS", MALFORMED, []),
    ("WHERE Amount > 3", "GROUP BY Name", MALFORMED, []),
]


def sort_key(value):
    if value is None:
        return (0,)
    if isinstance(value, str):
        return (2, value.lower())
    return (1, value)


def reference(rows, keep, keys):
    chosen = [r for r in rows if keep is None or keep(r) is True]
    for column, descending in reversed(keys):
        chosen.sort(key=lambda r: sort_key(r[column]), reverse=descending)
    return chosen


def shown(row):
    """A row as clause_reader writes it: an empty cell reads as zero bytes."""
    def number(v):
        return format(v if v is not None else 0.0, ".17g")
    stamp = row["When"].strftime("%Y-%m-%d %H:%M:%S") if row["When"] is not None else ""
    return [number(row["Id"]), row["Name"] or "", number(row["Amount"]), stamp, row["Code"] or ""]


def windows_path(path):
    return subprocess.run(["winepath", "-w", str(path)], capture_output=True, text=True, check=True).stdout.strip()


def read_results(path):
    """The reads of clause_reader: (result, error text, rows) for each case."""
    reads = []
    for line in path.read_bytes().decode("cp1252").split("\n"):
        if line.startswith("read "):
            result, _, error = line[5:].partition("\t")
            reads.append((int(result), error, []))
        elif line:
            reads[-1][2].append(line.split("\t"))
    return reads


def fail(message):
    sys.exit("clauses against LibreOffice: " + message)


def main():
    source_dir, reader, work = pathlib.Path(sys.argv[1]), pathlib.Path(sys.argv[2]), pathlib.Path(sys.argv[3])
    shutil.rmtree(work, ignore_errors=True)
    work.mkdir(parents=True)
    workbook = make_workbook(work)
    rows = read_cells(workbook)

    cases_file, results_file = work / "cases.txt", work / "results.txt"
    cases_file.write_bytes("".join(c + "\t" + o + "\n" for c, o, _, _ in CASES).encode("cp1252"))
    run = subprocess.run(["bash", str(source_dir / "scripts" / "wine-exec.sh"), str(reader), windows_path(workbook),
                          windows_path(cases_file), windows_path(results_file)],
                         capture_output=True, text=True, errors="replace", timeout=300)
    if run.returncode != 0:
        fail("clause_reader ended with %d: %s" % (run.returncode, run.stdout[-2000:]))
    reads = read_results(results_file)
    if len(reads) != len(CASES):
        fail("%d reads for %d cases" % (len(reads), len(CASES)))

    faults = []
    for (condition, order, keep, keys), (result, error, got) in zip(CASES, reads):
        case = (condition + " " + order).strip()
        if keep == MALFORMED:
            if result != -1 or got or "SQLExecDirect( hBef, sSQLStmt, SQL_NTSL / Error code: 70008" not in error:
                faults.append("%s: %d rows, error %r instead of -1 with 70008" % (case, result, error))
            continue
        want = [shown(r) for r in reference(rows, keep, keys)]
        if not want:
            faults.append("%s: the reference keeps no row; the case tests nothing" % case)
        elif result != len(want) or got != want:
            first = next((i for i, (a, b) in enumerate(zip(got, want)) if a != b), min(len(got), len(want)))
            faults.append("%s: %d rows (error %r), %d expected; first difference at row %d: %r, expected %r" % (
                case, result, error, len(want), first + 1, got[first] if first < len(got) else None,
                want[first] if first < len(want) else None))
    if faults:
        fail("\n  ".join(["%d of %d cases differ:" % (len(faults), len(CASES))] + faults))
    print("clauses against LibreOffice: %d cases on %d rows agree" % (len(CASES), len(rows)))


if __name__ == "__main__":
    main()
