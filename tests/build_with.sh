#!/usr/bin/env bash
# Configures and builds the whole project, tests included, with the compiler
# named by CXX and the flags in CXXFLAGS, in BUILD_DIR; fails on any error.
# Further arguments go to the configure step, after (so over) the defaults.
# The build writes compile_commands.json, for clang-tidy.
# usage: CXX=clang++ CXXFLAGS=-Werror build_with.sh SOURCE_DIR BUILD_DIR [-DVAR=VALUE...]
set -eu
source_dir=$1 build_dir=$2
shift 2
if [[ -z ${CXX:-} || ! -x $(command -v "$CXX") ]]; then
  echo "compiler '${CXX:-}' not found"
  exit 1
fi
cmake -S "$source_dir" -B "$build_dir" -G Ninja -DCMAKE_BUILD_TYPE=Debug -DBUILD_TESTING=ON \
  -DCMAKE_EXPORT_COMPILE_COMMANDS=ON -DCMAKE_CXX_COMPILER="$CXX" -DCMAKE_CXX_FLAGS="$CXXFLAGS" "$@" \
  > "$build_dir.log" 2>&1 || { cat "$build_dir.log"; exit 1; }
cmake --build "$build_dir" -j 2
