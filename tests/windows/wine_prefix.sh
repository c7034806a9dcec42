#!/usr/bin/env bash
# Creates, from scratch, the Wine prefix the Windows tests run in, and checks
# that Wine can start a program in it. When it cannot, this fails with a
# message, and every test that needs the prefix is reported as not run.
# usage: wine_prefix.sh PREFIX
set -u
prefix=$1
# shellcheck source=tests/e2e/common.sh
source "$(dirname "$0")/../e2e/common.sh"
require "wine:wine64 and wine" "wineserver:wine64 and wine"
WINEPREFIX=$prefix
# shellcheck source=tests/windows/wine_env.sh
source "$(dirname "$0")/wine_env.sh"

# A server left running from an earlier run would still hold the old prefix.
wineserver -k 2> /dev/null && wineserver -w
rm -rf "$prefix" "$prefix.log"
# By default the server exits a few seconds after its last program, and a
# wine started just then connects to a server on its way out and fails
# ("recvmsg: Connection reset by peer"). So one server stays up for the
# whole run, persistent, until windows.stop_wine stops it. It needs the
# prefix's folder to exist; its descriptors must not hold CTest's pipes.
mkdir -p "$prefix"
# Wine finds a prefix's server by the folder's inode, which the new folder
# may have taken over from one removed while its server still ran (a run
# cut short before its cleanup): that server would answer for it.
wineserver -k 2> /dev/null && wineserver -w
if ! wineserver -p < /dev/null > /dev/null 2>&1; then
  fail "wineserver cannot start on this machine, so the Windows executable cannot be tested."
  finish "mkdir -p $prefix && WINEPREFIX=$prefix wineserver -p"
fi
if ! timeout 240 wine wineboot -i > "$prefix.log" 2>&1; then
  fail "Wine cannot start on this machine: creating the prefix failed, so the Windows executable cannot be tested."
  cat "$prefix.log"
  finish "WINEPREFIX=$prefix WINEDEBUG=-all wine wineboot -i"
fi
reply=$(timeout 60 wine cmd /c echo ready 2>&1)
status=$?
if [[ $reply != $'ready\r' ]]; then
  fail "Wine cannot start a program on this machine, so the Windows executable cannot be tested."
  echo "It exited with status $status and said:"
  printf '%s\n' "$reply"
  echo "Wine servers running: $(pgrep -a wineserver | tr '\n' ';')"
  finish "WINEPREFIX=$prefix WINEDEBUG=-all wine cmd /c echo ready"
fi
