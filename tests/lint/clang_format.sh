#!/usr/bin/env bash
# Every C++ source and header of ours is formatted as the checked-in
# .clang-format says.
# usage: clang_format.sh SOURCE_DIR
set -u
source_dir=$1
source "$(dirname "$0")/sources.sh"
# shellcheck source=tests/e2e/common.sh
source "$(dirname "$0")/../e2e/common.sh"
require clang-format
mapfile -t files < <(list_sources '*.cpp' '*.hpp')
if ((${#files[@]} == 0)); then
  echo "no sources found under $source_dir"
  exit 1
fi
clang-format --dry-run -Werror "${files[@]}" \
  || fail "fix: clang-format -i FILE (clang-format $(clang-format --version | grep -o '[0-9][0-9.]*' | head -n 1))"
((failed)) || echo "clang-format: ${#files[@]} files clean"
finish "clang-format --dry-run -Werror FILE"
