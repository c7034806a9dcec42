#!/usr/bin/env bash
# The installer is reproducible: two builds of the same source with the
# windows preset, in two folders, one after the other, the second under
# another time zone and umask, give the same bytes.
# usage: reproducible.sh SOURCE_DIR WORK_DIR VERSION
set -u
source_dir=$1 work=$2 version=$3
installer=snack-order-$version-win64.msi
build="bash $(dirname "$0")/build.sh $source_dir"
rm -rf "$work"
$build "$work/first" > /dev/null || exit 1
(umask 077 && TZ=America/Sao_Paulo $build "$work/second") > /dev/null || exit 1
if ! cmp "$work/first/$installer" "$work/second/$installer"; then
  echo "reproduce: msidiff $work/first/$installer $work/second/$installer; msiinfo suminfo on each"
  exit 1
fi
