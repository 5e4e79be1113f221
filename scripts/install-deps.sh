#!/usr/bin/env bash
# Installs the Debian 12 packages Quillory needs to build, run and test, when any
# is missing. The one list of packages; the README's commands call this script.
set -euo pipefail

PACKAGES=(
    build-essential cmake ninja-build pkg-config
    qt6-base-dev qt6-base-dev-tools libgl1-mesa-dev libqt6opengl6-dev
    qt6-base-private-dev  # long lists: one member of Qt's text list, see src/rtf/list_append.cpp
    libmpv-dev libasound2-dev libxcb1-dev libpulse-dev
    libavformat-dev libavcodec-dev libavutil-dev libswresample-dev  # the waveform's decoder
    libhunspell-dev hunspell-en-us hunspell-it hunspell-de-de hunspell-es hunspell-fr  # spelling
    qt6-translations-l10n  # Qt's own dialogs and menus in the interface language
    ffmpeg              # the tests make MP3/OGG files with it, and read the subtitles we write
    unzip               # the tests look inside the OpenDocument files we write
    clang libclang-rt-14-dev  # the RTF fuzz run (libFuzzer)
    xvfb xauth x11-utils imagemagick  # looking at the windows
    xdotool openbox python3-numpy  # the heard-sound and CPU benchmarks drive the windows
    dbus-daemon desktop-file-utils appstream  # the media-key and install tests
    lintian             # the package test checks the .deb
    pulseaudio pulseaudio-utils libasound2-plugins  # the volume knob on a sound server's mixer
)

missing=()
for p in "${PACKAGES[@]}"; do
    if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
        missing+=("$p")
    fi
done

if [ ${#missing[@]} -eq 0 ]; then
    exit 0
fi

echo "Installing: ${missing[*]}"
SUDO=""
if [ "$(id -u)" -ne 0 ]; then SUDO="sudo"; fi
export DEBIAN_FRONTEND=noninteractive
$SUDO apt-get update -qq
$SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}"
