#!/usr/bin/env bash
# Every shipped program: --help (usage, files, exit statuses) and --version on standard output
# with status 0; an unknown "--" option refused with status 1; a help that cannot be written is
# a failure. Usage: programOptions.sh VERSION PROGRAM...
set -uo pipefail
version=$1; shift
# Programs not built in this tree come as empty arguments.
programs=(); for program in "$@"; do [ -n "$program" ] && programs+=("$program"); done
set -- "${programs[@]}"
failures=0
fail() { echo "FAIL: $*" >&2; failures=$((failures + 1)); }
tmp=$(mktemp -d); trap 'rm -rf "$tmp"' EXIT
for program in "$@"; do
  name=$(basename "$program")
  run() { env -u DISPLAY -u WAYLAND_DISPLAY "$program" "$@" >"$tmp/out" 2>"$tmp/err" </dev/null; }
  run --help; status=$?
  [ $status -eq 0 ] || fail "$name --help: status $status"
  head -1 "$tmp/out" | grep -q "^Usage: $name " || fail "$name --help: no usage line"
  grep -q '^Exit status:' "$tmp/out" || fail "$name --help: no exit statuses"
  [ -s "$tmp/err" ] && fail "$name --help: wrote to standard error"
  [ "$(awk 'length > 80' "$tmp/out")" = "" ] || fail "$name --help: a line wider than 80 columns"
  run --version; status=$?
  # The version, then the git revision of the build (or "unknown" outside a checkout).
  [ $status -eq 0 ] && grep -Eqx "$name \(TARNOVA\) $version \(revision ([0-9a-f]+(-dirty)?|unknown)\)" "$tmp/out" ||
    fail "$name --version: status $status, \"$(cat "$tmp/out")\""
  run --frobnicate; status=$?
  [ $status -eq 1 ] && [ ! -s "$tmp/out" ] && grep -q -- '--frobnicate' "$tmp/err" ||
    fail "$name --frobnicate: status $status"
  env -u DISPLAY -u WAYLAND_DISPLAY "$program" --help >/dev/full 2>/dev/null </dev/null; status=$?
  [ $status -eq 1 ] || fail "$name --help into a full device: status $status"
done
[ $failures -eq 0 ]
