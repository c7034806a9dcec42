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
for tool in po4a msgfmt msgattrib; do
  command -v "$tool" > /dev/null || { echo "$tool not found (tools/setup build installs po4a, which brings it)"; exit 1; }
done
work=$(mktemp -d) || exit 1
trap 'rm -rf "$work"' EXIT
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
  echo "packaging/po/pt_BR.po is behind the English texts (the strings above): from the top of the source tree,"
  echo "run '$update', which updates it, translate what it marks fuzzy or leaves untranslated, and drop the fuzzy marks."
  echo "reproduce: cd $source_dir && bash tests/translation.sh ."
  exit 1
fi
