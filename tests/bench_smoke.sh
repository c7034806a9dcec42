#!/usr/bin/env bash
# Keeps bench/run working without timing anything: a small run must print
# the table with all four rows measured. Timings on a CI machine prove
# nothing, so no time is compared with its target; what is checked are the
# counts that do not depend on the machine: one write(2) per turn in a
# terminal, no process spawned, and no shared library but the C library.
# usage: bench_smoke.sh SOURCE_DIR
set -u
source_dir=$1
# shellcheck source=tests/e2e/common.sh
source "$(dirname "$0")/e2e/common.sh"
work_dir

"$source_dir/bench/run" --smoke > "$work/table" 2> "$work/stderr"
status=$?

number='[0-9]+(\.[0-9]+)?'
((status == 0)) || fail "bench/run --smoke exited with status $status"
grep -qx 'shared libraries loaded: libc.so.6' "$work/table" \
  || fail "the release binary loads more than the C library"
# Where the noise of a busy machine swamps row 1's differences, the table
# says so instead of giving a ratio; a negative ratio is never a measurement.
grep -Eq "^\| 1 \| .*\| -?$number ms \| \`/bin/true\` -?$number ms \| ratio ($number \| at most 1\.25: (met|missed)|none \(drowned in noise\) \| at most 1\.25: not measured) \|" "$work/table" \
  || fail "row 1 lacks the order's time, the floor's time, or a ratio and its verdict"
grep -Eq "^\| 2 \| .*\| $number s, peak $number MiB; tenfold input: peak $number MiB \| \| $number million turns/s \|" "$work/table" \
  || fail "row 2 lacks the time, a peak memory or the turns per second"
grep -Eq "^\| 3 \| .*\| $number s \| \`cat\` of that output $number s \| ratio $number \|" "$work/table" \
  || fail "row 3 lacks the program's time, cat's time or their ratio"
grep -q '^| 4 | .*| \([0-9]*\) writes in \1 turns, [0-9]* bytes a turn | | 1\.00 writes a turn, 0 processes spawned |' "$work/table" \
  || fail "row 4 does not show one write per turn and no process spawned"

((failed)) && echo "--- standard output:"
cat "$work/table"
((failed)) && echo "--- standard error:" && cat "$work/stderr"
finish "$source_dir/bench/run --smoke"
