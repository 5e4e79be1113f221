#!/usr/bin/env bash
# Runs bench_heard_end on a private PulseAudio server with a null sink (as the
# heard-rewind tool sets it up), stopped at the end.
# usage: heard_end.sh BENCH_HEARD_END [RUNS=3]
# Needs: pulseaudio, pulseaudio-utils, ffmpeg.
set -euo pipefail
bench=$(readlink -f "$1"); runs=${2:-3}
work=$(mktemp -d /tmp/heard_end.XXXXXX)
server=""
cleanup() { [ -z "$server" ] || kill "$server" 2>/dev/null || true; rm -rf "$work"; }
trap cleanup EXIT
export XDG_RUNTIME_DIR=$work/run PULSE_SERVER=unix:$work/run/pulse/native
mkdir -p "$XDG_RUNTIME_DIR/pulse"; chmod 700 "$XDG_RUNTIME_DIR"
pulseaudio -n --daemonize=no --exit-idle-time=-1 --log-target=file:"$work/pulse.log" \
  -L "module-native-protocol-unix" \
  -L "module-null-sink sink_name=heard rate=44100 channels=1 format=s16le norewinds=1" \
  >/dev/null 2>&1 & server=$!
for _ in $(seq 50); do pactl info >/dev/null 2>&1 && break; sleep 0.1; done
pactl set-default-sink heard
echo "load average $(cut -d' ' -f1-3 /proc/loadavg)"
"$bench" "$runs"
echo "load average $(cut -d' ' -f1-3 /proc/loadavg)"
