#!/usr/bin/python3
"""The checkers' helper, used from a folder as a clone may lie in: a name over
120 characters long with blanks and a comma in it.

  checkers_test.py FOLDER   works in FOLDER, made afresh
"""
import os
import re
import shutil
import sys

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import checkers  # noqa: E402

failures = []


def check(condition, what):
    print(("ok:   " if condition else "FAIL: ") + what)
    if not condition:
        failures.append(what)


base = sys.argv[1]
deep = os.path.join(base, "a folder, with blanks and a comma, whose name is long",
                    "as the folder of a clone may be, for the checkers' programs")
shutil.rmtree(base, ignore_errors=True)
os.makedirs(deep)
check(len(deep) > 120, f"the folder's name is {len(deep)} characters long")

# LibreOffice with its profile and its files in that folder.
with open(os.path.join(deep, "table.csv"), "w") as f:
    f.write("Name,Count\nKilkenny,12\n")
converts = checkers.libreoffice(deep, "--infilter=CSV:44,34,76",
                                "--convert-to", "csv:Text - txt - csv (StarCalc):59,34,76",
                                "--outdir", os.path.join(deep, "out"), os.path.join(deep, "table.csv"))
converted = os.path.join(deep, "out", "table.csv")
check(converts and os.path.isfile(converted), "LibreOffice converts a file with its profile in the folder")
if os.path.isfile(converted):
    with open(converted) as f:
        text = f.read()
    check(text == "Name;Count\nKilkenny;12\n", f"LibreOffice reads the file's cells: {text!r}")

# A short folder stays short and plain when the temporary folder is neither.
os.environ["TMPDIR"] = deep
short = checkers.short_folder()
check(re.fullmatch(r"[A-Za-z0-9/._-]{1,60}", short) is not None, f"the short folder {short} is short and plain")
shutil.rmtree(short, ignore_errors=True)

shutil.rmtree(base, ignore_errors=True)
sys.exit(1 if failures else 0)
