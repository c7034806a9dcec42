#!/usr/bin/env bash
# clang-tidy over our own C++ sources (and, through them, our headers) with
# the checked-in .clang-tidy; any warning fails. BUILD_DIR must hold the
# compile_commands.json of a build that compiles every one of them but the
# other platform's.
# usage: clang_tidy.sh SOURCE_DIR BUILD_DIR
set -u
source_dir=$1 build_dir=$2
source "$(dirname "$0")/sources.sh"
# shellcheck source=tests/e2e/common.sh
source "$(dirname "$0")/../e2e/common.sh"
require clang-tidy
if [[ ! -f $build_dir/compile_commands.json ]]; then
  echo "no compile_commands.json in $build_dir"
  exit 1
fi
# Only what this build compiles: the other platform's source (Windows) needs
# headers this machine lacks; the cross build checks it with -Werror instead.
mapfile -t files < <(list_sources '*.cpp' | while read -r file; do
  grep -qF "\"file\": \"$file\"" "$build_dir/compile_commands.json" && echo "$file"
done)
if ((${#files[@]} == 0)); then
  echo "no sources found under $source_dir"
  exit 1
fi
printf '%s\n' "${files[@]}" \
  | xargs -d '\n' -n 1 clang-tidy -p "$build_dir" --quiet --warnings-as-errors='*' > "$build_dir/clang-tidy.log" 2>&1
status=$?
grep -v -E '^[0-9]+ warnings? (and [0-9]+ errors? )?generated\.$' "$build_dir/clang-tidy.log"
((status == 0)) || fail "clang-tidy warned of the above, or failed (status $status)"
((failed)) || echo "clang-tidy: ${#files[@]} sources clean"
finish "clang-tidy -p $build_dir FILE"
