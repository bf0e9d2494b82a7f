#!/usr/bin/env bash
# Installs the build into a fresh prefix and checks what a desktop expects to find there.
# The prefix has a space in its name, as a user's folder may.
set -euo pipefail
build="$1"
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
prefix="$tmp/my games"
cmake --install "$build" --prefix "$prefix" >/dev/null

fail=0
for f in games/quibbix share/quibbix/QBIX2.HLP share/man/man6/quibbix.6.gz \
         share/doc/quibbix/copyright share/doc/quibbix/changelog.gz \
         share/applications/org.zorvyplay.Quibbix.desktop \
         share/metainfo/org.zorvyplay.Quibbix.metainfo.xml \
         share/icons/hicolor/32x32/apps/org.zorvyplay.Quibbix.png \
         share/icons/hicolor/48x48/apps/org.zorvyplay.Quibbix.png \
         share/icons/hicolor/64x64/apps/org.zorvyplay.Quibbix.png \
         share/icons/hicolor/128x128/apps/org.zorvyplay.Quibbix.png \
         share/icons/hicolor/256x256/apps/org.zorvyplay.Quibbix.png; do
  [[ -f "$prefix/$f" ]] || { echo "missing: $f"; fail=1; }
done
entry="$prefix/share/applications/org.zorvyplay.Quibbix.desktop"
desktop-file-validate "$entry" || fail=1
# The entry starts the program of this prefix, whether or not it is on PATH; the path is
# quoted for its space.
exec_line=$(grep '^Exec=' "$entry")
[[ "$exec_line" == "Exec=\"$prefix/games/quibbix\"" ]] || { echo "desktop entry has $exec_line"; fail=1; }
appstreamcli validate --no-net --pedantic "$prefix/share/metainfo/org.zorvyplay.Quibbix.metainfo.xml" \
  >"$tmp/appstream.out" 2>&1 || { cat "$tmp/appstream.out"; fail=1; }
man --warnings -l "$prefix/share/man/man6/quibbix.6.gz" 2>"$tmp/man.err" | grep -q -- "--zoom" ||
  { echo "manual page lacks --zoom"; fail=1; }
[[ -s "$tmp/man.err" ]] && { cat "$tmp/man.err"; fail=1; }

program="$prefix/games/quibbix"
version=$("$program" --version)
[[ "$version" == "quibbix 2.2" ]] || { echo "--version said: $version"; fail=1; }
"$program" --help | grep -q -- "--seed" || { echo "--help lacks --seed"; fail=1; }
"$program" --help | grep -q -- "--zoom" || { echo "--help lacks --zoom"; fail=1; }
# Every usage error: status 2, the reason on standard error, nothing on standard output.
while IFS='|' read -r args said; do
  status=0
  # shellcheck disable=SC2086
  message=$(QT_QPA_PLATFORM=offscreen "$program" $args 2>&1 >"$tmp/usage.out") || status=$?
  [[ $status -eq 2 && "$message" == *"$said"* && ! -s "$tmp/usage.out" ]] ||
    { echo "$args: status $status, said: $message"; fail=1; }
done <<'CASES'
--zoom 0|--zoom needs a whole number from 1 to 4
--zoom 5|--zoom needs a whole number from 1 to 4
--zoom abc|--zoom needs a whole number from 1 to 4
--zoom 2.5|--zoom needs a whole number from 1 to 4
--zoom|Missing value after '--zoom'
--seed abc|--seed needs a whole number
--seed|Missing value after '--seed'
--frobnicate|Unknown option 'frobnicate'
CASES
exit $fail
