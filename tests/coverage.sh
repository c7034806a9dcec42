#!/usr/bin/env bash
# Holds the Linux program to every line: in BUILD_DIR, a build configured
# with SNACK_ORDER_COVERAGE, runs from counts at zero the tests that run its
# Linux program and units (all but those labelled no_coverage or windows in
# tests/CMakeLists.txt), then its coverage_report, which prints gcovr's
# summary with every line of order/ and console/ that did not run, and
# fails unless none is left. The Windows tests run no line of the Linux
# program: the coverage preset runs them, to count the Windows program's.
# usage: coverage.sh BUILD_DIR
set -u
build_dir=$1
# shellcheck source=tests/e2e/common.sh
source "$(dirname "$0")/e2e/common.sh"
cmake --build "$build_dir" --target coverage_reset > /dev/null \
  && ctest --test-dir "$build_dir" -j 1 --output-on-failure -LE '^(no_coverage|windows)$' \
  && cmake --build "$build_dir" --target coverage_report \
  || fail "the counts' reset, a test or the report failed (above)"
finish "bash $0 $*   (annotated sources: $build_dir/coverage/linux/index.html)"
