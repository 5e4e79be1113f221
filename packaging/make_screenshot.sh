#!/usr/bin/env bash
# Makes the software-centre screenshot (the metainfo names it under the home
# page's screenshots/) from the built program: the player with a recording open
# above the transcript editor, on a private X server and sound server.
# Usage: make_screenshot.sh <quillory-executable> [<output.png>]
set -euo pipefail
exe="$(realpath "$1")"
out="$(realpath -m "${2:-$(dirname "$0")/screenshots/quillory-main.png}")"
for tool in xvfb-run xwininfo import convert ffmpeg pulseaudio pactl; do
    command -v "$tool" >/dev/null || { echo "make_screenshot: $tool is missing (scripts/install-deps.sh)" >&2; exit 1; }
done
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
mkdir -p "$work/Recordings" "$work/run"
chmod 700 "$work/run"
ffmpeg -loglevel error -f lavfi -i "sine=frequency=330:duration=754" -ac 1 "$work/Recordings/lecture.mp3"

cat >"$work/session.sh" <<'SESSION'
#!/usr/bin/env bash
set -euo pipefail
pulseaudio --daemonize=yes --exit-idle-time=-1 -n --load=module-native-protocol-unix \
    --load=module-null-sink 2>/dev/null
trap 'pulseaudio --kill 2>/dev/null || true' EXIT
for _ in $(seq 100); do pactl info >/dev/null 2>&1 && break; sleep 0.1; done
"$EXE" "$WORK/Recordings/lecture.mp3" >"$WORK/program.log" 2>&1 &
pid=$!
for _ in $(seq 100); do xwininfo -root -tree | grep -q '"Text Editor' && break; sleep 0.1; done
sleep 2 # the first frames are drawn after the window is mapped
import -window root "$WORK/root.png"
kill "$pid"
SESSION
EXE="$exe" WORK="$work" HOME="$work" QUILLORY_HOME="$work/program" XDG_RUNTIME_DIR="$work/run" \
    xvfb-run -a -s "-screen 0 1024x768x24" bash "$work/session.sh"
# The windows on a light desktop, without the empty rest of the screen.
convert "$work/root.png" -fill '#dfe3e8' -draw 'color 1000,740 floodfill' -crop 790x674+0+0 +repage \
    -strip "$out"
echo "$out"
