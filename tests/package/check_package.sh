#!/usr/bin/env bash
# Checks what build_package.sh made in WORK_DIR from SOURCE_DIR, for the
# Debian architecture ARCH (this machine's by default). The version and the
# date that the package and its manual page must carry are those of the
# newest entry of SOURCE_DIR/packaging/changelog, as dpkg reads it.
#
# usage: check_package.sh CHECK SOURCE_DIR WORK_DIR [ARCH]
#   control    the package's name, version, maintainer, section, description
#              and architecture; its dependencies, as dpkg-shlibdeps worked
#              them out, named as on ARCH (no cross toolchain's package):
#              the C library at a version that has every symbol the program
#              uses and is no newer than the C library it was built with
#   contents   exactly the expected files; the program stripped and free
#              of sanitizers
#   installed  what `cmake --install` put in the prefix
#   manual     the manual page renders without a warning and names the version
#              and the date
#   hardening  the packaged program is PIE, has RELRO with every symbol bound
#              at start-up, a stack protector and fortified C library calls;
#              its build used every flag dpkg-buildflags gives ARCH for
#              hardening
#   reproducible  a second build, from scratch in another directory and so
#              seconds later, gives the same bytes; every file is dated as
#              the newest changelog entry
#   lintian    lintian reports no tag at all, down to informational ones (-I)
set -u
check=$1 source_dir=$2 work=$3
native_arch=$(dpkg --print-architecture)
arch=${4:-$native_arch}
deb=$work/snack-order.deb
changelog=$source_dir/packaging/changelog
failed=0
reproduce=

fail() {
  echo "$1"
  failed=1
}

require() {
  for tool in "$@"; do
    if ! command -v "$tool" > /dev/null; then
      echo "$tool not found (tools/setup test installs it)"
      exit 1
    fi
  done
}

require dpkg-parsechangelog
version=$(dpkg-parsechangelog -l "$changelog" -S Version) || exit 1
release_time=$(dpkg-parsechangelog -l "$changelog" -S Timestamp) || exit 1

expect_field() {
  local name=$1 expected=$2 actual
  actual=$(dpkg-deb -f "$deb" "$name")
  [[ $actual == "$expected" ]] || fail "$name: '$actual', expected '$expected'"
}

check_control() {
  expect_field Package snack-order
  expect_field Version "$version"
  expect_field Maintainer "snack-order maintainers <maintainers@users.noreply.c-seed-dac407e9.example>"
  expect_field Section utils
  expect_field Architecture "$arch"
  local depends description needed built_with=libc6
  depends=$(dpkg-deb -f "$deb" Depends)
  # The C library's version that the program's symbols need, and that of
  # the C library it was built with (a cross compiler's own copy of it).
  needed=$(readelf -VW "$work/unpacked/usr/bin/snack-order" | grep -o 'GLIBC_[0-9.]*' | sort -uV | tail -n 1)
  [[ $arch == "$native_arch" ]] || built_with=libc6-$arch-cross
  built_with=$(dpkg-query -W -f '${Version}' "$built_with") || exit 1
  # Only dpkg-shlibdeps writes a versioned dependency on each library.
  if [[ ! ", $depends" =~ ^(, [a-z0-9][a-z0-9.+-]+ \(\>=\ [0-9][0-9a-z.+~-]*\))+$ || $depends =~ -cross\ |: ]]; then
    fail "Depends: '$depends', expected packages of $arch, each with a minimum version"
  elif [[ ! ", $depends," =~ ,\ libc6\ \(\>=\ ([0-9.]+)\), ]] \
    || dpkg --compare-versions "${BASH_REMATCH[1]}" lt "${needed#GLIBC_}" \
    || dpkg --compare-versions "${BASH_REMATCH[1]}" gt "$built_with"; then
    fail "Depends: '$depends', expected libc6 from ${needed#GLIBC_} (the program uses $needed) up to $built_with (built with it)"
  fi
  description=$(dpkg-deb -f "$deb" Description)
  [[ $(wc -l <<< "$description") -ge 2 ]] || fail "Description has no extended description: '$description'"
  reproduce="dpkg-deb -I $deb"
}

check_contents() {
  local expected actual program=$work/unpacked/usr/bin/snack-order
  expected=$(printf '%s\n' ./usr/bin/snack-order ./usr/share/doc/snack-order/changelog.gz \
    ./usr/share/doc/snack-order/copyright ./usr/share/man/man1/snack-order.1.gz)
  actual=$(cd "$work/unpacked" && find . -type f -o -type l | sort)
  [[ $actual == "$expected" ]] || fail "files in the package:"$'\n'"$actual"$'\n'"expected:"$'\n'"$expected"
  file "$program" | grep -q ', stripped' || fail "the program is not stripped: $(file "$program")"
  if readelf -d "$program" | grep -E 'NEEDED.*(asan|ubsan)'; then
    fail "the packaged program links a sanitizer runtime"
  fi
  reproduce="dpkg-deb -c $deb; file $program"
}

check_installed() {
  local expected actual
  expected=$(printf '%s\n' ./bin/snack-order ./share/doc/snack-order/changelog.gz \
    ./share/doc/snack-order/copyright ./share/man/man1/snack-order.1.gz)
  actual=$(cd "$work/installed" && find . -type f -o -type l | sort)
  [[ $actual == "$expected" ]] || fail "files installed:"$'\n'"$actual"$'\n'"expected:"$'\n'"$expected"
  [[ -x $work/installed/bin/snack-order ]] || fail "bin/snack-order is not executable"
  reproduce="cmake --install $work/build --prefix $work/installed && find $work/installed"
}

check_manual() {
  local page=$work/unpacked/usr/share/man/man1/snack-order.1.gz rendered warnings
  require man lexgrog
  # Accented letters are groff escapes, which a plain ASCII locale renders too.
  for locale in C C.UTF-8; do
    rendered=$(LC_ALL=$locale MANWIDTH=80 man --warnings -l "$page" 2> "$work/man-warnings")
    warnings=$(cat "$work/man-warnings")
    [[ -z $warnings ]] || fail "LC_ALL=$locale man --warnings:"$'\n'"$warnings"
  done
  for section in NAME SYNOPSIS DESCRIPTION SESSION INPUT OUTPUT "NOT ON A TERMINAL" "EXIT STATUS" ENVIRONMENT; do
    grep -qx "$section" <<< "$rendered" || fail "no section $section in the rendered page"
  done
  local day
  day=$(date -u -d "@$release_time" +%F)
  grep -Eq "^snack-order $version +$day +SNACK-ORDER\(1\)$" <<< "$rendered" \
    || fail "the page's footer does not name version $version and date $day: $(tail -n 1 <<< "$rendered")"
  [[ $(lexgrog "$page") == *'"snack-order - take one'* ]] || fail "whatis cannot read the NAME line: $(lexgrog "$page")"
  reproduce="man --warnings -l $page"
}

# The words dpkg-buildflags adds to VARIABLE for hardening=+all on ARCH.
hardening_flags() {
  local -x DEB_HOST_ARCH=$arch
  comm -23 <(DEB_BUILD_MAINT_OPTIONS=hardening=+all dpkg-buildflags --get "$1" | tr ' ' '\n' | sort -u) \
    <(DEB_BUILD_MAINT_OPTIONS=hardening=-all dpkg-buildflags --get "$1" | tr ' ' '\n' | sort -u)
}

check_hardening() {
  local program=$work/unpacked/usr/bin/snack-order dynamic symbols commands compiles link lacking flag
  require readelf dpkg-buildflags ninja
  dynamic=$(readelf -dW "$program")
  symbols=$(readelf --dyn-syms -W "$program")
  if [[ ! $(readelf -hW "$program") =~ Type:\ +DYN ]] || ! grep -q 'FLAGS_1.* PIE' <<< "$dynamic"; then
    fail "the program is not position-independent"
  fi
  readelf -lW "$program" | grep -q GNU_RELRO || fail "the program has no RELRO segment"
  grep -Eq '\(FLAGS\).*BIND_NOW|FLAGS_1.* NOW' <<< "$dynamic" || fail "the program's symbols are not bound at start-up (BIND_NOW)"
  grep -Eq ' __[a-z]+_chk(@|$)' <<< "$symbols" || fail "the program calls no fortified function (__*_chk)"
  grep -q ' __stack_chk_fail' <<< "$symbols" || fail "the program has no stack protector (__stack_chk_fail)"
  # Every compile command of the program and its libraries, and its link.
  commands=$(ninja -C "$work/build" -t commands snack-order) || exit 1
  compiles=$(grep -e ' -c ' <<< "$commands")
  link=$(grep -e ' -o snack-order ' <<< "$commands")
  while read -r flag; do
    lacking=$(grep -vFe " $flag " <<< "$compiles")
    [[ -z $lacking ]] || fail "dpkg-buildflags gives $flag, missing from $(wc -l <<< "$lacking") compile commands, as: ${lacking%%$'\n'*}"
  done < <(hardening_flags CPPFLAGS; hardening_flags CXXFLAGS)
  while read -r flag; do
    [[ " $link " == *" $flag "* ]] || fail "dpkg-buildflags gives $flag, missing from the link: $link"
  done < <(hardening_flags LDFLAGS)
  reproduce="readelf -d -l --dyn-syms $program; ninja -C $work/build -t commands snack-order"
}

check_reproducible() {
  local again=$work/again
  rm -rf "$again"
  # Seconds after the first, so that time stamps of the build would differ.
  while (($(date +%s) - $(stat -L -c %Y "$deb") < 3)); do sleep 1; done
  bash "$(dirname "$0")/build_package.sh" "$source_dir" "$again" "$arch" > "$work/again.log" 2>&1 \
    || { cat "$work/again.log"; exit 1; }
  if ! cmp "$deb" "$again/snack-order.deb"; then
    fail "two builds of the same sources give different packages; files that differ:"
    diff -rq "$work/unpacked" "$again/unpacked"
    diff <(dpkg-deb -c "$deb") <(dpkg-deb -c "$again/snack-order.deb")
  fi
  local dated
  dated=$(find "$work/unpacked" -mindepth 1 -printf '%T@ %P\n' | grep -v "^$release_time\.0* ")
  [[ -z $dated ]] || fail "not dated $(date -u -d "@$release_time"), the newest changelog entry:"$'\n'"$dated"
  reproduce="bash $(dirname "$0")/build_package.sh $source_dir $again $arch && cmp $deb $again/snack-order.deb"
}

check_lintian() {
  local report status
  require lintian
  # lintian leaves cache files in TMPDIR; they go with the work directory.
  rm -rf "$work/lintian-tmp" && mkdir -p "$work/lintian-tmp"
  # Tags go to standard output; standard error is shown, not judged (as
  # root, lintian warns about that there).
  report=$(TMPDIR=$work/lintian-tmp lintian -I "$deb")
  status=$?
  if [[ -n $report ]]; then
    printf '%s\n' "$report"
    fail "lintian reports tags"
  elif ((status != 0)); then
    fail "lintian failed with status $status"
  fi
  reproduce="lintian -I $deb"
}

case $check in
control | contents | installed | manual | hardening | reproducible | lintian) "check_$check" ;;
*)
  echo "unknown check $check"
  exit 2
  ;;
esac
if ((failed)); then
  echo "reproduce: $reproduce"
  exit 1
fi
