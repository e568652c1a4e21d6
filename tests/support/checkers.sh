# shellcheck shell=bash
# Sourced by the shell checkers: tests/support/checkers.py for scripts.  The
# clone may lie in any folder; the programs that check its files get paths
# they can take.

checkers_py="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)/checkers.py"

# Sets `work` to a short temporary folder of the checker's own, removed when
# the script ends.  Programs that limit the length of a name work in it.
checker_work_dir() {
  work=$(/usr/bin/python3 "$checkers_py" short-folder) || return 1
  trap 'rm -rf "$work"' EXIT
}

# libreoffice ARGS...: LibreOffice headless, with a profile of its own in
# $work and a time limit; says what went wrong when it fails.  Its output is
# in $work/libreoffice.log.
libreoffice() {
  /usr/bin/python3 "$checkers_py" libreoffice "$work" "$@"
}
