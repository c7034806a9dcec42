#!/usr/bin/env bash
# The till (caixa.cmd) under Wine, in a Wine desktop of its own in a virtual
# X display, where each order gets a console window of its own as on
# Windows: started as its Start-menu shortcut starts it, an order keeps its
# amount due until Enter, a new program then comes with the next menu, and
# Ctrl+C in that window brings a fresh one again. Keys go to the order's
# window with xdotool. The orders' processes are watched, not their screens,
# which the terminal tests read, and whether a Windows program still waits
# is watched for a while, as there (Wine's waits all look alike from
# outside); the till's own window is read at the end.
# usage: xvfb-run -a till.sh PREFIX
set -u
here=$(dirname "$0")
source "$here/../e2e/common.sh"
require wine xdotool x86_64-w64-mingw32-g++
WINEPREFIX=$1
source "$here/wine_env.sh"
# A console window needs a desktop, which explorer.exe keeps: a desktop of
# the till's own, apart from the other Windows tests' (which keep
# explorer.exe off), with no terminal at hand for it to join.
export WINEDLLOVERRIDES='mscoree,mshtml=' WINE_DESKTOP=caixa,1024x768
work_dir
# The till's own window, read as the terminal tests read a program's.
x86_64-w64-mingw32-g++ -std=c++20 -O1 -static -o "$work/console_text.exe" "$here/console_text.cpp" || exit 1
reproduce="xvfb-run -a bash $0 $*"
program='^"?C:.Program Files.snack-order.snack-order\.exe'
# till_pids PATTERN: the processes of this till whose command line matches:
# those with its prefix and desktop in their environment, which Wine passes
# on to every process it starts. Another suite's Wine, or another desktop's
# program, is not one of them.
till_pids() {
  local pid marks
  for pid in $(pgrep -f "$1"); do
    marks=$(tr '\0' '\n' < "/proc/$pid/environ" 2> /dev/null |
      grep -cxF -e "WINEPREFIX=$WINEPREFIX" -e "WINE_DESKTOP=$WINE_DESKTOP")
    [[ $marks == 2 ]] && echo "$pid"
  done
}
# Everything Wine started for the till, console windows included, ends
# before the next test uses the prefix: Wine's processes take no notice of
# SIGTERM, and the next test must not meet one on its way out.
till_gone() {
  left=$(till_pids '^"?[A-Za-z]:\\')
  [[ -z $left ]] || { kill -KILL $left 2> /dev/null; false; }
}
stop_till() {
  wait_until 30 till_gone && return 0
  echo "the till's Wine processes outlived 30 s of SIGKILL: $left"
  return 1
}
trap 'status=$?; stop_till || status=1; rm -rf "$work"; exit $status' EXIT

since() { awk -v from="$1" -v now="$EPOCHREALTIME" 'BEGIN { printf "%.1f", now - from }'; }
# ended PID SECONDS: true once PID has ended, false if it still runs then.
ended() { timeout "$2" tail --pid="$1" -s 0.1 -f /dev/null; }

# next_order WHAT: waits for a program other than the last, alone, and its
# window (which may have the X id of the last, free again); on failure the
# test ends, saying what it waited for.
pid=0
new_order() {
  found=$(till_pids "$program")
  window=$(xdotool search --onlyvisible --name '^Pedido da Lanchonete$' | head -n 1)
  [[ -n $found && $found != *$'\n'* && $found != "$pid" && -n $window ]] && pid=$found
}
next_order() {
  wait_until 60 new_order && return 0
  fail "no new program within 60 s $1 (programs: ${found:-none}; its window: ${window:-none})"
  finish "$reproduce"
}

# keys KEY...: typed in the order's window.
keys() { xdotool windowfocus --sync "$window" key --delay 50 "$@"; }

bash "$here/start_shortcut.sh" "Caixa da Lanchonete" < /dev/null > "$work/till" 2>&1 &
next_order "after the till started"
keys 2 Return 0 Return
ended "$pid" 2 && fail "the order's program ended with no Enter below its amount due"
# An Enter that came before the program's wait for it was dropped, as any
# key typed ahead: it is pressed again while the program runs on.
for ((try = 0; try < 3; try++)); do
  start=$EPOCHREALTIME
  keys Return
  ended "$pid" 10 && break
done
next_order "after Enter below the amount due"
echo "the next customer's program $(since "$start") s after Enter"
start=$EPOCHREALTIME
keys ctrl+c
next_order "after Ctrl+C"
echo "a fresh program $(since "$start") s after Ctrl+C"
# What the till said: in its window, or where Wine 8 gives it none, in its
# output.
wine "$work/console_text.exe" cmd.exe explorer.exe >> "$work/till" 2>&1
grep -q '^Um pedido depois do outro' "$work/till" || fail "the till did not say what it does"
grep -q 'parou com erro' "$work/till" && fail "the till saw an order end in error"
[[ $failed == 1 ]] && cat "$work/till"
finish "$reproduce"
