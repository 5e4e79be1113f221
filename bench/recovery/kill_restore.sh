#!/bin/bash
# Kills the running program with SIGKILL two seconds after the last keystroke and
# checks that the next start restores the text and the media position.
#   kill_restore.sh [build folder] [rounds] [random]
# With "random" the kill comes at a random moment while typing goes on, and the
# round fails when a character typed more than a second before it is missing.
# Needs xvfb-run, xdotool and ffmpeg. Runs in temporary folders only
# (QUILLORY_HOME, XDG_STATE_HOME); prints the characters lost in each round.
set -u
BUILD=$(cd "${1:-build}" && pwd)
ROUNDS=${2:-3}
MODE=${3:-after}
BIN="$BUILD/bin/quillory"
RTFCONV="$BUILD/bin/rtfconv"
[ -x "$BIN" ] || { echo "no program at $BIN"; exit 2; }
[ -x "$RTFCONV" ] || { echo "no rtfconv at $RTFCONV (ninja rtfconv)"; exit 2; }
if [ -z "${KILL_RESTORE_INNER:-}" ]; then
    export KILL_RESTORE_INNER=1
    exec xvfb-run -a -s "-screen 0 1280x800x24" "$0" "$BUILD" "$ROUNDS" "$MODE"
fi

WORK=$(mktemp -d)
trap 'rm -rf "$WORK"' EXIT
export QUILLORY_HOME="$WORK/home" XDG_STATE_HOME="$WORK/state" SDL_AUDIODRIVER=dummy
mkdir -p "$QUILLORY_HOME" "$XDG_STATE_HOME"
MEDIA="$WORK/talk.wav"
ffmpeg -loglevel error -f lavfi -i "sine=frequency=440:duration=600" -ac 1 -ar 8000 "$MEDIA"
STATE="$XDG_STATE_HOME/quillory"

text_of() { "$RTFCONV" --text "$1" 2>/dev/null | tr -d '\r'; }

# Without a sound card the player says so in a message box at each start.
dismiss_mixer_message() {
    if ! grep -qs '^ *[0-9]' /proc/asound/cards; then
        xdotool key --clearmodifiers Return
        sleep 1
    fi
}

failures=0
for round in $(seq "$ROUNDS"); do
    rm -rf "$STATE"
    "$BIN" "$MEDIA" >/dev/null 2>&1 &
    pid=$!
    sleep 3
    dismiss_mixer_message
    editor=$(xdotool search --pid $pid --onlyvisible --name "" 2>/dev/null | tail -1)
    # The editor is the window with the text area; clicking into it gives it focus.
    for w in $(xdotool search --pid $pid --onlyvisible --name "" 2>/dev/null); do
        case "$(xdotool getwindowname "$w")" in *" - "*) editor=$w ;; esac
    done
    xdotool windowactivate --sync "$editor" 2>/dev/null || xdotool windowfocus "$editor"
    typed=""
    settled=0 # characters typed more than a second before the kill
    stamps=()
    words=$((20 + RANDOM % 40))
    killat=$(python3 -c "import random,time;print(time.time()+random.uniform(2,8))")
    for i in $(seq "$words"); do
        word="w${round}x$i "
        # Every seventh word in bold, so that the formatting has to come back too.
        [ $((i % 7)) -eq 0 ] && xdotool key --clearmodifiers ctrl+b
        xdotool type --delay 15 "$word"
        [ $((i % 7)) -eq 0 ] && xdotool key --clearmodifiers ctrl+b
        typed+="$word"
        stamps+=("$(date +%s.%N):${#typed}")
        if [ "$MODE" = random ] && python3 -c "import sys,time;sys.exit(time.time()<float(sys.argv[1]))" "$killat"; then
            break
        fi
    done
    [ "$MODE" = random ] || sleep 2
    killtime=$(date +%s.%N)
    kill -9 $pid
    wait $pid 2>/dev/null
    copy=$(ls "$STATE"/recovery-*.rtf 2>/dev/null | head -1)
    if [ -z "$copy" ]; then
        echo "round $round: FAIL no recovery copy"; failures=$((failures + 1)); continue
    fi
    got=$(text_of "$copy" | tr -d '\n')
    boldruns=$("$RTFCONV" --runs "$copy" | grep -c "bold=1")
    [ -n "${KILL_RESTORE_VERBOSE:-}" ] && printf "typed: [%s]\ncopy:  [%s]\n" "$typed" "$got"
    lost=$(( ${#typed} - ${#got} ))
    for stamp in "${stamps[@]}"; do
        python3 -c "import sys;sys.exit(float(sys.argv[1])>float(sys.argv[2])-1)" "${stamp%%:*}" "$killtime" && settled=${stamp##*:}
    done
    oldlost=$(( settled > ${#got} ? settled - ${#got} : 0 ))
    info="${copy%.rtf}.info"
    saved=$(sed -n 's/^time=//p' "$info")
    position=$(sed -n 's/^position=//p' "$info")
    behind=$(python3 -c "import datetime,sys;t=datetime.datetime.fromisoformat(sys.argv[1].replace('Z','+00:00'));print(round(float(sys.argv[2])-t.timestamp(),2))" "$saved" "$killtime")

    cp "$copy" "$WORK/before.rtf"
    # The next start offers the copy; Enter takes the default answer, Restore.
    "$BIN" >/dev/null 2>&1 &
    pid2=$!
    sleep 3
    dismiss_mixer_message
    xdotool key --clearmodifiers Return
    sleep 3
    restored=$(ls "$STATE"/recovery-$pid2*.rtf 2>/dev/null | head -1)
    same="no"
    if [ -n "$restored" ] && cmp -s "$WORK/before.rtf" "$restored"; then
        same="identical RTF"
    elif [ -n "$restored" ] && [ "$(text_of "$restored" | tr -d '\n')" = "$got" ]; then
        same="same text"
    fi
    if [ -n "${KILL_RESTORE_VERBOSE:-}" ] && [ "$same" != "identical RTF" ] && [ -n "$restored" ]; then
        diff <("$RTFCONV" --runs "$WORK/before.rtf") <("$RTFCONV" --runs "$restored") | head -10
    fi
    oldgone=$([ -e "$copy" ] && echo "kept" || echo "removed")
    newpos=$(sed -n 's/^position=//p' "${restored%.rtf}.info" 2>/dev/null)
    echo "round $round: typed ${#typed} chars, copy has ${#got} ($boldruns bold runs), lost $lost" \
         "($oldlost typed over a second before the kill);" \
         "info written ${behind}s before the kill, media at ${position} ms;" \
         "restart: restored copy ${same:-none}, media at ${newpos:-?} ms, old copy $oldgone"
    if [ "$MODE" = random ]; then
        [ "$oldlost" -ne 0 ] || [ "$got" != "${typed:0:${#got}}" ] || [ "$same" = no ] && failures=$((failures + 1))
    elif [ "$lost" -ne 0 ] || [ "$same" = no ] || [ "$got" != "$typed" ] || [ "$oldgone" != removed ] || [ "$boldruns" -eq 0 ]; then
        failures=$((failures + 1))
    fi
    kill -9 $pid2 2>/dev/null
    wait $pid2 2>/dev/null
done
echo "failures: $failures of $ROUNDS"
[ "$failures" -eq 0 ]
