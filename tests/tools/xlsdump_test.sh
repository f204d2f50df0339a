#!/usr/bin/env bash
# Runs xlsdump on the workbook fixtures and checks output, error text and
# exit status. Usage: xlsdump_test.sh XLSDUMP FIXTURE_FOLDER EXPECTED_FOLDER
set -u
xlsdump=$1 fixtures=$2 expected=$3
failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }
out=$(mktemp) err=$(mktemp)
trap 'rm -f "$out" "$err"' EXIT

# run FILE...: runs xlsdump, leaving stdout in $out, stderr in $err, status in $status
run() { "$xlsdump" "$@" >"$out" 2>"$err"; status=$?; }

for name in lo97_content sheetjs_biff2; do
  run "$fixtures/$name.xls"
  [ "$status" -eq 0 ] || fail "$name: exit status $status"
  diff -u "$expected/$name.txt" "$out" || fail "$name: output differs"
done

check_failure() {  # FILE MESSAGE
  run "$1"
  [ "$status" -eq 1 ] || fail "$1: exit status $status, expected 1"
  [ ! -s "$out" ] || fail "$1: printed on standard output"
  [ "$(cat "$err")" = "$2" ] || fail "$1: error text '$(cat "$err")', expected '$2'"
}
check_failure "$fixtures/lo97_encrypted.xls" "Could not read the password protected file"
check_failure "$fixtures/does-not-exist.xls" "File is not exists."
check_failure "$fixtures/NOTES.md" "File is not a Excel file"

run "$fixtures/sheetjs_content.xlsx"
[ "$status" -eq 0 ] && [ ! -s "$out" ] || fail "xlsx: status $status or output"
run --help
[ "$status" -eq 0 ] && grep -q '^usage: xlsdump FILE' "$out" || fail "--help"
run
[ "$status" -eq 2 ] || fail "no argument: status $status"

[ "$failures" -eq 0 ] && echo "xlsdump: all checks passed"
exit $((failures > 0))
