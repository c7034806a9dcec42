#!/usr/bin/env bash
# One stress case: a huge, hostile or broken input or output. The program
# must end within 60 s, with the exit status and output stated below, and
# its peak memory (resident set size, from GNU time) must stay under
# LIMIT_KIB, 8 MiB when not given. The 8 MiB figure is for a build without
# sanitizers, whose shadow memory would count too. Big inputs are made as
# they are read, never stored; of the output, a case keeps at most 64 KiB
# (what it expects is a transcript's or a line), condensed from at most
# twice the million turns' 248 MiB. Each run prints its time and peak memory.
#
# usage: stress.sh [--crlf] PROGRAM CASES_DIR CASE [LIMIT_KIB]
# CASES_DIR holds the end-to-end transcripts; a case whose huge input reads
# like a small transcript's input must print exactly that transcript. With
# --crlf (Windows) a line on standard error ends in CR LF.
set -u
cr=
if [[ $1 == --crlf ]]; then
  cr=$'\r'
  shift
fi
program=$1 cases=$2 name=$3
export LC_ALL=C
limit_kib=${4:-8192}
seconds=60
# shellcheck source=tests/e2e/common.sh
source "$(dirname "$0")/../e2e/common.sh"
work_dir
sigpipe=default

MiB=$((1024 * 1024))
repeat_byte() {  # repeat_byte BYTE COUNT: COUNT copies of one byte
  head -c "$2" /dev/zero | tr '\0' "$1"
}
million_choices() {  # 1,000,000 choices of X-SALADA and a 0, on one line
  yes 2 | head -n 1000000 | tr '\n' ' '
  printf '0\n'
}
condense() {  # condense.awk, on at most 512 MiB, to at most 64 KiB
  head -c $((512 * MiB)) | awk -f "$(dirname "$0")/condense.awk" | head -c 65536
}

# run REDIRECTIONS: runs the program, standard input as given to run,
# standard error to $work/stderr, and measures its time and peak memory.
# SIGPIPE has its default disposition (whatever ours is), unless
# sigpipe=ignore. The REDIRECTIONS are made by a sh that then becomes the
# program, so that time's own output file cannot take a descriptor the
# program must find closed. The peak is the largest of env's, sh's (about
# 1.6 MiB each) and the program's, so still a bound on the program's.
run() {
  bounded 64 "$seconds" /usr/bin/time -f '%e %M' -o "$work/time" \
    env "--${sigpipe}-signal=PIPE" sh -c "exec \"\$0\" $1" "$program" 2> "$work/stderr"
  status=$?
  read -r elapsed peak_kib < <(tail -n 1 "$work/time" 2> /dev/null)
  echo "$name: exit status $status, ${elapsed:-?} s, peak ${peak_kib:-?} KiB (limit $limit_kib KiB)"
  if [[ -z ${peak_kib:-} ]]; then
    fail "$name: no measurement"
  elif ((peak_kib >= limit_kib)); then
    fail "$name: peak memory $peak_kib KiB is over the limit of $limit_kib KiB"
  fi
}

expect_status() {
  if [[ $status -ne $1 ]]; then fail "$name: exit status $(exit_status "$status"), expected $1"; fi
}

expect_no_error_output() {
  if [[ -s $work/stderr ]]; then fail "$name: standard error was not empty: $(head -c 500 "$work/stderr")"; fi
}

expect_one_error_line() {  # expect_one_error_line MESSAGE: "snack-order: MESSAGE"
  local lines
  lines=$(wc -l < "$work/stderr")
  if [[ $lines -ne 1 ]] || ! grep -qx "snack-order: $1$cr" "$work/stderr"; then
    fail "$name: standard error ($lines lines) should be one line saying '$1':"
    head -c 1000 "$work/stderr"
  fi
}

expect_output() {  # expect_output FILE: what the program wrote is FILE's bytes
  if ! cmp -s "$work/stdout" "$1"; then
    fail "$name: standard output differs from $1: $(cmp "$work/stdout" "$1" 2>&1 | head -n 1)"
  fi
}

# reader COMMAND...: a reader of the program's output, through a FIFO, in
# the background; `run "$to_reader"` writes to it, `wait` waits for it.
to_reader="> '$work/fifo'"
reader() {
  mkfifo "$work/fifo"
  "$@" < "$work/fifo" &
}

# nonblocking.py sets a pipe non-blocking, and feeds or drains it only once
# the program is seen waiting on it.
nonblocking() { python3 "$(dirname "$0")/nonblocking.py" "$@"; }

to_file="> '$work/stdout'"
case $name in
letters_line)
  # One line of 256 MiB of letters, then the transcript's own line of
  # letters and "2 0": the whole line is one rejection, as in the transcript.
  run "$to_file" < <(repeat_byte a $((256 * MiB)); cat "$cases/letters_line_then_x_salada.in")
  expect_status 0
  expect_no_error_output
  expect_output "$cases/letters_line_then_x_salada.out"
  ;;
digits)
  # 64 MiB of digits in three numbers: 32 MiB of leading zeros before a 7
  # is a 7, and 16 MiB of nines either way saturate at the 32-bit limits.
  run "$to_file" < <(
    repeat_byte 0 $((32 * MiB - 1)); printf '7 '
    repeat_byte 9 $((16 * MiB)); printf ' -'
    repeat_byte 9 $((16 * MiB)); printf ' 0\n')
  expect_status 0
  expect_no_error_output
  expect_output "$cases/long_numbers.out"
  ;;
million_choices)
  # A million turns with the same screen, ten places listed, every choice
  # priced in the total.
  reader condense > "$work/stdout"
  run "$to_reader" < <(million_choices)
  wait
  expect_status 0
  expect_no_error_output
  expect_output "$(dirname "$0")/million_choices.condensed"
  ;;
nul_and_invalid_utf8)
  # 16 MiB of NUL bytes before the transcript's own first line of NULs:
  # still one rejected line; invalid UTF-8 and a number running into a NUL
  # follow.
  run "$to_file" < <(repeat_byte '\0' $((16 * MiB)); cat "$cases/nul_and_invalid_utf8.in")
  expect_status 0
  expect_no_error_output
  expect_output "$cases/nul_and_invalid_utf8.out"
  ;;
input_closed)
  # No standard input at all reads as an empty one.
  run "<&- $to_file"
  expect_status 0
  expect_no_error_output
  expect_output "$cases/empty_input.out"
  ;;
input_unreadable)
  # A read that fails (EISDIR) closes the order as the end of input does,
  # then the failure is reported.
  run "< / $to_file"
  expect_status 1
  expect_one_error_line 'reading standard input failed: Is a directory'
  expect_output "$cases/empty_input.out"
  ;;
output_closed)
  # The whole order is still taken, then the failure is reported.
  run '>&-' < <(million_choices)
  expect_status 1
  expect_one_error_line 'writing standard output failed: Bad file descriptor'
  ;;
output_full)
  run '> /dev/full' < <(million_choices)
  expect_status 1
  expect_one_error_line 'writing standard output failed: No space left on device'
  ;;
reader_gone)
  # The reader takes 100 bytes and closes the pipe, while the input never
  # ends: SIGPIPE ends the program (status 128 + 13) at its next write.
  reader head -c 100 > "$work/stdout"
  run "$to_reader" < <(yes 2 2> /dev/null)
  wait
  expect_status 141
  expect_output <(head -c 100 "$cases/empty_input.out")
  ;;
reader_gone_sigpipe_ignored)
  # The same where SIGPIPE is ignored (inherited that way from whoever
  # started the program): the write fails with EPIPE, and since nobody
  # will read another menu the order closes as at the end of input.
  reader head -c 100 > "$work/stdout"
  sigpipe=ignore
  run "$to_reader" < <(yes 2 2> /dev/null)
  wait
  expect_status 1
  expect_one_error_line 'writing standard output failed: Broken pipe'
  expect_output <(head -c 100 "$cases/empty_input.out")
  ;;
input_nonblocking)
  # Standard input a non-blocking pipe, fed five bytes at a time, each piece
  # once the program waits in poll: a read that finds it empty waits for it.
  exec 3< <(nonblocking feed "$program" "$cases/every_item_once.in")
  feeder_pid=$!
  nonblocking set 3
  run "<&3 $to_file"
  exec 3<&-
  wait "$feeder_pid" || fail "$name: the program did not wait for its input"
  expect_status 0
  expect_no_error_output
  expect_output "$cases/every_item_once.out"
  ;;
output_nonblocking)
  # Standard output a non-blocking pipe that is already full when the
  # program starts, read only once the program waits in poll: a write that
  # finds no room waits for it. What filled the pipe is read first.
  : > "$work/read"
  exec 4> >(nonblocking drain "$program" && exec head -c 65536 > "$work/read")
  reader_pid=$!
  filled=$(nonblocking set 4 full)
  run ">&4" < "$cases/twelve_choices.in"
  exec 4>&-
  wait "$reader_pid" || fail "$name: the program did not wait for room in its output"
  tail -c +$((filled + 1)) "$work/read" > "$work/stdout"
  expect_status 0
  expect_no_error_output
  expect_output "$cases/twelve_choices.out"
  ;;
*)
  fail "$name: no such case"
  ;;
esac
finish "bash $0 $*"
