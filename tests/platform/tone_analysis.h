#pragma once

#include <QByteArray>
#include <QList>
#include <QPair>
#include <QString>
#include <vector>

namespace quillory::testmedia {

// A 16-bit mono PCM WAV of a sine tone at `hertz`, at 0.8 of full scale.
bool writeToneWav(const QString &path, double hertz, double seconds, int sampleRate = 44100);

// The samples of a 16-bit PCM WAV (the first channel, -1..1). The data runs to
// the end of the file even when the header's sizes were never filled in (an
// output file that was not closed). Empty when the file is no such WAV.
struct PcmSound {
    int sampleRate = 0;
    std::vector<float> samples;
    double seconds() const { return sampleRate > 0 ? double(samples.size()) / sampleRate : 0; }
};
PcmSound readPcmWav(const QString &path);

// mpv options for its PCM output: 16-bit mono 44.1 kHz into the WAV at `path`,
// written as fast as it decodes.
QList<QPair<QByteArray, QByteArray>> pcmOutputOptions(const QString &path);

// The strongest frequency in samples [first, first + 2^k) with k as large as fits
// (at most 2^17), from a Hann-windowed FFT with the peak interpolated between
// bins; 0 when there are fewer than 4096 samples.
double dominantHertz(const PcmSound &sound, std::size_t first, std::size_t count);

} // namespace quillory::testmedia
