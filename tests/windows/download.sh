#!/usr/bin/env bash
# Checks the Windows download ZIP and unpacks it into DIR, where the
# transcript test then runs the program from it: exactly snack-order.exe,
# LICENSE.txt and README.txt; the text files with CR LF line ends and
# nothing else; the program the one built beside it.
# usage: download.sh ZIP DIR
set -u
zip=$1 dir=$2
failed=0
fail() {
  echo "$1"
  failed=1
}

rm -rf "$dir" && mkdir -p "$dir"
(cd "$dir" && cmake -E tar xf "$zip") || { echo "cannot unpack $zip"; exit 1; }
files=$(cd "$dir" && find . -type f | sort)
expected=$(printf '%s\n' ./LICENSE.txt ./README.txt ./snack-order.exe)
[[ $files == "$expected" ]] || fail "files in the download:"$'\n'"$files"$'\n'"expected:"$'\n'"$expected"
for text in LICENSE.txt README.txt; do
  [[ -s $dir/$text ]] || continue
  perl -ne 'exit 1 unless /\r\n\z/; exit 1 if /\r./' "$dir/$text" || fail "$text has a line that does not end in CR LF"
done
cmp -s "$dir/snack-order.exe" "$(dirname "$zip")/snack-order.exe" || fail "snack-order.exe is not the one built beside the zip"
if ((failed)); then
  echo "reproduce: cmake -E tar tvf $zip; cd $dir && cmake -E tar xf $zip && cat -A README.txt"
  exit 1
fi
