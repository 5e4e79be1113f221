#pragma once

#include <QByteArray>
#include <QString>
#include <cstdint>
#include <optional>

namespace quillory::bench {

// 16-bit mono samples of a whole media file, decoded once by ffmpeg.
class DecodedReference {
public:
    bool decode(const QString &mediaPath, const QString &rawPath, int sampleRate);
    const std::int16_t *samples() const { return m_samples; }
    std::int64_t count() const { return m_count; }
    int sampleRate() const { return m_rate; }

private:
    QByteArray m_holder;
    const std::int16_t *m_samples = nullptr;
    std::int64_t m_count = 0;
    int m_rate = 0;
};

// Reads the samples of a WAV file written by mpv's PCM output.
QByteArray readWavSamples(const QString &path);

// Where in the reference (in milliseconds, fractional) the start of `heard`
// sits, searching within `windowMs` of `expectedMs`; nothing when no clear match.
std::optional<double> locateHeard(const DecodedReference &reference, const QByteArray &heard,
                                  double expectedMs, double windowMs);

} // namespace quillory::bench
