#!/usr/bin/env bash
# --help, --version and a usage error answer in a terminal without a display:
# the command line is read before anything needs a window system.
#   cli_test.sh <program>
set -uo pipefail
program="$1"
failed=0
expect() {
  local want="$1"
  shift
  local out status
  out="$(env -u DISPLAY -u WAYLAND_DISPLAY QT_QPA_PLATFORM= "$program" "$@" 2>&1)"
  status=$?
  if [[ "$status" != "$want" ]]; then
    echo "FAIL: quibbix $* ended with $status, not $want:"
    echo "$out"
    failed=1
  else
    echo "ok: quibbix $* -> $status"
  fi
}
expect 0 --help
expect 0 --version
expect 2 --bogus
expect 2 --zoom 9
exit "$failed"
