#!/usr/bin/env bash
# snack-order.exe needs no DLL beside it: it may import only DLLs that every
# Windows has, the kernel and the system's C runtime.
# usage: imports.sh PROGRAM.exe
set -u
program=$1
allowed=" kernel32.dll msvcrt.dll "
if ! imports=$(x86_64-w64-mingw32-objdump -p "$program" | sed -n 's/^[[:space:]]*DLL Name: //p'); then
  echo "cannot read the imports of $program"
  exit 1
fi
failed=0
for dll in $imports; do
  if [[ $allowed != *" ${dll,,} "* ]]; then
    echo "$program imports $dll, which Windows does not have"
    failed=1
  fi
done
if [[ -z $imports ]]; then
  echo "no imports found in $program"
  failed=1
fi
if ((failed)); then
  echo "reproduce: x86_64-w64-mingw32-objdump -p $program | grep 'DLL Name'"
  exit 1
fi
