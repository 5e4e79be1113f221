#!/usr/bin/env bash
# Installs the build into a temporary prefix and checks what the desktop sees:
# the launcher entry and the software-centre description validate, the entry
# names the installed program and an icon that is there, and the program starts
# from a prefix it cannot write to, with its program folder in the user's home;
# outside /usr the install says where the udev rule must be copied.
# Usage: check_install.sh <build-folder>
set -euo pipefail
build="$1"
work="$(mktemp -d)"
trap 'chmod -R u+w "$work" 2>/dev/null; rm -rf "$work"' EXIT
chmod 755 "$work"
prefix="$work/prefix"
cmake --install "$build" --prefix "$prefix" >"$work/install.txt"
# Outside /usr udev never reads the rule: the install says where to copy it.
grep -q "cp $prefix/lib/udev/rules.d/70-quillory-pedals.rules /etc/udev/rules.d/" "$work/install.txt" ||
    { echo "the install does not say where the udev rule goes"; cat "$work/install.txt"; exit 1; }

id=org.quillory.Quillory
desktop="$prefix/share/applications/$id.desktop"
for f in "$prefix/bin/quillory" "$desktop" "$prefix/share/metainfo/$id.metainfo.xml" \
         "$prefix/share/icons/hicolor/scalable/apps/$id.svg" \
         "$prefix/share/icons/hicolor/48x48/apps/$id.png" \
         "$prefix/share/quillory/Lang/English.lng" "$prefix/lib/udev/rules.d/70-quillory-pedals.rules" \
         "$prefix/share/man/man1/quillory.1"; do
    [ -e "$f" ] || { echo "missing: $f"; exit 1; }
done
grep -qx "Exec=$prefix/bin/quillory %f" "$desktop" || { echo "Exec line wrong"; exit 1; }
grep -q '^MimeType=.*audio/mpeg;' "$desktop" || { echo "no MP3 association"; exit 1; }

if command -v desktop-file-validate >/dev/null; then
    desktop-file-validate "$desktop"
else
    echo "desktop-file-validate not installed: entry not validated"
fi
if command -v appstreamcli >/dev/null; then
    appstreamcli validate --no-net "$prefix/share/metainfo/$id.metainfo.xml" >/dev/null
else
    echo "appstreamcli not installed: description not validated"
fi

# Start it from a read-only prefix, as an ordinary user where we are root.
chmod -R a-w "$prefix"
home="$work/home"
mkdir -p "$home"
run=()
if [ "$(id -u)" -eq 0 ] && command -v setpriv >/dev/null; then
    chown 65534:65534 "$home"
    run=(setpriv --reuid=65534 --regid=65534 --clear-groups)
fi
status=0
env -u QUILLORY_HOME HOME="$home" XDG_DATA_HOME= XDG_RUNTIME_DIR= QT_QPA_PLATFORM=offscreen \
    SDL_AUDIODRIVER=dummy DBUS_SESSION_BUS_ADDRESS=unix:path=/nonexistent \
    timeout 8 "${run[@]}" "$prefix/bin/quillory" >"$work/out.txt" 2>&1 || status=$?
if [ "$status" -ne 124 ]; then
    echo "the installed program stopped by itself (status $status):"
    cat "$work/out.txt"
    exit 1
fi
folder="$home/.local/share/Quillory/Quillory"
[ -f "$folder/Lang/English.lng" ] && [ -d "$folder/Files" ] && [ -f "$folder/ShippedFiles.sha256" ] ||
    { echo "program folder not filled: $folder"; ls -R "$home"; exit 1; }
echo "installed program ran with its program folder in $folder"
