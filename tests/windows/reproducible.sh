#!/usr/bin/env bash
# The zip and the installer are reproducible: two builds of the same source
# with the windows preset, in two folders, one after the other, the second
# under another time zone and umask, give the same bytes.
# usage: reproducible.sh SOURCE_DIR WORK_DIR VERSION
set -u
source_dir=$1 work=$2 version=$3
build="bash $(dirname "$0")/build.sh $source_dir"
# shellcheck source=tests/e2e/common.sh
source "$(dirname "$0")/../e2e/common.sh"
rm -rf "$work"
$build "$work/first" > /dev/null || exit 1
(umask 077 && TZ=America/Sao_Paulo $build "$work/second") > /dev/null || exit 1
for file in snack-order-$version-win64.zip snack-order-$version-win64.msi; do
  cmp "$work/first/$file" "$work/second/$file" || fail "$file is not the same in both builds"
done
finish "zipinfo -v or msiinfo suminfo on each: $work/{first,second}/snack-order-$version-win64.{zip,msi}"
