#!/usr/bin/env bash
# Measures the game against its performance goals and prints one table. Every
# figure is a comparison made in this run on this machine: start-up, memory and
# the CPU of a quiet game (with the sound server's) against a minimal Qt Widgets
# window, animation lengths and the crate interval against their nominal lengths,
# plus the press and cue latency figures.
#   scripts/perf.sh [--no-build] [--runs N] [--game PROGRAM]
# --game measures another build of the game (one from before a change, say) with
# this tree's measuring programs.
# It starts a private Xvfb with Openbox on it and a private PulseAudio server with
# a null sink, as on a desktop, and stops them all by PID.
set -euo pipefail
cd "$(dirname "$0")/.."

build_first=1
runs=10
game=""
while (($#)); do
  case "$1" in
    --no-build) build_first=0 ;;
    --runs) runs="$2"; shift ;;
    --game) game="$2"; shift ;;
    *) echo "usage: scripts/perf.sh [--no-build] [--runs N] [--game PROGRAM]" >&2; exit 2 ;;
  esac
  shift
done

started=$(date +%s)
load=$(cut -d' ' -f1-3 /proc/loadavg)
if ((build_first)); then scripts/setup.sh --tests >/dev/null; fi
build="${BUILD_DIR:-build}"
bench="$build/bench"
game="${game:-$build/quibbix}"
for p in "$game" "$bench/minimal_window" "$bench/startup_probe" "$bench/press_bench" \
         "$bench/animation_probe" "$bench/cue_latency_probe"; do
  [[ -x "$p" ]] || { echo "perf.sh: $p is missing (build first)" >&2; exit 1; }
done

work=$(mktemp -d)
xvfb_pid=""
wm_pid=""
pulse_pid=""
cleanup() {
  [[ -n "$pulse_pid" ]] && { kill "$pulse_pid" 2>/dev/null && wait "$pulse_pid" 2>/dev/null; } || true
  [[ -n "$wm_pid" ]] && { kill "$wm_pid" 2>/dev/null && wait "$wm_pid" 2>/dev/null; } || true
  [[ -n "$xvfb_pid" ]] && { kill "$xvfb_pid" 2>/dev/null && wait "$xvfb_pid" 2>/dev/null; } || true
  rm -rf "$work"
}
trap cleanup EXIT

# --- private X server --------------------------------------------------------
display=""
for n in $(seq 90 199); do
  [[ -e /tmp/.X$n-lock || -e /tmp/.X11-unix/X$n ]] && continue
  display=":$n"
  break
done
[[ -n "$display" ]] || { echo "perf.sh: no free X display number" >&2; exit 1; }
# The screen is read back from Xvfb's framebuffer file, what a monitor would show.
mkdir "$work/fb"
fb="$work/fb/Xvfb_screen0"
Xvfb "$display" -screen 0 1280x1024x24 -fbdir "$work/fb" -nocursor -nolisten tcp \
  >"$work/xvfb.log" 2>&1 &
xvfb_pid=$!
for _ in $(seq 100); do
  xdpyinfo -display "$display" >/dev/null 2>&1 && break
  sleep 0.05
done
xdpyinfo -display "$display" >/dev/null 2>&1 || { echo "perf.sh: Xvfb did not start" >&2; exit 1; }
# A window manager frames and maps the windows, as on a desktop; it runs its
# --startup command once it is ready.
mkdir -p "$work/wm-home"
HOME="$work/wm-home" DISPLAY="$display" openbox --sm-disable --startup "touch $work/wm-ready" \
  >"$work/openbox.log" 2>&1 &
wm_pid=$!
for _ in $(seq 200); do
  [[ -e "$work/wm-ready" ]] && break
  sleep 0.05
done
[[ -e "$work/wm-ready" ]] || { echo "perf.sh: Openbox did not start" >&2; exit 1; }

# --- private sound server: PulseAudio with a null sink ---------------------------
pulse="$work/pulse"
mkdir -m 0700 "$pulse" "$pulse/home" "$pulse/run"
cat >"$pulse/null.pa" <<PA
load-module module-null-sink sink_name=nullsink
load-module module-native-protocol-unix socket=$pulse/native auth-anonymous=1
set-default-sink nullsink
PA
HOME="$pulse/home" XDG_RUNTIME_DIR="$pulse/run" pulseaudio -n --daemonize=no --exit-idle-time=-1 \
  --disallow-exit --use-pid-file=no -F "$pulse/null.pa" >"$work/pulse.log" 2>&1 &
pulse_pid=$!
for _ in $(seq 100); do
  [[ -S "$pulse/native" ]] && break
  sleep 0.05
done
[[ -S "$pulse/native" ]] || { echo "perf.sh: PulseAudio did not start" >&2; exit 1; }

mkdir -m 0700 "$work/run"
# The game's view of the machine: a real X server and a real sound server.
export DISPLAY="$display" QT_QPA_PLATFORM=xcb XDG_RUNTIME_DIR="$work/run" \
  PULSE_SERVER="unix:$pulse/native"

fresh_config() { mktemp -d "$work/config.XXXX"; }
# A configuration as after the first start: the language is chosen, so no dialog
# follows the splash; sound on (1, the default) or off (0).
chosen_config() {
  local dir
  dir=$(fresh_config)
  mkdir -p "$dir/Zorvyplay/Quibbix"
  printf '[common]\ntongue=0\nsound=%s\n' "${1:-1}" >"$dir/Zorvyplay/Quibbix/V2.ini"
  echo "$dir"
}
median() { sort -g | awk '{v[NR]=$1} END {if (NR==0) print -1; else if (NR%2) print v[(NR+1)/2]; else print (v[NR/2]+v[NR/2+1])/2}'; }
field() { sed -n "s/\(^\|.* \)$1=\([-0-9.]*\).*/\2/p"; }

# --- start-up and memory: the game against a minimal window, alternately -------
: >"$work/minimal.txt"
: >"$work/game.txt"
for _ in $(seq "$runs"); do
  XDG_CONFIG_HOME=$(fresh_config) "$bench/startup_probe" --fill 2060a0 --fb "$fb" -- \
    "$bench/minimal_window" >>"$work/minimal.txt" 2>>"$work/probe.log"
  XDG_CONFIG_HOME=$(fresh_config) "$bench/startup_probe" --board --splash --fb "$fb" -- \
    "$game" --seed 1 >>"$work/game.txt" 2>>"$work/probe.log"
done
min_ms=$(field paint_ms <"$work/minimal.txt" | median)
game_ms=$(field paint_ms <"$work/game.txt" | median)
splash_ms=$(field splash_ms <"$work/game.txt" | median)
min_kb=$(field hwm_kb <"$work/minimal.txt" | median)
game_kb=$(field hwm_kb <"$work/game.txt" | median)

# --- CPU of the game and the sound server, over 20 s each ------------------------
# The splash closes by itself after 3 s; "p" is the player's pause key. A paused
# game with sound on is measured once the player's quiet time (5 s) is over.
cpu_secs=20
total_cpu() { awk -v a="$(field cpu_percent <<<"$1")" -v b="$(field server_cpu_percent <<<"$1")" \
  'BEGIN { if (a < 0 || b < 0) print -1; else printf "%.2f", a + b }'; }
quiet_min=$(XDG_CONFIG_HOME=$(fresh_config) "$bench/startup_probe" --fill 2060a0 --idle-after 1 \
  --idle-for "$cpu_secs" --server-pid "$pulse_pid" -- "$bench/minimal_window" 2>>"$work/probe.log")
paused_on=$(XDG_CONFIG_HOME=$(chosen_config 1) "$bench/startup_probe" --board --idle-after 4 \
  --key p --then 6 --idle-for "$cpu_secs" --server-pid "$pulse_pid" -- "$game" --seed 1 \
  2>>"$work/probe.log")
paused_off=$(XDG_CONFIG_HOME=$(chosen_config 0) "$bench/startup_probe" --board --idle-after 4 \
  --key p --then 1 --idle-for "$cpu_secs" --server-pid "$pulse_pid" -- "$game" --seed 1 \
  2>>"$work/probe.log")
# Then real presses through the X server (XTest, or xdotool where the probe was built without it).
running_off=$(XDG_CONFIG_HOME=$(chosen_config 0) "$bench/startup_probe" --board --idle-after 4 \
  --idle-for "$cpu_secs" --server-pid "$pulse_pid" --presses 10 -- "$game" --seed 1 \
  2>>"$work/probe.log")
# A finished game: left alone, --seed 1 fills a chute to the top after about 50 s and
# the game-over message then waits for the player. Measured from 65 s on, once the
# stream of the last cue has closed; a watcher checks that the message is up by then
# (its title is just the game's name), or the row says the game was not over.
finished() {
  rm -f "$work/over"
  (for _ in $(seq 64); do
     sleep 1
     xdotool search --onlyvisible --name '^Quibbix$' >/dev/null 2>&1 && { touch "$work/over"; break; }
   done) &
  local watcher=$! result
  result=$(XDG_CONFIG_HOME=$(chosen_config "$1") "$bench/startup_probe" --board --idle-after 65 \
    --idle-for "$cpu_secs" --server-pid "$pulse_pid" -- "$game" --seed 1 2>>"$work/probe.log")
  wait "$watcher" || true
  if [[ -e "$work/over" ]]; then echo "$result"; else echo "game_not_over=1"; fi
}
finished_on=$(finished 1)
finished_off=$(finished 0)
x_press_ms=$(field press_ms <<<"$running_off")
x_press_us=$(awk -v a="$x_press_ms" 'BEGIN { printf "%.0f", (a < 0 ? -1 : 1000 * a) }')
x_press_via=$(sed -n 's/.*press_via=\([a-z]*\).*/\1/p' <<<"$running_off")

# --- a left press until the crate is in the hand, on the real X server ---------
# At zoom 1 and at zoom 3 (every field pixel a 3 x 3 block), side by side; and
# the largest frame an animation draws, the whole field pushed, at both zooms.
"$bench/press_bench" --benchmark_filter='BM_LeftPressToHand/0/|BM_WholeFieldFrame' \
  --benchmark_min_time=0.05 --benchmark_repetitions=10 --benchmark_report_aggregates_only=true \
  --benchmark_format=csv >"$work/press.csv" 2>>"$work/probe.log"
# real_time of the median over the repetitions, in microseconds.
median_us() {
  awk -F, -v name="\"$1_median\"" '$1 == name {
    t=$3; u=$5; gsub(/"/,"",u); if (u=="ns") t/=1000; else if (u=="ms") t*=1000; printf "%.0f", t }' \
    "$work/press.csv"
}
press_us=$(median_us BM_LeftPressToHand/0/1)
press3_us=$(median_us BM_LeftPressToHand/0/3)
frame_us=$(median_us BM_WholeFieldFrame/1)
frame3_us=$(median_us BM_WholeFieldFrame/3)

# --- animation lengths and the crate interval -----------------------------------
XDG_CONFIG_HOME=$(chosen_config) "$bench/animation_probe" --arrivals 6 >"$work/anim.txt" \
  2>>"$work/probe.log"

# --- a cue from the call to its first sample at the null sink --------------------
# From an open stream (cues close together, as in play) and from a closed one (each
# cue opens the stream again, as after a pause).
cue_ms=-1
cue_recv_ms=-1
cue_closed_ms=-1
cue_closed_recv_ms=-1
if cue=$(HOME="$pulse/home" SDL_AUDIODRIVER=pulseaudio "$bench/cue_latency_probe" --plays 10 \
  2>>"$work/probe.log"); then
  cue_ms=$(awk '$1=="cue_sink_ms" {print $2}' <<<"$cue")
  cue_recv_ms=$(awk '$1=="cue_received_ms" {print $2}' <<<"$cue")
fi
if cue=$(HOME="$pulse/home" SDL_AUDIODRIVER=pulseaudio "$bench/cue_latency_probe" --plays 10 --closed \
  2>>"$work/probe.log"); then
  cue_closed_ms=$(awk '$1=="cue_sink_ms" {print $2}' <<<"$cue")
  cue_closed_recv_ms=$(awk '$1=="cue_received_ms" {print $2}' <<<"$cue")
fi

# --- the table ----------------------------------------------------------------
row() {  # figure measured reference ratio goal met
  printf '| %-52s | %12s | %16s | %7s | %-15s | %-3s |\n' "$@"
}
yes_no() { awk -v c="$1" 'BEGIN { print (c ? "yes" : "no") }'; }
ratio() { awk -v a="$1" -v b="$2" 'BEGIN { if (a < 0 || b <= 0) print "-"; else printf "%.3f", a / b }'; }

echo "Machine: $(nproc) cores, $(sed -n 's/^model name[[:space:]]*: //p' /proc/cpuinfo | head -1)," \
  "Linux $(uname -r); load average before the run $load; $(date -u '+%Y-%m-%d %H:%M') UTC"
echo
row "Figure" "Measured" "Reference" "Ratio" "Goal" "Met"
row "----------------------------------------------------" "------------" "----------------" "-------" \
  "---------------" "---"
row "Start-up to board, effect included, median of $runs" "${game_ms} ms" \
  "${min_ms} ms min." "$(ratio "$game_ms" "$min_ms")" "ratio <= 1.3" \
  "$(yes_no "$(awk -v a="$game_ms" -v b="$min_ms" 'BEGIN{print (a>0 && b>0 && a<=1.3*b)}')")"
row "Start-up to board and splash, median of $runs" "${splash_ms} ms" "${min_ms} ms min." \
  "$(ratio "$splash_ms" "$min_ms")" "-" "-"
row "Peak memory (VmHWM), median of $runs" "$((game_kb / 1024)).$(((game_kb % 1024) * 10 / 1024)) MB" \
  "$((min_kb / 1024)).$(((min_kb % 1024) * 10 / 1024)) MB min." \
  "$(ratio "$game_kb" "$min_kb")" "<= +10 MB" \
  "$(yes_no "$(awk -v a="$game_kb" -v b="$min_kb" 'BEGIN{print (a>0 && b>0 && a-b<=10*1024)}')")"
# The peak over a whole game with sound on, the open stream and the game-over
# dialogs included, against the minimal window's peak after as long a run.
whole_kb=$(field hwm_end_kb <<<"$finished_on")
whole_kb=${whole_kb:--1}
min_end_kb=$(field hwm_end_kb <<<"$quiet_min")
row "Peak memory (VmHWM), a whole game to its end, sound on" \
  "$((whole_kb / 1024)).$(((whole_kb % 1024) * 10 / 1024)) MB" \
  "$((min_end_kb / 1024)).$(((min_end_kb % 1024) * 10 / 1024)) MB min." \
  "$(ratio "$whole_kb" "$min_end_kb")" "<= +10 MB" \
  "$(yes_no "$(awk -v a="$whole_kb" -v b="$min_end_kb" 'BEGIN{print (a>0 && b>0 && a-b<=10*1024)}')")"
# The same with sound off: the sound library is never loaded.
whole_off_kb=$(field hwm_end_kb <<<"$finished_off")
whole_off_kb=${whole_off_kb:--1}
row "Peak memory (VmHWM), a whole game to its end, sound off" \
  "$((whole_off_kb / 1024)).$(((whole_off_kb % 1024) * 10 / 1024)) MB" \
  "$((min_end_kb / 1024)).$(((min_end_kb % 1024) * 10 / 1024)) MB min." \
  "$(ratio "$whole_off_kb" "$min_end_kb")" "<= +10 MB" \
  "$(yes_no "$(awk -v a="$whole_off_kb" -v b="$min_end_kb" 'BEGIN{print (a>0 && b>0 && a-b<=10*1024)}')")"
for z in 1 3; do
  [[ $z == 1 ]] && us=$press_us || us=$press3_us
  row "Left press to crate in hand (median), zoom $z" "${us} us" "1000 us" \
    "$(ratio "$us" 1000)" "< 1 ms" "$(yes_no "$(awk -v a="$us" 'BEGIN{print (a>0 && a<1000)}')")"
done
for z in 1 3; do
  [[ $z == 1 ]] && us=$frame_us || us=$frame3_us
  row "Whole field drawn and pushed (median), zoom $z" "${us} us" "50000 us" \
    "$(ratio "$us" 50000)" "< 5 ms" \
    "$(yes_no "$(awk -v a="$us" 'BEGIN{print (a>0 && a<5000)}')")"
done
fastest=""
row "Left press through the X server to screen, median" "${x_press_us} us" "1000 us" \
  "$(ratio "$x_press_us" 1000)" "< 1 ms" \
  "$(yes_no "$(awk -v a="$x_press_us" 'BEGIN{print (a>=0 && a<1000)}')")"
while read -r name measured nominal extra; do
  case "$name" in
    triple_h*)
      label="Triple removal, top crate at slot ${name#triple_h}, median of 5"
      fastest+=" ${extra} ms (slot ${name#triple_h}),"
      ;;
    flyup_h1)
      label="Fly-up from height 1, median of 5"
      fastest+=" ${extra} ms (fly-up)"
      ;;
    arrival_interval) label="New-crate interval, mean of ${extra:-several}" ;;
    *) continue ;;
  esac
  goal="within 2 %"
  met=$(yes_no "$(awk -v a="$measured" -v b="$nominal" 'BEGIN{d=(a-b)/b; print (a>0 && (d<0?-d:d)<=0.02)}')")
  row "$label" "${measured} ms" "${nominal} ms" "$(ratio "$measured" "$nominal")" "$goal" "$met"
done <"$work/anim.txt"
min_cpu=$(total_cpu "$quiet_min")
for state in paused_on paused_off finished_on finished_off running_off; do
  case $state in
    paused_on) label="CPU, game + sound server: paused, sound on" ;;
    paused_off) label="CPU, game + sound server: paused, sound off" ;;
    finished_on) label="CPU, game + sound server: finished, sound on" ;;
    finished_off) label="CPU, game + sound server: finished, sound off" ;;
    running_off) label="CPU, game + sound server: running, sound off" ;;
  esac
  cpu=$(total_cpu "${!state}")
  row "$label" "${cpu} %" "${min_cpu} % min." "$(ratio "$cpu" 100)" "< 0.5 % of core" \
    "$(yes_no "$(awk -v a="$cpu" 'BEGIN{print (a>=0 && a<0.5)}')")"
done
row "Cue call to first sample at null sink, stream open" "${cue_ms} ms" "30 ms" \
  "$(ratio "$cue_ms" 30)" "< 30 ms" "$(yes_no "$(awk -v a="$cue_ms" 'BEGIN{print (a>=0 && a<30)}')")"
row "Cue call to first sample received, stream closed" "${cue_closed_recv_ms} ms" "30 ms" \
  "$(ratio "$cue_closed_recv_ms" 30)" "< 30 ms" \
  "$(yes_no "$(awk -v a="$cue_closed_recv_ms" 'BEGIN{print (a>=0 && a<30)}')")"
echo
echo "- Start-up: from fork to the expected pixels in Xvfb's framebuffer (the board's wall and"
echo "  shafts; the reference's fill colour), both framed by Openbox on the same server, run"
echo "  alternately; the game's show effect is drawn before its window appears; fresh"
echo "  configuration (sound on), --seed 1, the sound server running. The splash row waits for the"
echo "  splash's picture too."
echo "- Memory: VmHWM 0.5 s after the window showed (the game's splash is open by then); the"
echo "  whole game's rows are VmHWM at the end of the finished runs with sound on and off, the"
echo "  reference's at the end of its 20 s CPU run."
echo "- Press: Google Benchmark; the press event through the real widget, the game's handler and"
echo "  the canvas to the synchronous repaint on the X server; putting the crate back is not timed."
echo "  Zoom 3: Qt's scale factor at 3, every field pixel pushed as a 3 x 3 block. Whole field: the"
echo "  background redrawn and the whole field pushed, more than any animation frame draws; the"
echo "  goal is a tenth of the 50 ms an animation frame lasts."
echo "- Press through the X server: the real program, a real button press sent by ${x_press_via:-?}"
echo "  until the hand row read back from the screen changes; median of 10 presses."
echo "- Animations: the real busy waits, canvas and widget on the X server; fastest of 5:"
echo "  ${fastest# }."
echo "- Interval: the real window and its own 100 ms timer, from the first crate after the splash."
echo "- CPU: utime+stime of the game and of the PulseAudio server over ${cpu_secs} s, as % of one"
echo "  core; the reference is the minimal window with the same server. From 4 s after the board"
echo "  showed (the splash had closed itself; the language was already chosen, so no dialog was"
echo "  open); paused with the player's key \"p\", measured from 6 s after it with sound on (once"
echo "  the player has closed its stream) and 1 s after it with sound off. Finished: the game"
echo "  left alone until a chute overflowed (about 50 s), measured from 65 s on with the"
echo "  game-over message open. Game / server:"
for state in paused_on paused_off finished_on finished_off running_off; do
  if [[ ${!state} == game_not_over=1 ]]; then echo "  $state: the game was not over in time;"; continue; fi
  echo "  $state $(field cpu_percent <<<"${!state}") % / $(field server_cpu_percent <<<"${!state}") %;"
done
echo "  minimal window $(field cpu_percent <<<"$quiet_min") % / $(field server_cpu_percent <<<"$quiet_min") %."
echo "- Cue: cue 1 through the real SDL player, estimated at the null sink; as received by parec"
echo "  (with its own buffering, an upper bound): ${cue_recv_ms} ms open. Closed: the player closed"
echo "  its stream 150 ms after each cue and each cue opened it again; the row is the upper bound,"
echo "  as the sink estimate (${cue_closed_ms} ms) is drawn early when the server rewinds the sink"
echo "  to mix in a new stream."
echo "Took $(($(date +%s) - started)) s."
