#!/usr/bin/env bash
# Runs one transcript: feeds NAME.in to the program under the given locale
# and compares standard output byte for byte with NAME.out, which holds what
# the neutral locale prints; under a locale that writes decimals with a comma
# only the separator of the closing total differs. Standard error must stay
# empty and the exit status must be 0. A program that loops or floods its
# output is stopped at 10 s or four times the transcript's size and 16 KiB.
#
# With --crlf the program must end every line with CR LF, as on Windows, and
# change nothing else: each LF of NAME.out is then expected as CR LF.
#
# usage: run_case.sh [--crlf] PROGRAM CASES_DIR/NAME LOCALE
set -u
crlf=0
if [[ $1 == --crlf ]]; then
  crlf=1
  shift
fi
program=$1 case=$2 locale=$3

# shellcheck source=tests/e2e/common.sh
source "$(dirname "$0")/common.sh"
require_locale "$locale"

work_dir

separator=.
[[ $(LC_ALL=$locale locale decimal_point) == "," ]] && separator=,
sed "\$ s/\\([0-9]\\)\\.\\([0-9]\\{6\\}\\)\$/\\1$separator\\2/" "$case.out" > "$work/expected"
((crlf)) && perl -pi -e 's/\n/\r\n/' "$work/expected"

# The locale goes to the program alone (env): set before a shell function,
# it would be bash's too, and bash's complaint about a locale it lacks would
# land in the program's standard error.
bounded $(($(wc -c < "$case.out") * 4 / 1024 + 16)) 10 env LC_ALL="$locale" "$program" \
  < "$case.in" > "$work/actual" 2> "$work/stderr"
status=$?

[[ $status -eq 0 ]] || fail "exit status $(exit_status "$status"), expected 0"
if [[ -s "$work/stderr" ]]; then
  fail "standard error was not empty:"
  head -n 20 "$work/stderr"
fi
if ! cmp -s "$work/expected" "$work/actual"; then
  fail "standard output differs (expected, actual; Windows-1252 shown as UTF-8, ^L is a clearing, ^M a CR):"
  diff -u --label expected --label actual <(show "$work/expected") <(show "$work/actual") | head -n 60
fi
compare="cmp - $case.out"
((crlf)) && compare="perl -pe 's/\\r\\n/\\n/' | $compare"
finish "LC_ALL=$locale $program < $case.in | $compare"
