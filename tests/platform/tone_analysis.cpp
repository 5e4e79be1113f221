#include "tone_analysis.h"

#include <QFile>
#include <QSaveFile>
#include <QtEndian>
#include <cmath>
#include <complex>
#include <cstdint>

namespace quillory::testmedia {

namespace {

constexpr double Pi = 3.14159265358979323846;

void appendLe(QByteArray &out, std::uint32_t v, int bytes)
{
    for (int i = 0; i < bytes; ++i)
        out.append(char((v >> (8 * i)) & 0xff));
}

void fft(std::vector<std::complex<double>> &a)
{
    const std::size_t n = a.size();
    for (std::size_t i = 1, j = 0; i < n; ++i) {
        std::size_t bit = n >> 1;
        for (; j & bit; bit >>= 1)
            j ^= bit;
        j ^= bit;
        if (i < j)
            std::swap(a[i], a[j]);
    }
    for (std::size_t len = 2; len <= n; len <<= 1) {
        const double angle = -2 * Pi / double(len);
        const std::complex<double> step(std::cos(angle), std::sin(angle));
        for (std::size_t i = 0; i < n; i += len) {
            std::complex<double> w(1);
            for (std::size_t k = 0; k < len / 2; ++k) {
                const std::complex<double> u = a[i + k];
                const std::complex<double> v = a[i + k + len / 2] * w;
                a[i + k] = u + v;
                a[i + k + len / 2] = u - v;
                w *= step;
            }
        }
    }
}

} // namespace

bool writeToneWav(const QString &path, double hertz, double seconds, int sampleRate)
{
    const auto frames = static_cast<std::uint32_t>(std::lround(seconds * sampleRate));
    QByteArray data;
    data.append("RIFF");
    appendLe(data, 36 + frames * 2, 4);
    data.append("WAVEfmt ");
    appendLe(data, 16, 4);
    appendLe(data, 1, 2); // PCM
    appendLe(data, 1, 2); // mono
    appendLe(data, std::uint32_t(sampleRate), 4);
    appendLe(data, std::uint32_t(sampleRate) * 2, 4);
    appendLe(data, 2, 2);
    appendLe(data, 16, 2);
    data.append("data");
    appendLe(data, frames * 2, 4);
    for (std::uint32_t i = 0; i < frames; ++i) {
        const double v = 0.8 * 32767 * std::sin(2 * Pi * hertz * double(i) / sampleRate);
        appendLe(data, std::uint16_t(std::int16_t(std::lround(v))), 2);
    }
    QSaveFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(data) == data.size() && file.commit();
}

PcmSound readPcmWav(const QString &path)
{
    PcmSound sound;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return sound;
    const QByteArray bytes = file.readAll();
    if (bytes.size() < 12 || !bytes.startsWith("RIFF") || bytes.mid(8, 4) != "WAVE")
        return sound;
    auto le16 = [&](qsizetype at) {
        return qFromLittleEndian<std::uint16_t>(bytes.constData() + at);
    };
    auto le32 = [&](qsizetype at) {
        return qFromLittleEndian<std::uint32_t>(bytes.constData() + at);
    };
    int channels = 0, bits = 0, rate = 0;
    qsizetype at = 12;
    while (at + 8 <= bytes.size()) {
        const QByteArray id = bytes.mid(at, 4);
        const std::uint32_t size = le32(at + 4);
        const qsizetype body = at + 8;
        if (id == "fmt " && body + 16 <= bytes.size()) {
            channels = le16(body + 2);
            rate = int(le32(body + 4));
            bits = le16(body + 14);
        } else if (id == "data") {
            if (channels < 1 || bits != 16 || rate <= 0)
                return sound;
            sound.sampleRate = rate;
            const qsizetype frameBytes = qsizetype(channels) * 2;
            for (qsizetype p = body; p + frameBytes <= bytes.size(); p += frameBytes)
                sound.samples.push_back(float(std::int16_t(le16(p))) / 32768.0f);
            return sound;
        }
        at = body + qsizetype(size) + (size & 1);
    }
    return sound;
}

double dominantHertz(const PcmSound &sound, std::size_t first, std::size_t count)
{
    if (first >= sound.samples.size())
        return 0;
    count = std::min(count, sound.samples.size() - first);
    std::size_t n = 1;
    while (n * 2 <= count && n < (std::size_t(1) << 17))
        n *= 2;
    if (n < 4096)
        return 0;
    std::vector<std::complex<double>> a(n);
    for (std::size_t i = 0; i < n; ++i) {
        const double window = 0.5 - 0.5 * std::cos(2 * Pi * double(i) / double(n - 1));
        a[i] = double(sound.samples[first + i]) * window;
    }
    fft(a);
    std::size_t peak = 1;
    for (std::size_t k = 1; k < n / 2; ++k)
        if (std::abs(a[k]) > std::abs(a[peak]))
            peak = k;
    // Quadratic interpolation on the log magnitudes of the peak and its neighbours.
    const double l = std::log(std::abs(a[peak - 1]) + 1e-12);
    const double c = std::log(std::abs(a[peak]) + 1e-12);
    const double r = std::log(std::abs(a[peak + 1]) + 1e-12);
    const double denominator = l - 2 * c + r;
    const double shift = denominator != 0 ? 0.5 * (l - r) / denominator : 0;
    return (double(peak) + shift) * sound.sampleRate / double(n);
}

QList<QPair<QByteArray, QByteArray>> pcmOutputOptions(const QString &path)
{
    return {{"ao-pcm-file", path.toUtf8()},
            {"ao-pcm-waveheader", "yes"},
            {"audio-format", "s16"},
            {"audio-channels", "mono"},
            {"audio-samplerate", "44100"}};
}

} // namespace quillory::testmedia
