#!/usr/bin/env bash
# Processor share while transcribing: the program plays a long MP3 on a
# PulseAudio null sink beside any peer installed (Parlatype), both in the same
# windows of wall time, with their windows shown and minimised, playing and
# paused. Prints every thread's share of one core, the whole process's share
# and the load average of each window.
#
# usage: bench_cpu.sh EXE [SECONDS_PER_WINDOW=30] [MEDIA_MINUTES=10]
#   BENCH_CPU_PREFERENCES="key=value ..." sets lines of the program's Preferences.ini.
#   BENCH_CPU_BESIDE="key=value ..." also runs a second Quillory ("Quillory-variant") with
#   those lines in its Preferences.ini, in the same windows of wall time (e.g.
#   BENCH_CPU_BESIDE="waveform.shown=0" for the player without the waveform).
#   BENCH_CPU_VARIANT_EXE=PATH runs that build as the second Quillory instead
#   (e.g. the build before a change), with BENCH_CPU_BESIDE's lines if any.
#   Parlatype runs after Quillory has quit, since another program's stream on
#   the sink (even paused) changes what the first costs; while playing, the
#   two Quillorys are measured in turn, each with the other paused.
#   BENCH_CPU_TOGETHER=1 runs all of them at once, measured together.
#   Runs on its own X server (with openbox, so windows can be minimised), its
#   own sound server and its own session bus, all stopped at the end. Both
#   programs are driven over the session bus (MPRIS and Parlatype's own
#   interface), so no keystroke needs a focused window.
# Needs: xvfb, openbox, xdotool, x11-utils, pulseaudio, pulseaudio-utils,
# dbus-daemon, ffmpeg, python3 (and parlatype for the comparison).
set -euo pipefail
exe=$(readlink -f "$1"); window=${2:-30}; minutes=${3:-10}
here=$(cd "$(dirname "$0")" && pwd)
if [ -z "${BENCH_CPU_BUS:-}" ]; then
  export BENCH_CPU_BUS=1
  exec dbus-run-session -- "$0" "$@"
fi

work=$(mktemp -d /tmp/bench_cpu.XXXXXX)
pids=()
cleanup() { for p in "${pids[@]}"; do kill "$p" 2>/dev/null || true; done; rm -rf "$work"; }
trap cleanup EXIT

# Speech-like sound: a tone under noise whose loudness changes every 100 ms.
ffmpeg -v error -f lavfi -i "sine=frequency=180:sample_rate=44100:duration=$((minutes * 60))" \
  -f lavfi -i "anoisesrc=color=pink:sample_rate=44100:amplitude=0.2:duration=$((minutes * 60))" \
  -filter_complex "[0][1]amix=inputs=2,volume='0.5+0.4*sin(t*7)':eval=frame" \
  -ac 1 -c:a libmp3lame -b:a 128k "$work/recording.mp3"

for n in $(seq 80 99); do [ -e /tmp/.X11-unix/X$n ] || { disp=:$n; break; }; done
Xvfb "$disp" -screen 0 1280x900x24 -nolisten tcp >/dev/null 2>&1 & pids+=($!)
export DISPLAY=$disp XDG_RUNTIME_DIR=$work/run PULSE_SERVER=unix:$work/run/pulse/native
mkdir -p "$XDG_RUNTIME_DIR/pulse"; chmod 700 "$XDG_RUNTIME_DIR"
for _ in $(seq 50); do xdpyinfo >/dev/null 2>&1 && break; sleep 0.1; done
openbox >/dev/null 2>&1 & pids+=($!)
pulseaudio -n --daemonize=no --exit-idle-time=-1 --log-target=file:"$work/pulse.log" \
  -L "module-native-protocol-unix" \
  -L "module-null-sink sink_name=bench rate=44100 channels=2" >/dev/null 2>&1 & pids+=($!)
for _ in $(seq 50); do pactl info >/dev/null 2>&1 && break; sleep 0.1; done
pactl set-default-sink bench

# Quillory, player and editor shown; it plays the file named on its command line.
home=$work/home; mkdir -p "$home"
[ -d "$(dirname "$exe")/Lang" ] && cp -r "$(dirname "$exe")/Lang" "$home/"
printf 'English.lng\r\n\r\n0\r\n5\r\n3\r\n1\r\n\r\n0\r\n' > "$home/Quillory.ini"
# Further settings for a variant, e.g. BENCH_CPU_PREFERENCES="waveform.shown=0".
[ -z "${BENCH_CPU_PREFERENCES:-}" ] || printf '%s\n' $BENCH_CPU_PREFERENCES > "$home/Preferences.ini"
QUILLORY_HOME=$home "$exe" "$work/recording.mp3" >"$work/quillory.log" 2>&1 & quillory=$!
pids+=($quillory)
timeout 30 xdotool search --sync --name '^Quillory$' >/dev/null
programs=("Quillory=$quillory")
variant=""
variant_exe=$(readlink -f "${BENCH_CPU_VARIANT_EXE:-$exe}")
if [ -n "${BENCH_CPU_BESIDE:-}" ] || [ -n "${BENCH_CPU_VARIANT_EXE:-}" ]; then
  # A home of its own: a separate program, not a hand-over to the first.
  home2=$work/home2; mkdir -p "$home2"
  [ -d "$(dirname "$variant_exe")/Lang" ] && cp -r "$(dirname "$variant_exe")/Lang" "$home2/"
  cp "$home/Quillory.ini" "$home2/"
  [ -z "${BENCH_CPU_BESIDE:-}" ] || printf '%s\n' $BENCH_CPU_BESIDE > "$home2/Preferences.ini"
  QUILLORY_HOME=$home2 "$variant_exe" "$work/recording.mp3" >"$work/variant.log" 2>&1 & variant=$!
  pids+=($variant)
  for _ in $(seq 100); do [ "$(xdotool search --onlyvisible --pid "$variant" 2>/dev/null | wc -l)" -ge 2 ] && break; sleep 0.2; done
  programs+=("Quillory-variant=$variant")
  echo "Quillory-variant: $variant_exe ${BENCH_CPU_BESIDE:-}"
fi

peer=""
# Parlatype, started paused; it plays once its window is on the bus.
startPeer() {
  command -v parlatype >/dev/null || return 0
  GSETTINGS_BACKEND=memory parlatype "$work/recording.mp3" >"$work/parlatype.log" 2>&1 & peer=$!
  pids+=($peer)
  if timeout 30 xdotool search --sync --pid "$peer" --name 'recording' >/dev/null 2>&1; then
    programs+=("Parlatype=$peer")
    for _ in $(seq 100); do peerPlayPause 2>/dev/null && break; sleep 0.2; done
  else
    echo "Parlatype did not show its window; Quillory measured alone"; peer=""
  fi
}

# Play/pause of every program measured.
playPause() { for entry in "${programs[@]}"; do toggle "${entry%%=*}"; done; }
# Parlatype's window action "play" toggles playing and paused.
peerPlayPause() {
  gdbus call --session --dest org.parlatype.Parlatype \
    --object-path /org/parlatype/Parlatype/window/1 --method org.gtk.Actions.Activate play [] {} \
    >/dev/null
}
status() {
  gdbus call --session --dest org.mpris.MediaPlayer2.quillory --object-path /org/mpris/MediaPlayer2 \
    --method org.freedesktop.DBus.Properties.Get org.mpris.MediaPlayer2.Player PlaybackStatus \
    | tr -d "()<>',"
}
windowsOf() { xdotool search --onlyvisible --pid "$1" 2>/dev/null || true; }
minimiseAll() {
  shown=()
  for p in $quillory $variant $peer; do for w in $(windowsOf "$p"); do shown+=("$w"); done; done
  for w in "${shown[@]}"; do xdotool windowminimize --sync "$w" 2>/dev/null || true; done
}
restoreAll() { for w in "${shown[@]}"; do xdotool windowactivate --sync "$w" 2>/dev/null || true; done; }
iconic() {
  local n=0
  for w in "${shown[@]}"; do xprop -id "$w" WM_STATE 2>/dev/null | grep -q Iconic && n=$((n + 1)); done
  echo "$n of ${#shown[@]} windows minimised"
}
measure() {
  echo "$1${quillory:+ (Quillory:$(status))}"
  "$here/cpu_share.py" "$window" "${programs[@]}"
}
# Play/pause of one program by its name in `programs`.
toggle() {
  case $1 in
    Quillory) gdbus call --session --dest org.mpris.MediaPlayer2.quillory \
      --object-path /org/mpris/MediaPlayer2 --method org.mpris.MediaPlayer2.Player.PlayPause >/dev/null ;;
    # The second program takes the name MPRIS gives a further instance.
    Quillory-variant) gdbus call --session --dest "org.mpris.MediaPlayer2.quillory.instance$variant" \
      --object-path /org/mpris/MediaPlayer2 --method org.mpris.MediaPlayer2.Player.PlayPause >/dev/null ;;
    Parlatype) peerPlayPause ;;
  esac
}
# All programs play: each is measured while the others are paused.
measurePlaying() {
  if [ -n "${BENCH_CPU_TOGETHER:-}" ]; then
    measure "$1, all playing at once"
    return
  fi
  echo "$1, one program playing at a time"
  for entry in "${programs[@]}"; do
    for other in "${programs[@]}"; do [ "$other" = "$entry" ] || toggle "${other%%=*}"; done
    sleep 2
    "$here/cpu_share.py" "$window" "$entry"
    for other in "${programs[@]}"; do [ "$other" = "$entry" ] || toggle "${other%%=*}"; done
  done
}

# Every state in turn for the programs in `programs`.
measureStates() {
  measurePlaying "playing, windows shown"
  minimiseAll; sleep 2
  echo "[$(iconic)]"
  measurePlaying "playing, windows minimised"
  restoreAll; sleep 1; playPause; sleep 2
  measure "paused, windows shown"
  minimiseAll; sleep 2
  echo "[$(iconic)]"
  measure "paused, windows minimised"
}

echo "media: $minutes min MP3 on a PulseAudio null sink; ${window} s a window; $(nproc) cores"
if [ -n "${BENCH_CPU_TOGETHER:-}" ]; then
  startPeer
  sleep 8 # all settle: the file opened, Parlatype's waveform drawn
  measureStates
  exit 0
fi
# A peer's stream on the sink, even paused, sets the sink's latency and with
# it how often the others' streams are asked for data: Parlatype runs after
# Quillory has quit, in the same run.
sleep 8 # the file opened and the waveform drawn
measureStates
for p in $quillory $variant; do
  kill "$p" 2>/dev/null || true
  for _ in $(seq 50); do kill -0 "$p" 2>/dev/null || break; sleep 0.1; done
  kill -9 "$p" 2>/dev/null || true
done
quillory=""; variant=""; programs=()
startPeer
[ -n "$peer" ] || exit 0
sleep 8 # Parlatype's waveform drawn
measureStates
