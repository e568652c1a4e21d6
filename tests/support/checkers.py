#!/usr/bin/python3
"""What the checkers need to hand programs of their own paths they can take.

The clone, and with it the build folder, may lie anywhere, under a long name
with blanks.  Some programs cannot take such a path as it stands: LibreOffice
wants its profile folder as a file URL, percent-encoded, and hangs on one with
raw blanks; hp2xx aborts on an output name of 100 characters or more; GPSBabel
splits its options, file names among them, at commas.  So the checkers work in
a short temporary folder of their own and build URLs here.

As a module: short_folder(), file_url(path), libreoffice(work, *arguments).
From a shell (tests/support/checkers.sh wraps these):
  checkers.py short-folder            makes a short temporary folder, prints its path
  checkers.py libreoffice WORK ARGS   runs LibreOffice headless with ARGS
"""
import os
import pathlib
import re
import shlex
import signal
import subprocess
import sys
import tempfile

# LibreOffice takes seconds for the largest file the tests give it; a call
# that takes minutes is stuck, and is stopped well inside the test's own time
# limit so that the test fails with the reason.
LIBREOFFICE_SECONDS = 120

# A temporary folder under a name this long leaves room for the names the
# checkers give their files inside it.
SHORT_BASE_LENGTH = 40


def short_folder():
    """A new temporary folder under a short, plain name (no blank, no comma:
    GPSBabel splits its options at commas); the caller removes it."""
    base = os.environ.get("TMPDIR") or "/tmp"
    plain = re.fullmatch(r"[A-Za-z0-9/._-]+", base) and len(base) <= SHORT_BASE_LENGTH
    if not plain or not os.path.isdir(base):
        base = "/tmp"
    return tempfile.mkdtemp(prefix="carrow-", dir=base)


def file_url(path):
    """The file URL of a path, every character a URL may not hold percent-encoded."""
    return pathlib.Path(os.path.abspath(path)).as_uri()


def libreoffice(work, *arguments):
    """Runs LibreOffice headless with a profile of its own in the folder `work`
    and a time limit.  Its output goes to work/libreoffice.log.  Returns True
    when it ended well; otherwise prints what went wrong and returns False."""
    log_path = os.path.join(work, "libreoffice.log")
    command = ["soffice", "--headless", "--norestore",
               "-env:UserInstallation=" + file_url(os.path.join(work, "profile")), *arguments]
    with open(log_path, "w") as log:
        # A session of its own, so that a stuck call is stopped with every
        # process it started.
        office = subprocess.Popen(command, stdin=subprocess.DEVNULL, stdout=log, stderr=subprocess.STDOUT,
                                  start_new_session=True)
        try:
            status = office.wait(timeout=LIBREOFFICE_SECONDS)
        except subprocess.TimeoutExpired:
            os.killpg(office.pid, signal.SIGKILL)
            office.wait()
            status = None
    if status == 0:
        return True
    with open(log_path, errors="replace") as log:
        output = log.read().strip()
    what = "did not end within %d seconds" % LIBREOFFICE_SECONDS if status is None else "ended with status %d" % status
    print("LibreOffice %s: %s\n%s" % (what, shlex.join(command), output or "(no output)"))
    return False


if __name__ == "__main__":
    task = sys.argv[1] if len(sys.argv) > 1 else ""
    if task == "short-folder" and len(sys.argv) == 2:
        print(short_folder())
    elif task == "libreoffice" and len(sys.argv) >= 4:
        sys.exit(0 if libreoffice(sys.argv[2], *sys.argv[3:]) else 1)
    else:
        sys.exit(__doc__)
