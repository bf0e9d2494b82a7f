#!/usr/bin/env bash
# The game's German lives in translations/quibbix_de.ts, kept by Qt's own tools.
#   scripts/translations.sh update   takes in the texts of src/ (new ones unfinished, gone ones dropped)
#   scripts/translations.sh check    fails unless the file is up to date with src/ and every
#                                    text has a finished translation (run by the tests)
# LUPDATE and LRELEASE name the tools; by default Qt 6's from Debian's qt6-l10n-tools.
#
# lupdate is run here directly over src/, never through the build's update_translations
# target: with Qt 6.4, a file written by that target and then built in the same Ninja
# build folder came out with every entry "vanished" (lrelease: "Generated 0
# translation(s)") until cmake ran again. The build only compiles the file (lrelease).
set -euo pipefail
cd "$(dirname "$0")/.."

lupdate="${LUPDATE:-/usr/lib/qt6/bin/lupdate}"
lrelease="${LRELEASE:-/usr/lib/qt6/bin/lrelease}"
ts=translations/quibbix_de.ts
# No source locations: a text's line moving is not a change of the translation.
options=(-recursive -locations none -no-obsolete -source-language en -target-language de)

case "${1:-}" in
  update)
    "$lupdate" "${options[@]}" src -ts "$ts"
    ;;
  check)
    scratch=$(mktemp -d)
    trap 'rm -rf "$scratch"' EXIT
    cp "$ts" "$scratch/quibbix_de.ts"
    report=$("$lupdate" "${options[@]}" src -ts "$scratch/quibbix_de.ts" 2>&1)
    fail=0
    if ! cmp -s "$ts" "$scratch/quibbix_de.ts"; then
      echo "$ts is not up to date with src/; run scripts/translations.sh update and translate:"
      diff -u "$ts" "$scratch/quibbix_de.ts" | head -60
      echo "$report"
      fail=1
    fi
    released=$("$lrelease" "$ts" -qm "$scratch/quibbix_de.qm" 2>&1)
    echo "$released"
    # "Generated N translation(s) (N finished and 0 unfinished)", and nothing ignored.
    if ! grep -Eq 'Generated [1-9][0-9]* translation\(s\) \(([0-9]+) finished and 0 unfinished\)' \
      <<<"$released" || grep -q 'Ignored' <<<"$released"; then
      echo "$ts has texts without a finished German translation"
      fail=1
    fi
    if grep -Eq 'type="(unfinished|vanished|obsolete)"' "$ts"; then
      echo "$ts has entries marked unfinished, vanished or obsolete:"
      grep -nE 'type="(unfinished|vanished|obsolete)"' "$ts" | head -20
      fail=1
    fi
    exit "$fail"
    ;;
  *)
    echo "usage: $0 update|check" >&2
    exit 2
    ;;
esac
