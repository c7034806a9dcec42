#!/usr/bin/env bash
# On Windows every line of the output ends with CR LF, the platform's own
# line end, and nothing else changes: the output is the transcript with each
# LF preceded by a CR. A clearing is still one form feed.
# usage: line_ends.sh PROGRAM CASES_DIR/NAME
set -u
program=$1 case=$2
# shellcheck source=tests/e2e/common.sh
source "$(dirname "$0")/../e2e/common.sh"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

perl -pe 's/\n/\r\n/' "$case.out" > "$work/expected"
LC_ALL=C timeout 10 "$program" < "$case.in" > "$work/actual"
if ! cmp -s "$work/expected" "$work/actual"; then
  echo "the output is not the transcript with CR LF line ends (expected, actual; CR shown as ^M):"
  diff -u --label expected --label actual <(show "$work/expected" | cat -v) <(show "$work/actual" | cat -v) | head -n 40
  echo "reproduce: LC_ALL=C $program < $case.in | od -c"
  exit 1
fi
