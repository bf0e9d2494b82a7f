#!/usr/bin/env bash
# Installs the build into a fresh prefix and checks what a desktop expects to find there.
set -euo pipefail
build="$1"
prefix=$(mktemp -d)
trap 'rm -rf "$prefix"' EXIT
cmake --install "$build" --prefix "$prefix" >/dev/null

fail=0
for f in bin/quibbix share/quibbix/QBIX2.HLP \
         share/applications/org.zorvyplay.Quibbix.desktop \
         share/metainfo/org.zorvyplay.Quibbix.metainfo.xml \
         share/icons/hicolor/32x32/apps/org.zorvyplay.Quibbix.png \
         share/icons/hicolor/48x48/apps/org.zorvyplay.Quibbix.png \
         share/icons/hicolor/64x64/apps/org.zorvyplay.Quibbix.png \
         share/icons/hicolor/128x128/apps/org.zorvyplay.Quibbix.png \
         share/icons/hicolor/256x256/apps/org.zorvyplay.Quibbix.png; do
  [[ -f "$prefix/$f" ]] || { echo "missing: $f"; fail=1; }
done
desktop-file-validate "$prefix/share/applications/org.zorvyplay.Quibbix.desktop" || fail=1
appstreamcli validate --no-net --pedantic "$prefix/share/metainfo/org.zorvyplay.Quibbix.metainfo.xml" \
  >/tmp/appstream.$$ 2>&1 || { cat /tmp/appstream.$$; fail=1; }
rm -f /tmp/appstream.$$
version=$("$prefix/bin/quibbix" --version)
[[ "$version" == "quibbix 2.2" ]] || { echo "--version said: $version"; fail=1; }
"$prefix/bin/quibbix" --help | grep -q -- "--seed" || { echo "--help lacks --seed"; fail=1; }
"$prefix/bin/quibbix" --seed abc >/dev/null 2>&1 && { echo "a bad seed was accepted"; fail=1; }
"$prefix/bin/quibbix" --help | grep -q -- "--zoom" || { echo "--help lacks --zoom"; fail=1; }
for bad in 0 5 abc 2.5; do
  status=0
  message=$(QT_QPA_PLATFORM=offscreen "$prefix/bin/quibbix" --zoom "$bad" 2>&1 >/dev/null) || status=$?
  [[ $status -eq 2 && "$message" == *"--zoom needs a whole number from 1 to 4"* ]] ||
    { echo "--zoom $bad: status $status, said: $message"; fail=1; }
done
exit $fail
