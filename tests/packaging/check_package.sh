#!/usr/bin/env bash
# Checks the Debian package of the program built in <build>, without a container.
#   build     scripts/package --no-build into <debs>
#   contents  control fields against what the program links and opens, the files
#   lint      lintian: no error, no warning
#   install   dpkg --root into a throw-away root; the installed program starts
#             with a fresh HOME; an upgrade brings new shipped files to it and
#             keeps the user's; purging leaves only the user's files
# A mode that lacks a tool exits 77 (skipped) and says which.
# Usage: check_package.sh <mode> <source> <build> <debs>
set -euo pipefail
mode="$1" source="$2" build="$3" debs="$4"
skip() { echo "SKIPPED: $*"; exit 77; }
fail() { echo "FAILED: $*"; exit 1; }
need() { for t in "$@"; do command -v "$t" >/dev/null || skip "$t is not installed (scripts/install-deps.sh)"; done; }
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT

if [ "$mode" = build ]; then
    need dpkg-deb dpkg-shlibdeps
    [ -x "$build/bin/quillory" ] || fail "the program is not built: ninja quillory"
    rm -rf "$debs"
    "$source/scripts/package" --no-build "$build" --out "$debs"
    exit 0
fi

need dpkg-deb
shopt -s nullglob
found=("$debs"/quillory_*.deb)
[ ${#found[@]} -eq 1 ] || skip "no package in $debs: package_build did not make one"
deb="${found[0]}"
field() { dpkg-deb -f "$deb" "$1"; }
# Package names in a Depends-style field, one a line.
names() { tr ',|' '\n\n' | sed 's/(.*)//; s/:.*//; s/ //g' | awk 'NF'; }

case "$mode" in
contents)
    need ldconfig dpkg-query objdump
    [ "$(field Package)" = quillory ] || fail "Package: $(field Package)"
    version="$(sed -n '1s/^quillory (\([^)]*\)).*/\1/p' "$source/packaging/debian/changelog.in")"
    [ "$(field Version)" = "$version" ] || fail "Version $(field Version), the changelog says $version"
    maintainer="$(sed -n 's/^QUILLORY_MAINTAINER:[A-Z]*=//p' "$build/CMakeCache.txt")"
    [ "$(field Maintainer)" = "$maintainer" ] || fail "Maintainer: $(field Maintainer), not $maintainer"
    case "$maintainer" in *localhost* | *example* | '') fail "no real maintainer: '$maintainer'" ;; esac
    depends="$(field Depends)"
    echo "Depends: $depends"

    # Every library the program opens must be in the list the package reads.
    listed="$(sed 's/#.*//' "$source/packaging/debian/loaded-libraries" | awk 'NF {print $1}')"
    opened="$(grep -rhoE 'dlopen\("lib[^"]+"|DefaultName = "lib[^"]+"' "$source/src" | grep -oE 'lib[^"]+' | sort -u)"
    [ -n "$opened" ] || fail "found no library opened at run time in the sources"
    for soname in $opened; do
        grep -qx "$soname" <<<"$listed" || fail "the program opens $soname: add it to packaging/debian/loaded-libraries"
    done
    # Each linked or opened library's package is a versioned dependency.
    dpkg-deb -x "$deb" "$work/root"
    needed="$(objdump -p "$work/root/usr/bin/quillory" | awk '/NEEDED/ {print $2}')"
    for soname in $needed $listed; do
        path="$(ldconfig -p | awk -v s="$soname" '$1 == s && p == "" {p = $NF} END {print p}')"
        [ -n "$path" ] || fail "$soname is not installed here"
        owner="$(dpkg-query -S "$(readlink -f "$path")" 2>/dev/null || dpkg-query -S "$path")"
        owner="${owner%%:*}"
        names <<<"$depends" | grep -qxF "$owner" || fail "$soname is in $owner, which Depends lacks"
    done
    for pkg in libmpv2 libqt6core6 libqt6gui6 libqt6widgets6; do
        grep -qE "(^|, )$pkg \(>= [0-9]" <<<"$depends" || fail "no versioned dependency on $pkg"
    done
    recommends="$(field Recommends | names)"
    for pkg in libasound2-plugins qt6-translations-l10n hunspell-en-us hunspell-it hunspell-de-de \
        hunspell-es hunspell-fr; do
        grep -qx "$pkg" <<<"$recommends" || fail "Recommends lacks $pkg"
    done

    files="$(dpkg-deb -c "$deb" | awk '{print $6}' | sed 's|^\./||')"
    for f in usr/bin/quillory usr/lib/udev/rules.d/70-quillory-pedals.rules \
        usr/share/doc/quillory/copyright usr/share/doc/quillory/changelog.Debian.gz \
        usr/share/man/man1/quillory.1.gz usr/share/applications/org.quillory.Quillory.desktop \
        usr/share/metainfo/org.quillory.Quillory.metainfo.xml \
        usr/share/icons/hicolor/scalable/apps/org.quillory.Quillory.svg \
        usr/share/quillory/Lang/English.lng usr/share/quillory/Files/play.jpg usr/share/quillory/Help.html; do
        grep -qx "$f" <<<"$files" || fail "the package lacks $f"
    done
    outside="$(grep -vE '^(usr/.*|usr|)$' <<<"$files" || true)"
    [ -z "$outside" ] || fail "files outside /usr: $outside"
    grep -q '^usr/local' <<<"$files" && fail "files under /usr/local"

    desktop="$work/root/usr/share/applications/org.quillory.Quillory.desktop"
    metainfo="$work/root/usr/share/metainfo/org.quillory.Quillory.metainfo.xml"
    grep -qx 'Exec=/usr/bin/quillory %f' "$desktop" || fail "the launcher does not run /usr/bin/quillory"
    launcher_categories="$(sed -n 's/^Categories=//p' "$desktop" | tr ';' '\n' | awk 'NF' | sort)"
    meta_categories="$(grep -o '<category>[^<]*' "$metainfo" | sed 's/<category>//' | sort)"
    [ "$launcher_categories" = "$meta_categories" ] ||
        fail "categories differ: launcher $(echo $launcher_categories), metainfo $(echo $meta_categories)"
    license="$(grep -o '<project_license>[^<]*' "$metainfo" | sed 's/<project_license>//')"
    grep -q "^License: $license\$" "$work/root/usr/share/doc/quillory/copyright" ||
        fail "the copyright file does not name the metainfo's license $license"
    grep -q '<url type="homepage">https://' "$metainfo" || fail "no home page in the metainfo"
    grep -q '<screenshot' "$metainfo" || fail "no screenshot in the metainfo"
    if command -v appstreamcli >/dev/null; then
        report="$(appstreamcli validate --no-net "$metainfo" 2>&1)" || fail "appstreamcli: $report"
        grep -qE '^[EW]:' <<<"$report" && fail "appstreamcli: $report"
    else
        echo "appstreamcli is not installed: the metainfo was not validated"
    fi
    echo "control fields and $(wc -l <<<"$files") paths of $(basename "$deb") checked"
    ;;
lint)
    need lintian
    lintian --pedantic --fail-on error,warning "$deb" || fail "lintian found errors or warnings"
    echo "lintian --pedantic: no error, no warning"
    ;;
install)
    need dpkg ffmpeg
    [ "$(id -u)" -eq 0 ] || skip "dpkg --root needs root to give the files their owners"
    root="$work/root" home="$work/home"
    mkdir -p "$root/var/lib/dpkg/info" "$root/var/lib/dpkg/updates" "$home/Recordings"
    touch "$root/var/lib/dpkg/status" "$root/var/lib/dpkg/available"
    (cd "$root" && find . | sort) >"$work/before.txt"
    dpkg_root() { dpkg --root="$root" --log="$work/dpkg.log" --force-depends "$@" >>"$work/dpkg.out" 2>&1 ||
        { cat "$work/dpkg.out"; fail "dpkg $*"; }; }
    dpkg_root -i "$deb"
    [ -f "$root/usr/lib/udev/rules.d/70-quillory-pedals.rules" ] || fail "the udev rule is not where udev reads it"
    ffmpeg -loglevel error -f lavfi -i "sine=frequency=440:duration=30" -ac 1 "$home/Recordings/talk.mp3"
    folder="$home/.local/share/Quillory/Quillory"

    # Starts the installed program with a recording; waits for the window and
    # the per-user folder, then ends it.
    start() {
        cat >"$work/session.sh" <<'SESSION'
set -u
"$EXE" "$REC" >"$LOG" 2>&1 &
pid=$!
for _ in $(seq 200); do
    if [ -f "$FOLDER/ShippedFiles.sha256" ] && { [ -z "${DISPLAY:-}" ] || xwininfo -root -tree | grep -q '"Text Editor'; }; then
        kill "$pid"; wait "$pid"; exit 0
    fi
    kill -0 "$pid" 2>/dev/null || { echo "the program stopped by itself"; exit 1; }
    sleep 0.1
done
kill "$pid"; echo "no window or program folder after 20 s"; exit 1
SESSION
        local runner=(env QT_QPA_PLATFORM=offscreen bash)
        if command -v xvfb-run >/dev/null && command -v xwininfo >/dev/null; then
            # A display of its own: one just closed may still hold its number.
            runner=(env -u QT_QPA_PLATFORM xvfb-run -a -n $((100 + RANDOM % 800)) -s "-screen 0 1024x768x24" bash)
        else
            echo "xvfb-run or xwininfo is not installed: the program starts off-screen"
        fi
        env -u QUILLORY_HOME -u XDG_DATA_HOME -u XDG_CONFIG_HOME HOME="$home" XDG_RUNTIME_DIR= \
            DBUS_SESSION_BUS_ADDRESS=unix:path=/nonexistent EXE="$root/usr/bin/quillory" \
            REC="$home/Recordings/talk.mp3" LOG="$work/program.log" FOLDER="$folder" \
            "${runner[@]}" "$work/session.sh" || { cat "$work/program.log"; fail "the installed program did not start"; }
    }
    start
    cmp -s "$folder/Help.html" "$root/usr/share/quillory/Help.html" || fail "Help.html did not reach $folder"
    echo "installed program started with a fresh HOME; its folder: $(ls "$folder" | paste -sd' ')"

    # The user works: changes a language file, makes one, sets bookmarks.
    echo "the user's words" >>"$folder/Lang/Deutsch.lng"
    echo "mine" >"$folder/Lang/Mine.lng"
    mkdir -p "$folder/Bookmarks" && echo "12.5" >"$folder/Bookmarks/talk.bkm"
    cp "$folder/Lang/Deutsch.lng" "$work/deutsch.txt"

    # A newer package: a changed help page and language file, a new picture.
    dpkg-deb -R "$deb" "$work/next"
    echo "<p>new</p>" >>"$work/next/usr/share/quillory/Help.html"
    echo "newer" >>"$work/next/usr/share/quillory/Lang/Deutsch.lng"
    echo "newer" >>"$work/next/usr/share/quillory/Lang/English.lng"
    cp "$work/next/usr/share/quillory/Files/play.jpg" "$work/next/usr/share/quillory/Files/new.jpg"
    sed -i 's/^Version: .*/&+next/' "$work/next/DEBIAN/control"
    (cd "$work/next" && find usr -type f -print0 | sort -z | xargs -0 md5sum >DEBIAN/md5sums)
    dpkg-deb --root-owner-group --build "$work/next" "$work/next.deb" >/dev/null
    dpkg_root -i "$work/next.deb"
    start
    cmp -s "$folder/Help.html" "$root/usr/share/quillory/Help.html" || fail "the upgrade did not bring Help.html"
    cmp -s "$folder/Lang/English.lng" "$root/usr/share/quillory/Lang/English.lng" || fail "the upgrade did not bring English.lng"
    [ -f "$folder/Files/new.jpg" ] || fail "the upgrade did not bring Files/new.jpg"
    cmp -s "$folder/Lang/Deutsch.lng" "$work/deutsch.txt" || fail "the upgrade replaced the user's Deutsch.lng"
    [ "$(cat "$folder/Lang/Mine.lng")" = mine ] && [ "$(cat "$folder/Bookmarks/talk.bkm")" = 12.5 ] ||
        fail "the upgrade touched the user's own files"
    echo "upgrade brought Help.html, English.lng and Files/new.jpg and kept the user's Deutsch.lng"

    dpkg_root --purge quillory
    (cd "$root" && find . | sort) >"$work/after.txt"
    left="$(comm -13 "$work/before.txt" "$work/after.txt" | grep -v '^\./var/lib/dpkg/' || true)"
    [ -z "$left" ] || fail "the purge left: $left"
    [ -f "$folder/Lang/Mine.lng" ] && [ -f "$folder/Bookmarks/talk.bkm" ] || fail "the purge removed the user's files"
    echo "purge left nothing in the root; the user's folder stays"
    ;;
*) fail "unknown mode $mode" ;;
esac
