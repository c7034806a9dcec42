#!/usr/bin/env bash
# snack-order.exe needs no DLL beside it: it may import only DLLs that every
# Windows has, the kernel and the system's C runtime.
# usage: imports.sh PROGRAM.exe
set -u
program=$1
# shellcheck source=tests/e2e/common.sh
source "$(dirname "$0")/../e2e/common.sh"
allowed=" kernel32.dll msvcrt.dll "
if ! imports=$(x86_64-w64-mingw32-objdump -p "$program" | sed -n 's/^[[:space:]]*DLL Name: //p'); then
  echo "cannot read the imports of $program"
  exit 1
fi
for dll in $imports; do
  [[ $allowed == *" ${dll,,} "* ]] || fail "$program imports $dll, which Windows does not have"
done
[[ -n $imports ]] || fail "no imports found in $program"
finish "x86_64-w64-mingw32-objdump -p $program | grep 'DLL Name'"
