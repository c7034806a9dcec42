#!/usr/bin/env bash
# The Debian packages, as Debian's own tools see them.
#
# usage: check.sh CHECK SOURCE_DIR WORK_DIR [ARCH]
#   build      tools/build-package builds the source package and the binary
#              packages of ARCH (this machine's by default) in WORK_DIR, and
#              the package is unpacked into WORK_DIR/unpacked, for the
#              package's own tests (debian/tests) to run against
#   lintian    lintian -I on the .changes, source and binaries: no tag at
#              all, down to informational ones, but for the overrides in
#              debian/ (each with its reason)
#   blhc       blhc on the build log: every compile and link had the flags
#              that dpkg-buildflags gives for hardening=+all
#   reprotest  reprotest builds the source package twice, the second time
#              with another build path, time, time zone, umask, locale, file
#              order, environment, home, exec path, kernel version and CPU
#              count: the same bytes both times
#   desktop    desktop-file-validate on the menu entry unpacked from the
#              package: nothing to report
#   installed  what `cmake --install` of the build in WORK_DIR puts in a prefix
set -u
check=$1 source_dir=$2 work=$3
arch=${4:-$(dpkg --print-architecture)}
# shellcheck source=tests/e2e/common.sh
source "$(dirname "$0")/../e2e/common.sh"
reproduce=

# The tool's whole report must be empty, and its status 0.
expect_silence() {
  local report status
  report=$("$@" 2> "$work/$check.stderr")
  status=$?
  if [[ -n $report || $status -ne 0 ]]; then
    printf '%s\n' "$report"
    cat "$work/$check.stderr"
    fail "$1 reported the above, status $status"
  fi
  reproduce="$*"
}

case $check in
build)
  require dpkg-buildpackage dpkg-deb
  "$source_dir/tools/build-package" "$arch" "$work" > "$work.log" 2>&1 || { cat "$work.log"; exit 1; }
  dpkg-deb -x "$work"/snack-order_*_"$arch".deb "$work/unpacked"
  reproduce="$source_dir/tools/build-package $arch $work"
  ;;
lintian)
  require lintian
  # lintian leaves cache files in TMPDIR; they go with the work directory.
  mkdir -p "$work/lintian-tmp"
  TMPDIR=$work/lintian-tmp expect_silence lintian -I "$work"/snack-order_*_"$arch".changes
  ;;
blhc)
  require blhc
  expect_silence blhc --bindnow "$work"/snack-order_*_"$arch".build
  ;;
reprotest)
  require reprotest faketime disorderfs fusermount
  # Every variation but two: the user and group, for which there is no
  # second user here, and the host and domain names, which reprotest sets in
  # a user namespace of their own, which the kernel refuses in a chroot.
  reproduce="reprotest --vary=-user_group,-domain_host $(echo "$work"/snack-order_*.dsc)"
  $reproduce > "$work/reprotest.log" 2>&1 || { cat "$work/reprotest.log"; fail "reprotest reported the above"; }
  ;;
desktop)
  require desktop-file-validate
  expect_silence desktop-file-validate "$work/unpacked/usr/share/applications/snack-order.desktop"
  ;;
installed)
  rm -rf "$work/installed"
  cmake --install "$work" --prefix "$work/installed" > /dev/null || exit 1
  expected=$(printf '%s\n' ./bin/snack-order ./lib/systemd/system/snack-order@.service \
    ./share/applications/snack-order.desktop \
    ./share/doc/snack-order/changelog.gz ./share/doc/snack-order/copyright \
    ./share/man/man1/snack-order.1.gz ./share/man/pt_BR/man1/snack-order.1.gz)
  actual=$(cd "$work/installed" && find . -type f -o -type l | sort)
  [[ $actual == "$expected" ]] || fail "installed:"$'\n'"$actual"$'\n'"expected:"$'\n'"$expected"
  reproduce="cmake --install $work --prefix $work/installed && find $work/installed"
  ;;
*)
  echo "unknown check $check"
  exit 2
  ;;
esac
finish "$reproduce"
