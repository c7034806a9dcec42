#!/usr/bin/env bash
# Cross-builds snack-order.exe with the windows preset (mingw-w64, linked
# statically) into BUILD_DIR, with warnings as errors. Further arguments go
# to the configure step, after (so over) the preset's.
# usage: build.sh SOURCE_DIR BUILD_DIR [-DVAR=VALUE...]
set -eu
source_dir=$1 build_dir=$2
shift 2
# shellcheck source=tests/e2e/common.sh
source "$(dirname "$0")/../e2e/common.sh"
require x86_64-w64-mingw32-g++:g++-mingw-w64-x86-64
mkdir -p "$build_dir"
cmake -S "$source_dir" --preset windows -B "$build_dir" -DCMAKE_COMPILE_WARNING_AS_ERROR=ON "$@" > "$build_dir.log" 2>&1 \
  || { cat "$build_dir.log"; exit 1; }
cmake --build "$build_dir" -j 1
