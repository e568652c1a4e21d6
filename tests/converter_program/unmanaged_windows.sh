#!/bin/bash
# Under Xvfb no window manager runs, and Wine waits for one each time a box or
# dialog closes.  The windows of the converter program and of its test program
# are left unmanaged instead (their own application settings only).
for exe in Carrowmapper.exe test_converter_program.exe; do
  wine reg add "HKCU\\Software\\Wine\\AppDefaults\\$exe\\X11 Driver" /v Managed /d N /f \
    >/dev/null 2>&1 </dev/null || exit 1
done
