#!/usr/bin/env bash
# The desktop matrix: the desktop end-to-end set under each real window manager
# from Debian, a run under Wayland, and the sound server's restart.
#   scripts/desktops.sh [manager ...]     (default: every manager below)
# Prints one table, manager x behaviour, and ends with status 1 when any cell
# failed. Every manager runs on the tests' private Xvfb with its own settings
# and, where it wants one, its own session bus; the tests start and stop all of
# it by PID (tests/e2e/window_managers.cpp).
# Environment: BUILD_DIR (default build).
set -uo pipefail
cd "$(dirname "$0")/.."

scripts/setup.sh --tests --desktops >/dev/null
build="${BUILD_DIR:-build}"

managers=("$@")
((${#managers[@]})) || managers=(openbox kwin_x11 mutter xfwm4 fluxbox icewm i3)

# The behaviours and the end-to-end cases that show each (ctest names).
columns=("first showing" "placement" "zoom" "dialogs" "out of sight" "focus")
patterns=(
  '^e2e\.(Opening\.TheMainWindow|Managers/Desktop\.AStartWaits)'
  '^e2e\.(StartFit\.|Opening\.AStoredPlace|EndToEnd\.(StartAfterStart|ClosingKeeps)|Managers/Desktop\.AStoredPlace)'
  '^e2e\.(Zoom\.|Managers/Desktop\.ZoomRoundTrips)'
  '^e2e\.(Opening\.WindowsSit|.*Dialog)'
  '^e2e\.EndToEnd\.(AGameOutOfSight|AManagerTaking)'
  '^e2e\..*(Focus|focus)'
)
all=$(IFS='|'; echo "${patterns[*]}")

scratch=$(mktemp -d /tmp/quibbix-desktops-XXXXXX)
trap 'rm -rf "$scratch"' EXIT
failed=0
declare -A cell

for wm in "${managers[@]}"; do
  echo "== $wm" >&2
  log="$scratch/$wm.log"
  QUIBBIX_TEST_WM="$wm" QT_QPA_PLATFORM=offscreen \
    ctest --test-dir "$build" -R "$all" --timeout 180 --output-on-failure >"$log" 2>&1
  # "  3/12 Test  #40: e2e.Zoom.Keys... .....   Passed    4.20 sec"
  results=$(sed -nE 's/^ *[0-9]+\/[0-9]+ Test +#[0-9]+: ([^ ]+) .*(Passed|Failed|Timeout|Exception|Not Run).*/\1 \2/p' "$log")
  for i in "${!columns[@]}"; do
    names=$(grep -E "${patterns[$i]}" <<<"$results" || true)
    total=$(grep -c . <<<"$names" || true)
    passed=$(grep -c ' Passed$' <<<"$names" || true)
    if ((total == 0)); then
      cell["$wm,$i"]="-"
    elif ((passed == total)); then
      cell["$wm,$i"]="ok $passed/$total"
    else
      cell["$wm,$i"]="FAIL $passed/$total"
      failed=1
      grep -v ' Passed$' <<<"$names" | sed "s/^/  $wm: /" >&2
    fi
  done
  # A manager that does not even start fails every case; say why.
  if ! grep -q ' Passed ' "$log"; then
    grep -m3 -E 'did not start|not found|error' "$log" | sed "s/^/  $wm: /" >&2
  fi
done

# Under Wayland the game can neither read nor set its window's place: it keeps
# the place it had from X11 byte for byte, and the other choices are stored as
# under X11. Weston runs headless (sway refuses to run as root, as CI does).
wayland() {
  command -v weston >/dev/null || { echo "no weston"; return 1; }
  local dir="$scratch/wayland" rt
  rt="$dir/runtime"
  mkdir -p "$rt" "$dir/config/Zorvyplay/Quibbix" && chmod 700 "$rt"
  local ini="$dir/config/Zorvyplay/Quibbix/V2.ini"
  printf '[common]\nsound=0\ntongue=0\nMainForm="200,0,1,37,41,537,407"\n' >"$ini"
  env -i PATH="$PATH" HOME="$dir" XDG_RUNTIME_DIR="$rt" weston --backend=headless-backend.so \
    --use-pixman --socket=quibbix-wl --idle-time=0 >"$dir/weston.log" 2>&1 &
  local weston=$! n
  for ((n = 0; n < 400; n++)); do
    [[ -S "$rt/quibbix-wl" ]] || ! kill -0 $weston 2>/dev/null && break
    sleep 0.05
  done
  if [[ ! -S "$rt/quibbix-wl" ]]; then
    kill $weston 2>/dev/null; wait $weston 2>/dev/null
    echo "weston did not start"; return 1
  fi
  # DISPLAY is set too, as on GNOME under Wayland: Qt takes Wayland all the same.
  # WAYLAND_DEBUG shows when the window has been configured and drawn.
  env -i PATH="$PATH" HOME="$dir" XDG_CONFIG_HOME="$dir/config" XDG_RUNTIME_DIR="$rt" \
    WAYLAND_DISPLAY=quibbix-wl DISPLAY=":99" WAYLAND_DEBUG=client LANG=C.UTF-8 \
    SDL_AUDIODRIVER=dummy DBUS_SESSION_BUS_ADDRESS=unix:path=/nonexistent \
    "$build/quibbix" >"$dir/game.log" 2>&1 &
  local game=$! shown=0
  for ((n = 0; n < 400; n++)); do
    grep -q 'xdg_surface@[0-9]*\.ack_configure' "$dir/game.log" 2>/dev/null && { shown=1; break; }
    kill -0 $game 2>/dev/null || break
    sleep 0.05
  done
  local verdict=ok
  if ((shown)); then
    # The session's end (SIGTERM) closes the game as the player's yes does.
    kill -TERM $game
    wait $game
    local status=$?
    ((status == 0)) || verdict="FAIL exit $status"
    grep -qx 'MainForm="200,0,1,37,41,537,407"' "$ini" ||
      verdict="FAIL $(grep MainForm "$ini" || echo 'MainForm gone')"
    grep -qx 'tongue=0' "$ini" && grep -qx 'sound=0' "$ini" || verdict="FAIL sound or tongue"
  else
    kill $game 2>/dev/null; wait $game 2>/dev/null
    verdict="FAIL no window"
  fi
  kill $weston 2>/dev/null; wait $weston 2>/dev/null
  echo "$verdict"
}

wl=$(wayland)
[[ "$wl" == ok ]] || failed=1

pw="-"
if [[ -x scripts/pipewire_check.sh ]]; then
  if scripts/pipewire_check.sh >"$scratch/pipewire.log" 2>&1; then pw=ok; else
    pw=FAIL; failed=1; tail -5 "$scratch/pipewire.log" >&2
  fi
fi

{
  printf '| window manager |'
  for c in "${columns[@]}"; do printf ' %s |' "$c"; done
  printf '\n|---|'
  for _ in "${columns[@]}"; do printf -- '---|'; done
  printf '\n'
  for wm in "${managers[@]}"; do
    printf '| %s |' "$wm"
    for i in "${!columns[@]}"; do printf ' %s |' "${cell[$wm,$i]}"; done
    printf '\n'
  done
  echo
  echo "Wayland (weston headless), choices and place kept: $wl"
  echo "PipeWire server restart: $pw"
}
exit $failed
