#!/usr/bin/env bash
# Fuzzes the whole dialogue for SECONDS seconds, starting from the end-to-end
# transcripts' inputs. Fails on any finding: a crash, a sanitizer report, a
# broken oracle property (see order_fuzzer.cpp), an input that runs longer
# than 10 s, more than 2 GiB of memory or a leak. The corpus grows in
# WORK_DIR/corpus across runs; a finding is saved in WORK_DIR/artifacts.
#
# usage: run.sh FUZZER CASES_DIR WORK_DIR SECONDS
set -u
fuzzer=$1 cases=$2 work=$3 seconds=$4
# shellcheck source=tests/e2e/common.sh
source "$(dirname "$0")/../e2e/common.sh"
mkdir -p "$work/corpus" "$work/artifacts"
cp "$cases"/*.in "$work/corpus/"
rm -f "$work/artifacts"/*

"$fuzzer" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 -print_final_stats=1 \
  -dict="$(dirname "$0")/order.dict" -artifact_prefix="$work/artifacts/" "$work/corpus" > "$work/log" 2>&1
status=$?

runs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$work/log")
echo "fuzzed $seconds s: ${runs:-?} inputs tried, exit status $status, corpus of $(ls "$work/corpus" | wc -l) inputs"
artifacts=$(find "$work/artifacts" -type f | sort | paste -sd ' ')
if [[ $status -ne 0 || -n $artifacts ]]; then
  grep -v -E '^#[0-9]+\s+(NEW|REDUCE|pulse|RELOAD)' "$work/log" | tail -n 60
  fail "the fuzzer failed${artifacts:+, and saved what failed: $artifacts}"
fi
# The fuzzer runs each input it saved once; without any, the run is rerun.
reproduce="bash $0 $*"
[[ -z $artifacts ]] || reproduce="$fuzzer $artifacts"
finish "$reproduce"
