#!/usr/bin/env bash
# scripts/package.sh refuses a job count that is not a positive whole number, from -j or JOBS,
# before it installs or builds anything, and prints its usage with -h.
# Usage: packageScript.sh SOURCE_DIR
set -uo pipefail
script=$1/scripts/package.sh
failures=0
fail() { echo "FAIL: $*" >&2; failures=$((failures + 1)); }
for arguments in "-j 0" "-j x" "-j -2" "-j 1.5" "extra" "-q"; do
  # shellcheck disable=SC2086
  errors=$(bash "$script" $arguments 2>&1 >/dev/null </dev/null); status=$?
  [ $status -eq 1 ] && [ -n "$errors" ] || fail "package.sh $arguments: status $status, \"$errors\""
done
errors=$(JOBS=none bash "$script" 2>&1 >/dev/null </dev/null); status=$?
[ $status -eq 1 ] && grep -q '"none"' <<<"$errors" || fail "JOBS=none: status $status, \"$errors\""
usage=$(bash "$script" -h </dev/null); status=$?
[ $status -eq 0 ] && grep -q -- '-j N' <<<"$usage" || fail "package.sh -h: status $status"
[ $failures -eq 0 ]
