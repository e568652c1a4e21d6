#!/bin/bash
# Runs one Windows program under Wine and passes its exit code back.
# The caller (scripts/test.sh) provides DISPLAY, WINEPREFIX and a running wineserver.
#
# Wine's own background processes (services, the desktop window) can be started
# by any program and inherit its output descriptors; if those were CTest's pipe,
# CTest would wait for them forever.  So the program writes into a file, which is
# copied to our output once the program has ended.
export WINEDEBUG=${WINEDEBUG:--all}
export WINEDLLOVERRIDES=${WINEDLLOVERRIDES:-mscoree,mshtml=}
output=$(mktemp)
trap 'rm -f "$output"' EXIT
wine "$@" >"$output" 2>&1 </dev/null
status=$?
cat "$output"
exit $status
