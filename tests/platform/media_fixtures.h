#pragma once

#include <QString>
#include <QStringList>

namespace quillory::testmedia {

// Writes a 16-bit mono PCM WAV of `seconds` seconds with a 1 ms click at the
// start of every whole second, so positions in the decoded sound are easy to find.
bool writeClickWav(const QString &path, int seconds, int sampleRate = 44100);

// Writes a 16-bit mono PCM WAV of deterministic white noise: every stretch of it
// is unique, so a decoded excerpt can be located by correlation.
bool writeNoiseWav(const QString &path, int seconds, int sampleRate = 44100);

// White noise whose loudness jumps every tenth of a second: a Vorbis encoder
// switches between long and short blocks at such jumps.
bool writeSteppedNoiseWav(const QString &path, int seconds, int sampleRate = 44100);

bool ffmpegAvailable();

// Runs ffmpeg quietly with `arguments` (overwriting outputs); true on success.
bool runFfmpeg(const QStringList &arguments, int timeoutMs = 120000);

} // namespace quillory::testmedia
