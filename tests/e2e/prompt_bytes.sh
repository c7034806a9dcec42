#!/usr/bin/env bash
# The prompt goes out as the Windows-1252 bytes of "OPÇÃO: ", without a line
# end, whatever the locale, when standard output is not a terminal.
# usage: prompt_bytes.sh PROGRAM
set -u
program=$1
# shellcheck source=tests/e2e/common.sh
source "$(dirname "$0")/common.sh"
for locale in C C.UTF-8 pt_BR.UTF-8; do
  require_locale "$locale"
  # The first menu is ten lines; the prompt is what follows them.
  prompt=$(printf '0\n' | LC_ALL=$locale timeout 10 "$program" | tail -n +11 | head -c 8 | od -An -tx1 | tr -s ' \n' ' ')
  [[ $prompt == " 4f 50 c7 c3 4f 3a 20 0c " ]] ||
    fail "LC_ALL=$locale: prompt bytes then clearing were$prompt, expected 4f 50 c7 c3 4f 3a 20 0c;" \
      "printf '0\\n' | LC_ALL=$locale $program | tail -n +11 | head -c 8 | od -An -tx1 shows them"
done
finish "bash $0 $program"
