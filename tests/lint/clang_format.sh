#!/usr/bin/env bash
# Every C++ source and header of ours is formatted as the checked-in
# .clang-format says.
# usage: clang_format.sh SOURCE_DIR
set -u
source_dir=$1
source "$(dirname "$0")/sources.sh"
if ! command -v clang-format > /dev/null; then
  echo "clang-format is not installed here (tools/setup test installs it)"
  exit 1
fi
mapfile -t files < <(list_sources '*.cpp' '*.hpp')
if ((${#files[@]} == 0)); then
  echo "no sources found under $source_dir"
  exit 1
fi
if ! clang-format --dry-run -Werror "${files[@]}"; then
  echo "fix: clang-format -i FILE (clang-format $(clang-format --version | grep -o '[0-9][0-9.]*' | head -n 1))"
  exit 1
fi
echo "clang-format: ${#files[@]} files clean"
