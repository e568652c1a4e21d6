#!/bin/bash
# Makes sure that CUPS runs with a PDF printer "PDF" as the default printer, so
# that Wine (which asks CUPS for its printers) has one.  Safe to run again:
# a running scheduler and an existing queue are left as they are.
set -euo pipefail

ppd=/usr/share/ppd/cups-pdf/CUPS-PDF_opt.ppd
if [[ ! -f $ppd ]]; then
  echo "pdf-printer: $ppd is missing (package printer-driver-cups-pdf)" >&2
  exit 1
fi
sudo_cmd=()
[[ $(id -u) -ne 0 ]] && sudo_cmd=(sudo)

if ! lpstat -r 2>/dev/null | grep -q 'is running'; then
  "${sudo_cmd[@]}" cupsd
  for _ in $(seq 1 50); do
    lpstat -r 2>/dev/null | grep -q 'is running' && break
    sleep 0.1
  done
fi
if ! lpstat -r 2>/dev/null | grep -q 'is running'; then
  echo "pdf-printer: the CUPS scheduler does not start" >&2
  exit 1
fi
if ! lpstat -p PDF >/dev/null 2>&1; then
  "${sudo_cmd[@]}" lpadmin -p PDF -v cups-pdf:/ -P "$ppd" -E
fi
if ! lpstat -d 2>/dev/null | grep -q ': PDF$'; then
  "${sudo_cmd[@]}" lpadmin -d PDF
fi
lpstat -p PDF >/dev/null
