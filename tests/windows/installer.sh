#!/usr/bin/env bash
# The Windows installer under Wine's msiexec, silently (/qn), in the prefix
# the tests create; one scenario a run:
#   install    the files go to C:\Program Files\snack-order, the very ones of
#              the zip; the Start menu gets one shortcut to the program and
#              one to the till, each started in that folder; Settings
#              lists one snack-order.
#   again      the same installer over itself still leaves one of each.
#   uninstall  nothing is left: no program, folder, shortcut nor entry.
#   upgrade    an older copy, built from the same source, is replaced by
#              this one, which leaves one of each and refuses it back;
#              then removed.
# usage: installer.sh SCENARIO WINDOWS_BUILD_DIR PREFIX VERSION
set -u
scenario=$1 build=$2 prefix=$3 version=$4
WINEPREFIX=$prefix
# shellcheck source=tests/windows/wine_env.sh
source "$(dirname "$0")/wine_env.sh"
installer=$build/snack-order-$version-win64.msi
folder="$prefix/drive_c/Program Files/snack-order"
# shellcheck source=tests/e2e/common.sh
source "$(dirname "$0")/../e2e/common.sh"
msiexec() { wine msiexec "$1" "Z:${2//\//\\}" /qn; }
# The version of every program that Settings lists as snack-order, one a line.
entries() {
  wine reg query 'HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall' /s | tr -d '\r' | awk '
    /^HKEY/ { if (name == "snack-order") print version; name = version = "" }
    $1 == "DisplayName" { name = $3 } $1 == "DisplayVersion" { version = $3 }
    END { if (name == "snack-order") print version }'
}
expect_entries() {
  local listed
  listed=$(entries)
  [[ $listed == "$1" ]] || fail "Settings lists snack-order as [${listed//$'\n'/, }], expected [$1]"
}
shortcuts() { find "$prefix/drive_c" -name '* da Lanchonete.lnk'; }
# One shortcut of each name, starting its file in the program's folder.
expect_shortcuts() {
  local name file found shown
  for name in "Pedido da Lanchonete:snack-order.exe" "Caixa da Lanchonete:caixa.cmd"; do
    file=${name#*:} name=${name%%:*}
    mapfile -t found < <(find "$prefix/drive_c" -name "$name.lnk")
    if ((${#found[@]} != 1)); then
      fail "${#found[@]} shortcuts $name.lnk in the prefix, expected one"
      continue
    fi
    shown=$(bash "$(dirname "$0")/start_shortcut.sh" --show "$name")
    [[ $shown == 'C:\Program Files\snack-order\'$'\n''C:\Program Files\snack-order\'"$file" ]] ||
      fail "$name does not start the installed $file in its folder, but (folder, file):"$'\n'"$shown"
  done
}

case $scenario in
install | again)
  msiexec /i "$installer" || fail "msiexec /i failed with status $?"
  diff <(cd "$build/installer" && ls) <(cd "$folder" && ls) || fail "the files installed are not the zip's"
  for file in "$build"/installer/*; do
    cmp -s "$file" "$folder/${file##*/}" || fail "${file##*/} is not the zip's"
  done
  expect_shortcuts
  expect_entries "$version"
  ;;
uninstall)
  msiexec /x "$installer" || fail "msiexec /x failed with status $?"
  [[ ! -e $folder ]] || fail "$folder is still there"
  [[ -z $(shortcuts) ]] || fail "shortcuts are still there: $(shortcuts)"
  expect_entries ""
  ;;
upgrade)
  work_dir
  older=$work/older.msi
  wixl --arch x64 -D Version=0.0.1 -D ProductCode=5B0C1E2D-0000-4000-8000-000000000001 \
    -o "$older" "$build/snack-order.wxs" || fail "wixl could not build an older installer"
  msiexec /i "$older" || fail "the older installer failed with status $?"
  expect_entries 0.0.1
  msiexec /i "$installer" || fail "the upgrade failed with status $?"
  expect_entries "$version"
  cmp -s "$build/snack-order.exe" "$folder/snack-order.exe" || fail "the upgrade did not install this program"
  expect_shortcuts
  msiexec /i "$older" && fail "the older installer went over the newer one"
  expect_entries "$version"
  msiexec /x "$installer" || fail "msiexec /x failed with status $?"
  expect_entries ""
  ;;
*)
  echo "usage: installer.sh install|again|uninstall|upgrade WINDOWS_BUILD_DIR PREFIX VERSION" >&2
  exit 2
  ;;
esac
finish "WINEPREFIX=$prefix wine msiexec /i Z:${installer//\//\\} /qn (/x removes it)"
