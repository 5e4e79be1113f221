#!/bin/bash
# Kills the running program with SIGKILL two seconds after the last keystroke and
# checks that the next start restores the text and the media position.
#   kill_restore.sh [build folder] [rounds] [random] [pages] [bullets]
# With "random" the kill comes at a random moment while typing goes on, and the
# round fails when a character typed more than a second before it is missing.
# With pages (say 300) each round starts from a transcript that long, made by
# bench_recovery --transcript and put back through the start-up's own offer of
# a copy left behind; the typing goes at its end. With "bullets" every one of
# its paragraphs is an item of one bulleted list (RESTORE_WAIT, 4 s by default,
# is how long the restore is given before the typing starts).
# Needs xvfb-run, xdotool, ffmpeg and python3. Runs in temporary folders only
# (QUILLORY_HOME, XDG_STATE_HOME); prints the characters lost in each round and
# how long before the kill the oldest of them was typed.
set -u
BUILD=$(cd "${1:-build}" && pwd)
ROUNDS=${2:-3}
MODE=${3:-after}
PAGES=${4:-0}
BULLETS=${5:-}
BIN="$BUILD/bin/quillory"
RTFCONV="$BUILD/bin/rtfconv"
FILLER="$BUILD/bin/bench_recovery"
[ -x "$BIN" ] || { echo "no program at $BIN"; exit 2; }
[ -x "$RTFCONV" ] || { echo "no rtfconv at $RTFCONV (ninja rtfconv)"; exit 2; }
if [ "$PAGES" -gt 0 ] && [ ! -x "$FILLER" ]; then
    echo "no bench_recovery at $FILLER (ninja bench_recovery)"; exit 2
fi
if [ -z "${KILL_RESTORE_INNER:-}" ]; then
    export KILL_RESTORE_INNER=1
    exec xvfb-run -a -s "-screen 0 1280x800x24" "$0" "$BUILD" "$ROUNDS" "$MODE" "$PAGES" "$BULLETS"
fi

WORK=$(mktemp -d)
trap 'rm -rf "$WORK"' EXIT
export QUILLORY_HOME="$WORK/home" XDG_STATE_HOME="$WORK/state" SDL_AUDIODRIVER=dummy
mkdir -p "$QUILLORY_HOME" "$XDG_STATE_HOME"
MEDIA="$WORK/talk.wav"
ffmpeg -loglevel error -f lavfi -i "sine=frequency=440:duration=600" -ac 1 -ar 8000 "$MEDIA"
STATE="$XDG_STATE_HOME/quillory"

text_of() { "$RTFCONV" --text "$1" 2>/dev/null | tr -d '\r\n'; }

SEED="$WORK/transcript.rtf"
: >"$WORK/base.txt"
if [ "$PAGES" -gt 0 ]; then
    QT_QPA_PLATFORM=offscreen "$FILLER" --transcript "$SEED" "$PAGES" \
        ${BULLETS:+--bullets} 2>/dev/null ||
        { echo "cannot make the transcript"; exit 2; }
    text_of "$SEED" >"$WORK/base.txt"
    echo "starting transcript: $PAGES pages, $(stat -c %s "$SEED") bytes of RTF," \
         "$(wc -m <"$WORK/base.txt") characters"
fi

# Without a sound card the player says so in a message box at each start.
dismiss_mixer_message() {
    if ! grep -qs '^ *[0-9]' /proc/asound/cards; then
        xdotool key --clearmodifiers Return
        sleep 1
    fi
}

# The characters lost: what was typed and is not in the copy, and how long
# before the kill the oldest of them was typed (dated between the moments its
# word began and ended, in proportion to its place in the word).
#   lost_report TYPED_FILE STAMPS_FILE KILLTIME COPY_TEXT_FILE BASE_TEXT_FILE
lost_report() {
    python3 - "$@" <<'EOF'
import sys
typed = open(sys.argv[1], encoding="utf-8").read()
stamps = [(float(t), int(n)) for t, n in (l.split(":") for l in open(sys.argv[2]) if l.strip())]
kill = float(sys.argv[3])
got = open(sys.argv[4], encoding="utf-8").read()
base = open(sys.argv[5], encoding="utf-8").read()
if not got.startswith(base):
    print("BASE-DAMAGED 0 0 -1")
    sys.exit()
rest = got[len(base):]
ok = "ok" if typed.startswith(rest) else "MISMATCH"
kept = len(rest) if ok == "ok" else 0
lost = len(typed) - kept
settled = max([n for t, n in stamps if t <= kill - 1.0] or [0])
oldlost = max(0, settled - kept)
age = 0
if lost:
    ta, na = max((p for p in stamps if p[1] <= kept), key=lambda p: (p[1], p[0]))
    tb, nb = min((p for p in stamps if p[1] > kept), key=lambda p: p[1])
    age = round(kill - (ta + (kept + 1 - na) / (nb - na) * (tb - ta)), 2)
print(ok, lost, oldlost, age)
EOF
}

failures=0
totallost=0
oldest=0
for round in $(seq "$ROUNDS"); do
    rm -rf "$STATE"
    if [ "$PAGES" -gt 0 ]; then
        # A copy left behind by an ended run, which this start restores.
        mkdir -p "$STATE"
        cp "$SEED" "$STATE/recovery-1.rtf"
        printf 'untitled=Transcript\n' >"$STATE/recovery-1.info"
    fi
    "$BIN" "$MEDIA" >/dev/null 2>&1 &
    pid=$!
    sleep 3
    dismiss_mixer_message
    if [ "$PAGES" -gt 0 ]; then
        xdotool key --clearmodifiers Return # Restore
        sleep "${RESTORE_WAIT:-4}"
    fi
    editor=$(xdotool search --pid $pid --onlyvisible --name "" 2>/dev/null | tail -1)
    # The editor is the window with the text area; clicking into it gives it focus.
    for w in $(xdotool search --pid $pid --onlyvisible --name "" 2>/dev/null); do
        case "$(xdotool getwindowname "$w")" in *" - "*) editor=$w ;; esac
    done
    xdotool windowactivate --sync "$editor" 2>/dev/null || xdotool windowfocus "$editor"
    [ "$PAGES" -gt 0 ] && xdotool key --clearmodifiers ctrl+End
    typed=""
    : >"$WORK/stamps"
    words=$((20 + RANDOM % 40))
    killat=$(python3 -c "import random,time;print(time.time()+random.uniform(2,8))")
    for i in $(seq "$words"); do
        word="w${round}x$i "
        # Every seventh word in bold, so that the formatting has to come back too.
        [ $((i % 7)) -eq 0 ] && xdotool key --clearmodifiers ctrl+b
        echo "$(date +%s.%N):${#typed}" >>"$WORK/stamps"
        xdotool type --delay 15 "$word"
        [ $((i % 7)) -eq 0 ] && xdotool key --clearmodifiers ctrl+b
        typed+="$word"
        echo "$(date +%s.%N):${#typed}" >>"$WORK/stamps"
        if [ "$MODE" = random ] && python3 -c "import sys,time;sys.exit(time.time()<float(sys.argv[1]))" "$killat"; then
            break
        fi
    done
    [ "$MODE" = random ] || sleep 2
    killtime=$(date +%s.%N)
    kill -9 $pid
    wait $pid 2>/dev/null
    copy=$(ls "$STATE"/recovery-$pid*.rtf 2>/dev/null | head -1)
    if [ -z "$copy" ]; then
        echo "round $round: FAIL no recovery copy"; failures=$((failures + 1)); continue
    fi
    text_of "$copy" >"$WORK/got.txt"
    printf '%s' "$typed" >"$WORK/typed.txt"
    read -r match lost oldlost age < <(lost_report "$WORK/typed.txt" "$WORK/stamps" "$killtime" \
                                                   "$WORK/got.txt" "$WORK/base.txt")
    boldruns=$("$RTFCONV" --runs "$copy" 2>/dev/null | grep -c "bold=1")
    [ -n "${KILL_RESTORE_VERBOSE:-}" ] &&
        printf "typed: [%s]\ncopy:  [%s]\n" "$typed" "$(tail -c 400 "$WORK/got.txt")"
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
    sleep $([ "$PAGES" -gt 0 ] && echo 5 || echo 3)
    restored=$(ls "$STATE"/recovery-$pid2*.rtf 2>/dev/null | head -1)
    same="no"
    if [ -n "$restored" ] && cmp -s "$WORK/before.rtf" "$restored"; then
        same="identical RTF"
    elif [ -n "$restored" ] && [ "$(text_of "$restored")" = "$(cat "$WORK/got.txt")" ]; then
        same="same text"
    fi
    if [ -n "${KILL_RESTORE_VERBOSE:-}" ] && [ "$same" != "identical RTF" ] && [ -n "$restored" ]; then
        diff <("$RTFCONV" --runs "$WORK/before.rtf") <("$RTFCONV" --runs "$restored") | head -10
    fi
    oldgone=$([ -e "$copy" ] && echo "kept" || echo "removed")
    newpos=$(sed -n 's/^position=//p' "${restored%.rtf}.info" 2>/dev/null)
    echo "round $round: typed ${#typed} chars, lost $lost ($oldlost typed over a second before" \
         "the kill; the oldest lost was typed ${age}s before it), copy $match, $boldruns bold runs;" \
         "info written ${behind}s before the kill, media at ${position} ms;" \
         "restart: restored copy ${same:-none}, media at ${newpos:-?} ms, old copy $oldgone"
    totallost=$((totallost + lost))
    oldest=$(python3 -c "import sys;print(max(float(sys.argv[1]),float(sys.argv[2])))" "$oldest" "$age")
    if [ "$match" != ok ] || [ "$same" = no ]; then
        failures=$((failures + 1))
    elif [ "$MODE" = random ]; then
        [ "$oldlost" -ne 0 ] && failures=$((failures + 1))
    elif [ "$lost" -ne 0 ] || [ "$oldgone" != removed ] || [ "$boldruns" -eq 0 ]; then
        failures=$((failures + 1))
    fi
    kill -9 $pid2 2>/dev/null
    wait $pid2 2>/dev/null
done
echo "characters lost in all: $totallost; the oldest lost was typed ${oldest}s before its kill"
echo "failures: $failures of $ROUNDS"
[ "$failures" -eq 0 ]
