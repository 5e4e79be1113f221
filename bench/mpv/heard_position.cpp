#include "heard_position.h"

#include <QFile>
#include <QProcess>
#include <algorithm>
#include <cmath>
#include <vector>

namespace quillory::bench {

bool DecodedReference::decode(const QString &mediaPath, const QString &rawPath, int sampleRate)
{
    QProcess ffmpeg;
    ffmpeg.start(QStringLiteral("ffmpeg"),
                 {"-v", "error", "-y", "-i", mediaPath, "-f", "s16le", "-ac", "1", "-ar",
                  QString::number(sampleRate), rawPath});
    if (!ffmpeg.waitForFinished(300000) || ffmpeg.exitCode() != 0)
        return false;
    QFile file(rawPath);
    if (!file.open(QIODevice::ReadOnly))
        return false;
    m_holder = file.readAll();
    m_samples = reinterpret_cast<const std::int16_t *>(m_holder.constData());
    m_count = m_holder.size() / 2;
    m_rate = sampleRate;
    return m_count > 0;
}

QByteArray readWavSamples(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    const QByteArray wav = file.readAll();
    // mpv may not have patched the chunk sizes; take everything after "data".
    const int at = wav.indexOf("data", 12);
    return at < 0 ? QByteArray() : wav.mid(at + 8);
}

std::optional<double> locateHeard(const DecodedReference &reference, const QByteArray &heard,
                                  double expectedMs, double windowMs)
{
    constexpr int kLength = 2048;
    if (heard.size() / 2 < kLength)
        return std::nullopt;
    const auto *probe = reinterpret_cast<const std::int16_t *>(heard.constData());
    std::vector<float> p(probe, probe + kLength);
    double probeEnergy = 0;
    for (float v : p)
        probeEnergy += double(v) * v;
    const double rate = reference.sampleRate() / 1000.0;
    const std::int64_t from =
        std::max<std::int64_t>(0, std::llround((expectedMs - windowMs) * rate));
    const std::int64_t to = std::min<std::int64_t>(reference.count() - kLength,
                                                   std::llround((expectedMs + windowMs) * rate));
    std::vector<float> r(reference.samples() + from, reference.samples() + to + kLength);

    double best = -1;
    std::int64_t bestAt = -1;
    for (std::int64_t k = 0; k + from <= to; ++k) {
        float dot = 0, energy = 0;
        for (int i = 0; i < kLength; ++i) {
            dot += p[i] * r[k + i];
            energy += r[k + i] * r[k + i];
        }
        const double score = energy > 0 ? dot / std::sqrt(double(energy) * probeEnergy) : 0;
        if (score > best) {
            best = score;
            bestAt = k + from;
        }
    }
    if (best < 0.9)
        return std::nullopt; // nothing in the window sounds like what was heard
    return bestAt / rate;
}

} // namespace quillory::bench
