#!/usr/bin/env bash
# The transcript harness against a program that floods its output (yes) and
# one that never ends (a sleep): each fails within the harness's 10 s and a
# few more, saying why and how to reproduce it, and the harness leaves
# nothing in TMPDIR nor running, even when it is stopped itself (TERM) while
# the program runs.
# usage: harness_bounds.sh
set -u
here=$(dirname "$0")
source "$here/common.sh"
work_dir
printf '#!/bin/sh\nsleep 60\n' > "$work/sleeps" && chmod +x "$work/sleeps"

# run WITHIN PROGRAM [STOPPER...]: the harness on PROGRAM, under STOPPER if
# given, must fail within WITHIN seconds, leaving its own TMPDIR empty and
# no stand-in running.
run() {
  local within=$1 program=$2 start=$SECONDS status left told=1
  mkdir "$work/tmp"
  TMPDIR=$work/tmp "${@:3}" bash "$here/run_case.sh" "$program" "$here/cases/x_salada_then_salada" C > "$work/report"
  status=$? left=$(ls -A "$work/tmp"; pgrep -f "$work/sleeps")
  rm -rf "$work/tmp"
  if (($# == 2)); then
    grep -q '^exit status .*stopped' "$work/report" && grep -q '^reproduce: ' "$work/report" || told=0
  fi
  if ((status == 0 || SECONDS - start >= within || !told)) || [[ -n $left ]]; then
    fail "${*:3}${3:+ }run_case.sh $program: status $status after $((SECONDS - start)) s (expected non-zero within $within s)," \
      "left in TMPDIR or running: ${left:-nothing}; its report (expected its exit status and a reproduce command):"
    cat "$work/report"
  fi
}
stand_in_runs() { pgrep -f "^/bin/sh $work/sleeps" > /dev/null; }
stand_in_or_end() { stand_in_runs || ! kill -0 "$1" 2> /dev/null; }
# stopped COMMAND...: COMMAND in a process group of its own, which gets TERM
# as from Ctrl+C or timeout once the stand-in runs; run's time (start,
# which bash lets this see) is then counted from there.
stopped() {
  setsid "$@" &
  local pid=$!
  wait_until 60 stand_in_or_end "$pid"
  stand_in_runs || fail "$* ran no stand-in within 60 s"
  start=$SECONDS
  kill -TERM -- -"$pid"
  wait "$pid"
}
run 15 /usr/bin/yes
run 15 "$work/sleeps"
run 5 "$work/sleeps" stopped
finish "bash $0"
