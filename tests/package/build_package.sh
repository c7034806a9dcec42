#!/usr/bin/env bash
# Builds the program with the release preset in WORK_DIR/build (never the
# sanitizer build the tests run: a package must not carry AddressSanitizer),
# installs it with `cmake --install` into WORK_DIR/installed, packages it
# with `cpack -G DEB` into WORK_DIR/package and unpacks the package into
# WORK_DIR/unpacked, for the package tests to look at. For another Debian
# architecture ARCH (arm64, armhf) the preset of that name cross-builds it.
# usage: build_package.sh SOURCE_DIR WORK_DIR [ARCH]
set -eu
source_dir=$1 work=$2 native_arch=$(dpkg --print-architecture)
arch=${3:-$native_arch} preset=release
[[ $arch == "$native_arch" ]] || preset=$arch
# The package's own time stamps are tested, not a caller's.
unset SOURCE_DATE_EPOCH
for tool in dpkg-deb dpkg-shlibdeps file; do
  if ! command -v "$tool" > /dev/null; then
    echo "$tool not found: install dpkg-dev and file (tools/setup test does)"
    exit 1
  fi
done
mkdir -p "$work"
build=$work/build
cmake -S "$source_dir" --preset "$preset" -B "$build" > "$work/configure.log" 2>&1 \
  || { cat "$work/configure.log"; exit 1; }
cmake --build "$build" -j 2
rm -rf "$work/installed" "$work/package" "$work/unpacked"
cmake --install "$build" --prefix "$work/installed"
(cd "$build" && cpack -G DEB -B "$work/package")
packages=("$work"/package/*.deb)
if [[ ${#packages[@]} -ne 1 || ! -f ${packages[0]} ]]; then
  echo "expected one .deb in $work/package, found: ${packages[*]}"
  exit 1
fi
ln -sf "${packages[0]}" "$work/snack-order.deb"
dpkg-deb -x "${packages[0]}" "$work/unpacked"
