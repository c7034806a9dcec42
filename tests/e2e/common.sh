# Helpers shared by the end-to-end scripts.

# A test that needs a locale the machine lacks fails; it never skips.
require_locale() {
  local wanted=$1 normalised
  [[ $wanted == C || $wanted == POSIX ]] && return 0
  normalised=$(printf '%s' "$wanted" | sed 's/UTF-8$/utf8/')
  if ! locale -a | grep -qx "$normalised"; then
    echo "locale $wanted is not installed here (tools/setup test generates it)"
    exit 1
  fi
}

# Program output made readable in a diff: Windows-1252 shown as UTF-8 and
# the form feed of a clearing as ^L.
show() {
  iconv -f WINDOWS-1252 -t UTF-8 "$1" | sed 's/\f/^L/g'
}
