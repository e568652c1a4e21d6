# Sourced by the checkers of printed pages.  The PDF queue names its file after
# the document title (blanks become underscores) in the PDF folder of the user
# who printed, and writes it some time after the job is sent.

# Waits for the PDF printed under the title on the first line of file $1 and
# sets `title` and `pdf` (its path, once it is there and written); false when
# it never comes.
printed_pdf() {
  local token
  title=$(head -n1 "$1" | tr -d '\r')
  token=${title// /_}
  pdf=
  for _ in $(seq 1 120); do
    pdf=$(find "${HOME:-/root}/PDF" /var/spool/cups-pdf -name "*${token}*.pdf" -size +0 2>/dev/null | head -n1 || true)
    if [[ -n $pdf ]]; then
      sleep 0.5  # the queue may still be writing it
      return 0
    fi
    sleep 0.5
  done
  return 1
}
