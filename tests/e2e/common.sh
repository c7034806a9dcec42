# Helpers shared by the end-to-end scripts.

# True when the machine lacks the locale: the locale program warns when it
# cannot set one, whether it looked in the system's locales or in LOCPATH.
lacks_locale() {
  [[ -n $(LC_ALL=$1 locale 2>&1 > /dev/null) ]]
}

# A test that needs a locale the machine lacks fails; it never skips.
require_locale() {
  if lacks_locale "$1"; then
    echo "locale $1 is not installed here (tools/setup test generates it)"
    exit 1
  fi
}

# Program output made readable in a diff: Windows-1252 shown as UTF-8 and
# the form feed of a clearing as ^L.
show() {
  iconv -f WINDOWS-1252 -t UTF-8 "$1" | sed 's/\f/^L/g'
}
