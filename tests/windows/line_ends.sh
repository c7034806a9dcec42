#!/usr/bin/env bash
# On Windows every line of the output ends with CR LF, the platform's own
# line end, and nothing else changes: the output is the transcript with each
# LF preceded by a CR. A clearing is still one form feed.
# usage: line_ends.sh PROGRAM CASES_DIR/NAME
set -u
program=$1 case=$2
# shellcheck source=tests/e2e/common.sh
source "$(dirname "$0")/../e2e/common.sh"
work_dir

perl -pe 's/\n/\r\n/' "$case.out" > "$work/expected"
# Twice the transcript, and 16 KiB more, is far more than it may write.
bounded $(($(wc -c < "$case.out") * 2 / 1024 + 16)) 10 env LC_ALL=C "$program" < "$case.in" > "$work/actual" \
  2> "$work/stderr"
status=$?
if ! cmp -s "$work/expected" "$work/actual"; then
  fail "exit status $(exit_status "$status"); the output is not the transcript with CR LF line ends (expected, actual; CR shown as ^M):"
  diff -u --label expected --label actual <(show "$work/expected" | cat -v) <(show "$work/actual" | cat -v) | head -n 40
  [[ -s $work/stderr ]] && echo "standard error:" && head -n 20 "$work/stderr"
fi
finish "LC_ALL=C $program < $case.in | od -c"
