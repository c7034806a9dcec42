#!/usr/bin/env bash
# When standard output cannot be written, the program still runs to its end,
# then says so in one line on standard error and exits with status 1.
# usage: output_failure.sh PROGRAM
set -u
program=$1
# shellcheck source=tests/e2e/common.sh
source "$(dirname "$0")/common.sh"
work_dir

check() {
  local what=$1 status=$2
  local lines
  lines=$(wc -l < "$work/stderr")
  if [[ $status -ne 1 || $lines -ne 1 ]] || ! grep -q 'writing standard output failed' "$work/stderr"; then
    fail "$what (printf '2\\n0\\n' | $program $3): exit status $status (expected 1), standard error ($lines lines, expected 1):"
    cat "$work/stderr"
  fi
}

printf '2\n0\n' | timeout 10 "$program" > /dev/full 2> "$work/stderr"
check "full disk" $? "> /dev/full"

printf '2\n0\n' | timeout 10 "$program" >&- 2> "$work/stderr"
check "closed standard output" $? ">&-"

# The order must have been taken to its end: with input that never ends, the
# program would wait, so end of input is what lets it finish here.
yes 2 | head -n 100000 | timeout 10 "$program" > /dev/full 2> "$work/stderr"
check "full disk over a long order" $? "> /dev/full (with 100000 lines of 2)"

finish "bash $0 $program"
