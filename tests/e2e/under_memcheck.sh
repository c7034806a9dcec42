#!/usr/bin/env bash
# Stands in for the program in run_case.sh: runs the program named by
# MEMCHECKED_PROGRAM under Valgrind's memcheck, with the same standard
# streams. Any memory error or leak of any kind (even memory still reachable
# at exit) is reported on standard error and turns the exit status into 99,
# both of which fail the transcript. Needs a build without sanitizers: ASan
# and Valgrind do not mix. No gdb server: its FIFOs in TMPDIR would stay
# behind whenever the harness has to kill Valgrind.
# usage: MEMCHECKED_PROGRAM=path under_memcheck.sh [ARGUMENTS...]
set -u
# shellcheck source=tests/e2e/common.sh
source "$(dirname "$0")/common.sh"
require valgrind
exec valgrind --quiet --vgdb=no --tool=memcheck --error-exitcode=99 --leak-check=full --show-leak-kinds=all \
  --errors-for-leak-kinds=all "${MEMCHECKED_PROGRAM:?}" "$@"
