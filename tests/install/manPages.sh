#!/usr/bin/env bash
# Each shipped program has a manual page that man formats without a warning, with the sections a
# reader looks for. Usage: manPages.sh MAN_DIR PROGRAM...
set -uo pipefail
dir=$1; shift
# Programs not built in this tree come as empty arguments.
programs=(); for program in "$@"; do [ -n "$program" ] && programs+=("$program"); done
set -- "${programs[@]}"
failures=0
fail() { echo "FAIL: $*" >&2; failures=$((failures + 1)); }
for program in "$@"; do
  name=$(basename "$program")
  page="$dir/$name.1.gz"
  [ -f "$page" ] || { fail "$name: no manual page $page"; continue; }
  warnings=$(MANWIDTH=80 man --warnings -E UTF-8 -l "$page" 2>&1 >/dev/null)
  [ -z "$warnings" ] || fail "$name: $warnings"
  text=$(MANWIDTH=80 man -E UTF-8 -l "$page" 2>/dev/null)
  for section in NAME SYNOPSIS DESCRIPTION OPTIONS 'SEE ALSO'; do
    grep -q "^$section\$" <<<"$text" || fail "$name: no $section section"
  done
  grep -q "Exit status:" <<<"$text" || fail "$name: no exit statuses"
done
[ $failures -eq 0 ]
