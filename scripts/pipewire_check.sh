#!/usr/bin/env bash
# Sound through PipeWire, as Debian 12's GNOME runs it (pipewire, wireplumber and
# pipewire-pulse), with a null sink instead of a card, on a private runtime folder and
# session bus: nothing of the machine's own desktop is used or touched.
#   scripts/pipewire_check.sh        (BUILD_DIR: the build folder, default build)
# 1. Starts such a PipeWire and checks that a PulseAudio client's sound reaches the
#    null sink's monitor.
# 2. Runs the cue player's tests against PipeWire killed (SIGKILL, SIGTERM) in the
#    middle of a game and started again: the next cue must be heard within 2 s. Each
#    test starts, kills and restarts a private PipeWire of its own the same way.
# Everything started here is stopped by its process id. Exits non-zero on a failure.
set -euo pipefail
cd "$(dirname "$0")/.."
build="${BUILD_DIR:-build}"
tests="$build/tests/audio/audio_player_tests"

for p in pipewire wireplumber pipewire-pulse dbus-daemon pactl parec paplay; do
  command -v "$p" >/dev/null || { echo "pipewire_check: $p is missing; run scripts/setup.sh --tests" >&2; exit 1; }
done
[[ -x "$tests" ]] || { echo "pipewire_check: $tests is missing; build first" >&2; exit 1; }

dir=$(mktemp -d /tmp/quibbix-pipewire-XXXXXX)
pids=()
stop_all() {
  local i
  for ((i = ${#pids[@]} - 1; i >= 0; i--)); do kill "${pids[i]}" 2>/dev/null || true; done
  for ((i = ${#pids[@]} - 1; i >= 0; i--)); do wait "${pids[i]}" 2>/dev/null || true; done
  rm -rf "$dir"
}
trap stop_all EXIT

mkdir -m 700 "$dir/run" "$dir/home"
mkdir -p "$dir/config/pipewire/pipewire.conf.d"
cat >"$dir/config/pipewire/pipewire.conf.d/null-sink.conf" <<'EOF'
context.objects = [
  { factory = adapter
    args = { factory.name = support.null-audio-sink node.name = nullsink
             media.class = "Audio/Sink" audio.position = [ FL FR ]
             monitor.channel-volumes = true } }
]
EOF
export XDG_RUNTIME_DIR="$dir/run" PIPEWIRE_RUNTIME_DIR="$dir/run" XDG_CONFIG_HOME="$dir/config" \
  HOME="$dir/home" DBUS_SESSION_BUS_ADDRESS="unix:path=$dir/run/bus" \
  PULSE_SERVER="unix:$dir/run/pulse/native"

# Waits up to 15 s for a condition (a command), polling.
await() {
  local what=$1
  shift
  for _ in $(seq 750); do
    "$@" && return 0
    sleep 0.02
  done
  echo "pipewire_check: $what" >&2
  tail -n 20 "$dir/server.log" >&2
  exit 1
}

# The session manager wants a session bus.
dbus-daemon --session --nofork --address="$DBUS_SESSION_BUS_ADDRESS" >>"$dir/server.log" 2>&1 &
pids+=($!)
await "no session bus" test -S "$dir/run/bus"
pipewire >>"$dir/server.log" 2>&1 &
pids+=($!)
await "pipewire did not start" test -S "$dir/run/pipewire-0"
wireplumber >>"$dir/server.log" 2>&1 &
pids+=($!)
pipewire-pulse >>"$dir/server.log" 2>&1 &
pids+=($!)
await "pipewire-pulse did not start" test -S "$dir/run/pulse/native"
sink_chosen() { pactl info 2>/dev/null | grep -q '^Default Sink: nullsink$'; }
await "the session manager chose no sink" sink_chosen

# A PulseAudio client's sound reaches the sink: a tone, recorded from its monitor.
sox -n -r 22050 -c 1 -b 16 "$dir/tone.wav" synth 0.3 sine 440 vol 0.5
parec -d nullsink.monitor --format=s16le --rate=22050 --channels=1 --raw --latency-msec=40 >"$dir/heard.raw" &
pids+=($!)
recorder=$!
await "the recorder got nothing" test -s "$dir/heard.raw"
paplay "$dir/tone.wav"
loud() {
  # Any sample above a tenth of full scale. awk reads to the end: with pipefail, od
  # cut off early would fail the pipe.
  od -An -v -t d2 -w2 "$dir/heard.raw" | awk '$1 > 3276 || $1 < -3276 { found = 1 } END { exit !found }'
}
await "the tone was not heard on the null sink's monitor" loud
kill "$recorder"
echo "pipewire_check: a private PipeWire plays a client's sound"

# The restarts: each test runs its own private PipeWire.
"$tests" --gtest_filter='Servers/PlayerAcrossRestart.*/PipeWire*'
echo "pipewire_check: passed"
