#!/usr/bin/env bash
# The running game ends on SIGTERM, as a session's logout or `kill` expects.
set -euo pipefail
program="$1"
cfg=$(mktemp -d)
trap 'rm -rf "$cfg"; kill -9 "$pid" 2>/dev/null || true' EXIT
QT_QPA_PLATFORM=offscreen SDL_AUDIODRIVER=dummy XDG_CONFIG_HOME="$cfg" "$program" --seed 1 &
pid=$!
# Up and running: the audio thread has started beside the GUI thread.
for _ in $(seq 200); do
  [[ $(ls /proc/$pid/task 2>/dev/null | wc -l) -ge 2 ]] && break
  sleep 0.05
done
kill -TERM "$pid"
for _ in $(seq 200); do
  kill -0 "$pid" 2>/dev/null || { wait "$pid" || true; echo "ended on SIGTERM"; exit 0; }
  sleep 0.05
done
echo "still running 10 s after SIGTERM"
exit 1
