#!/usr/bin/env bash
# Command-line arguments change nothing, not even ones that look like options.
# usage: arguments_ignored.sh PROGRAM
set -u
program=$1
cases=$(dirname "$0")/cases
# shellcheck source=tests/e2e/common.sh
source "$(dirname "$0")/common.sh"
plain=$(timeout 10 "$program" < "$cases/x_salada_then_salada.in" | od -An -tx1)
with_arguments=$(timeout 10 "$program" --help -v 3 '' < "$cases/x_salada_then_salada.in" | od -An -tx1)
[[ -n $plain && $plain == "$with_arguments" ]] || fail "output with arguments differs from the output without them"
finish "$program --help -v 3 '' < $cases/x_salada_then_salada.in | cmp - $cases/x_salada_then_salada.out"
