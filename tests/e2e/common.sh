# Helpers shared by the test scripts, those under tests/ and debian/tests.

# fail MESSAGE: says what is wrong and goes on, so that one run reports
# every failure; finish then fails the script.
failed=0
fail() {
  echo "$*"
  failed=1
}

# finish COMMAND: ends the script, with status 0; after a failure, with 1,
# once it has given the command that reproduces it ("reproduce: COMMAND").
finish() {
  ((failed)) || exit 0
  echo "reproduce: $1"
  exit 1
}

# require TOOL[:PACKAGE]...: a test that lacks a tool fails at once, naming
# it, and PACKAGE where the tool's name does not tell it. On standard error,
# since a script that stands in for the program keeps standard output for
# what the program writes.
require() {
  local tool
  for tool in "$@"; do
    command -v "${tool%%:*}" > /dev/null && continue
    if [[ $tool == *:* ]]; then
      echo "${tool%%:*} not found: install ${tool#*:} (tools/setup test does)" >&2
    else
      echo "$tool not found (tools/setup test installs it)" >&2
    fi
    exit 1
  done
}

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

# A root made to build or test the package has the locales' sources but
# need not have generated LANGUAGE_COUNTRY.UTF-8: then it is generated in
# the work directory, for this test alone (LOCPATH).
provide_locale() {
  lacks_locale "$1" || return 0
  work_dir
  export LOCPATH=$work
  localedef -i "${1%.UTF-8}" -f UTF-8 "$LOCPATH/$1" || exit 1
}

# Program output made readable in a diff: Windows-1252 shown as UTF-8, the
# form feed of a clearing as ^L and a CR as ^M.
show() {
  iconv -f WINDOWS-1252 -t UTF-8 "$1" | sed 's/\f/^L/g; s/\r/^M/g'
}

# wait_until SECONDS COMMAND...: COMMAND every tenth of a second until it
# succeeds, then true; false once SECONDS have gone by without that.
wait_until() {
  local deadline=$((SECONDS + $1))
  shift
  until "$@"; do
    ((SECONDS < deadline)) || return 1
    sleep 0.1
  done
}

# A program that floods its output or never ends must fail its test at once
# or at its timeout, with nothing left behind, not fill the disk of whoever
# runs the tests (a developer, CI, a build daemon).

# work_dir: $work, a new temporary folder that goes with the script, whether
# it ends or is stopped by HUP, INT or TERM, which stop what bounded runs too.
# The traps come first: a signal between making the folder and setting them
# would leave it behind (bash runs a trap only once mktemp has returned).
work_dir() {
  work=
  trap 'rm -rf "$work"' EXIT
  trap 'kill "${bounded_pid:-}" 2> /dev/null && wait "$bounded_pid"; exit 1' HUP INT TERM
  work=$(mktemp -d) || exit 1
}

# bounded KIB SECONDS COMMAND...: COMMAND, each file it writes cut at KIB KiB,
# where the kernel stops it (SIGXFSZ, status 153), and given SECONDS, then
# SIGTERM (124) and 5 s later SIGKILL (137). No core dump stays behind. In
# the background, so that a trapped signal need not wait for it.
bounded() {
  bound_kib=$1 bound_seconds=$2
  (ulimit -f "$1" -c 0 && exec timeout -k 5 "$2" "${@:3}") <&0 &
  bounded_pid=$!
  wait "$bounded_pid" 2> /dev/null  # its signal is told by exit_status
}

# exit_status STATUS: STATUS, with how bounded stopped the command if it did.
exit_status() {
  case $1 in
  124 | 137) echo "$1 (still running after $bound_seconds s, so stopped)" ;;
  153) echo "$1 (stopped as it wrote past $bound_kib KiB)" ;;
  *) echo "$1" ;;
  esac
}
