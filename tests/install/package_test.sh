#!/usr/bin/env bash
# Builds the Debian package from the build tree and holds it to Debian policy with lintian:
# any error or warning fails, info and pedantic tags are only shown. Then checks that the
# package, its desktop entry and its AppStream data tell the same story.
#   package_test.sh BUILD_DIR
set -euo pipefail
build="$1"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

cpack -G DEB -B "$work" --config "$build/CPackConfig.cmake" >"$work/cpack.log" 2>&1 ||
  { cat "$work/cpack.log"; exit 1; }
debs=("$work"/quibbix_*.deb)
deb="${debs[0]}"
[[ -f "$deb" ]] || { echo "no package built"; cat "$work/cpack.log"; exit 1; }
echo "built $(basename "$deb")"

fail=0
lintian --fail-on error,warning --display-info --pedantic "$deb" || { echo "lintian failed"; fail=1; }

root="$work/root"
dpkg-deb -x "$deb" "$root"
field() { dpkg-deb -f "$deb" "$1"; }
expect() {  # what, wanted, got
  [[ "$2" == "$3" ]] || { printf '%s:\n  wanted: %s\n  got:    %s\n' "$1" "$2" "$3"; fail=1; }
}

[[ -x "$root/usr/games/quibbix" ]] || { echo "no program in /usr/games"; fail=1; }
entry="$root/usr/share/applications/org.zorvyplay.Quibbix.desktop"
expect "desktop entry's command" "Exec=/usr/games/quibbix" "$(grep '^Exec=' "$entry")"

# One line of text from the AppStream data: the content of the first element named $1.
metainfo="$root/usr/share/metainfo/org.zorvyplay.Quibbix.metainfo.xml"
flat() { tr '\n' ' ' | sed -e 's/<[^>]*>/ /g' -e 's/  */ /g' -e 's/^ //' -e 's/ $//'; }
# The English text: the first element, without its translations (xml:lang) inside.
xml() {
  perl -0777 -ne "if (m|<$1\\b[^>]*>(.*?)</$1>|s) { (my \$t = \$1) =~ s|<(\\w+) xml:lang=\"[^\"]*\">.*?</\\1>||gs; print \$t }" \
    "$metainfo" | flat
}
attr() { sed -n "s|.*<$1 $2=\"\([^\"]*\)\".*|\1|p" "$metainfo" | head -1; }

expect "summary" "$(xml summary)" "$(field Description | head -1)"
expect "description" "$(xml description)" "$(field Description | tail -n +2 | grep -v '^ \.$' | flat)"
expect "version" "$(attr release version)" "$(field Version)"
expect "homepage" "$(xml url)" "$(field Homepage)"
expect "changelog's version" "$(field Version)" \
  "$(zcat "$root/usr/share/doc/quibbix/changelog.gz" | sed -n '1s/^quibbix (\([^)]*\)).*/\1/p')"
exit $fail
