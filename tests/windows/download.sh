#!/usr/bin/env bash
# Checks the Windows download ZIP, unpacked into DIR: exactly snack-order.exe,
# caixa.cmd, LICENSE.txt, README.txt and LEIA-ME.txt; the text files with
# CR LF line ends and nothing else, in lines of 79 characters at most, which
# Notepad shows whole without wrapping; LEIA-ME.txt UTF-8 with a byte order
# mark, which Notepad needs to show its accents on any system, the others
# plain ASCII; the program byte for byte the one built beside it, which the
# transcripts run.
# usage: download.sh ZIP DIR
set -u
zip=$1 dir=$2
# shellcheck source=tests/e2e/common.sh
source "$(dirname "$0")/../e2e/common.sh"

rm -rf "$dir" && mkdir -p "$dir"
(cd "$dir" && cmake -E tar xf "$zip") || { echo "cannot unpack $zip"; exit 1; }
files=$(cd "$dir" && find . -type f | sort)
expected=$(printf '%s\n' ./LEIA-ME.txt ./LICENSE.txt ./README.txt ./caixa.cmd ./snack-order.exe)
[[ $files == "$expected" ]] || fail "files in the download:"$'\n'"$files"$'\n'"expected:"$'\n'"$expected"
for text in caixa.cmd LICENSE.txt README.txt LEIA-ME.txt; do
  [[ -s $dir/$text ]] || continue
  perl -ne 'exit 1 unless /\r\n\z/; exit 1 if /\r./' "$dir/$text" || fail "$text has a line that does not end in CR LF"
  perl -CSD -ne 's/^\x{FEFF}//; exit 1 if length > 81' "$dir/$text" || fail "$text has a line over 79 characters"
  if [[ $text == LEIA-ME.txt ]]; then
    [[ $(head -c 3 "$dir/$text" | od -An -tx1) == ' ef bb bf' ]] || fail "$text does not start with the UTF-8 byte order mark"
    iconv -f UTF-8 -t UTF-8 "$dir/$text" > /dev/null 2>&1 || fail "$text is not valid UTF-8"
  else
    LC_ALL=C grep -q '[^ -~'$'\r'']' "$dir/$text" && fail "$text is not plain ASCII"
  fi
done
cmp -s "$dir/snack-order.exe" "$(dirname "$zip")/snack-order.exe" || fail "snack-order.exe is not the one built beside the zip"
finish "cmake -E tar tvf $zip; cd $dir && cmake -E tar xf $zip && cat -A README.txt LEIA-ME.txt"
