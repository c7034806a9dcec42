#!/usr/bin/env bash
# Starts the program through its Start-menu shortcut in the Wine prefix, as
# a click on it does: what the shortcut points at, in its working folder,
# alone on a console of its own. Wine's shell opens a shortcut only with a
# display, and its console would then be a window, not this terminal; so
# lnkinfo reads the shortcut, and wine starts its target as a double click.
# The Wine settings (wine_env.sh) come from the runner script or installer.sh
# that calls this. With --show it starts nothing, and prints the working
# folder and the target, one a line, for installer.sh to check.
# usage: start_shortcut.sh [--show] NAME   (NAME.lnk, anywhere in the prefix)
set -u
show=0
if [[ $1 == --show ]]; then
  show=1
  shift
fi
# shellcheck source=tests/e2e/common.sh
source "$(dirname "$0")/../e2e/common.sh"
shortcut=$(find "$WINEPREFIX/drive_c" -name "$1.lnk" -print -quit)
if [[ -z $shortcut ]]; then
  fail "no shortcut $1.lnk in $WINEPREFIX"
  finish "find $WINEPREFIX/drive_c -name '*.lnk'"
fi
info=$(lnkinfo "$shortcut") || exit 1
# lnkinfo of Debian 13 writes each backslash of a path twice, that of 12 once.
field() { sed -n "s/^[[:space:]]*$1[[:space:]]*: //p" <<< "$info" | sed 's/\\\\/\\/g'; }
folder=$(field 'Working directory') target=$(field 'Local path')
if ((show)); then
  printf '%s\n' "$folder" "$target"
  exit 0
fi
cd "$(wine winepath -u "$folder")" || exit 1
# With WINE_DESKTOP=NAME,WIDTHxHEIGHT, in a Wine desktop of its own, a
# screen in a window of the X display.
exec wine ${WINE_DESKTOP:+explorer "/desktop=$WINE_DESKTOP"} "$target"
