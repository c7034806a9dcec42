#!/usr/bin/env bash
# The Brazilian Portuguese translation (packaging/po/pt_BR.po) has caught up
# with the English manual page and Windows instructions: po4a updates a copy
# of it against the English sources as they are now, and msgfmt must count
# no string fuzzy or untranslated, lest the build make pages half in English.
# usage: translation.sh SOURCE_DIR
set -u
source_dir=$(cd "$1" && pwd) || exit 1
po=$source_dir/packaging/po/pt_BR.po
update="po4a --no-translations --srcdir packaging --destdir packaging packaging/po/po4a.cfg"
# shellcheck source=tests/e2e/common.sh
source "$(dirname "$0")/e2e/common.sh"
# gettext's msgfmt and msgattrib come with po4a.
require po4a msgfmt:po4a msgattrib:po4a
work_dir
mkdir "$work/po" && cp "$po" "$work/po/" || exit 1

# po4a reads the .po from --destdir before --srcdir, and writes it there.
(cd "$work" && po4a --no-translations --srcdir "$source_dir/packaging" --destdir "$work" \
  "$source_dir/packaging/po/po4a.cfg") > "$work/po4a.log" 2>&1 || { cat "$work/po4a.log"; exit 1; }
statistics=$(msgfmt --statistics -o /dev/null "$work/po/pt_BR.po" 2>&1) || { echo "$statistics"; exit 1; }
echo "$statistics"
if [[ $statistics == *fuzzy* || $statistics == *untranslated* ]]; then
  # Each without its header, which ends at the first blank line.
  msgattrib --only-fuzzy --no-obsolete "$work/po/pt_BR.po" | sed '1,/^$/d'
  msgattrib --untranslated --no-obsolete "$work/po/pt_BR.po" | sed '1,/^$/d'
  fail "packaging/po/pt_BR.po is behind the English texts (the strings above): from the top of the source tree,"
  echo "run '$update', which updates it, translate what it marks fuzzy or leaves untranslated, and drop the fuzzy marks."
fi
finish "cd $source_dir && bash tests/translation.sh ."
