#!/usr/bin/env bash
# Configures and builds the whole project, tests included, with the compiler
# COMPILER in BUILD_DIR; fails on any error. Further arguments go to the
# configure step, after (so over) the defaults. The build writes
# compile_commands.json, for clang-tidy.
# usage: build_with.sh COMPILER SOURCE_DIR BUILD_DIR [-DVAR=VALUE...]
set -eu
compiler=$1 source_dir=$2 build_dir=$3
shift 3
# shellcheck source=tests/e2e/common.sh
source "$(dirname "$0")/e2e/common.sh"
require "$compiler"
cmake -S "$source_dir" -B "$build_dir" -G Ninja -DCMAKE_BUILD_TYPE=Debug -DBUILD_TESTING=ON \
  -DCMAKE_EXPORT_COMPILE_COMMANDS=ON -DCMAKE_CXX_COMPILER="$compiler" "$@" \
  > "$build_dir.log" 2>&1 || { cat "$build_dir.log"; exit 1; }
cmake --build "$build_dir" -j 1
