#include "media_fixtures.h"

#include <QProcess>
#include <QSaveFile>
#include <QStandardPaths>
#include <QtEndian>
#include <cstdint>
#include <cstdlib>

namespace quillory::testmedia {

namespace {

void appendLe32(QByteArray &out, std::uint32_t v)
{
    char bytes[4];
    qToLittleEndian(v, bytes);
    out.append(bytes, 4);
}

void appendLe16(QByteArray &out, std::uint16_t v)
{
    char bytes[2];
    qToLittleEndian(v, bytes);
    out.append(bytes, 2);
}

bool writeWav(const QString &path, const QByteArray &samples, int sampleRate)
{
    QByteArray data;
    data.append("RIFF");
    appendLe32(data, 36 + std::uint32_t(samples.size()));
    data.append("WAVEfmt ");
    appendLe32(data, 16);
    appendLe16(data, 1); // PCM
    appendLe16(data, 1); // mono
    appendLe32(data, std::uint32_t(sampleRate));
    appendLe32(data, std::uint32_t(sampleRate) * 2);
    appendLe16(data, 2);
    appendLe16(data, 16);
    data.append("data");
    appendLe32(data, std::uint32_t(samples.size()));
    data.append(samples);
    QSaveFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(data) == data.size() && file.commit();
}

} // namespace

bool writeClickWav(const QString &path, int seconds, int sampleRate)
{
    QByteArray samples(qsizetype(seconds) * sampleRate * 2, '\0');
    auto *pcm = reinterpret_cast<std::int16_t *>(samples.data());
    const int clickLength = sampleRate / 1000;
    for (int s = 0; s < seconds; ++s) {
        for (int i = 0; i < clickLength; ++i)
            pcm[qsizetype(s) * sampleRate + i] = (i % 2 == 0) ? 20000 : -20000;
    }
    return writeWav(path, samples, sampleRate);
}

bool writeNoiseWav(const QString &path, int seconds, int sampleRate)
{
    QByteArray samples(qsizetype(seconds) * sampleRate * 2, '\0');
    auto *pcm = reinterpret_cast<std::int16_t *>(samples.data());
    std::uint32_t state = 12345;
    for (qsizetype i = 0; i < qsizetype(seconds) * sampleRate; ++i) {
        state = state * 1664525u + 1013904223u;
        pcm[i] = std::int16_t(std::int32_t(state >> 16) - 32768) / 4;
    }
    return writeWav(path, samples, sampleRate);
}

bool writeSteppedNoiseWav(const QString &path, int seconds, int sampleRate)
{
    QByteArray samples(qsizetype(seconds) * sampleRate * 2, '\0');
    auto *pcm = reinterpret_cast<std::int16_t *>(samples.data());
    std::uint32_t state = 54321;
    const auto next = [&state] {
        state = state * 1664525u + 1013904223u;
        return std::int32_t(state >> 16) - 32768;
    };
    const qsizetype step = sampleRate / 10;
    std::int32_t level = 0;
    for (qsizetype i = 0; i < qsizetype(seconds) * sampleRate; ++i) {
        if (i % step == 0)
            level = std::abs(next()) / 4; // a sudden change of loudness
        pcm[i] = std::int16_t(next() * level / 32768);
    }
    return writeWav(path, samples, sampleRate);
}

bool ffmpegAvailable()
{
    return !QStandardPaths::findExecutable(QStringLiteral("ffmpeg")).isEmpty();
}

bool runFfmpeg(const QStringList &arguments, int timeoutMs)
{
    QProcess ffmpeg;
    ffmpeg.start(QStringLiteral("ffmpeg"),
                 QStringList{QStringLiteral("-v"), QStringLiteral("error"), QStringLiteral("-y")} +
                     arguments);
    if (!ffmpeg.waitForFinished(timeoutMs)) {
        ffmpeg.kill();
        ffmpeg.waitForFinished();
        return false;
    }
    return ffmpeg.exitStatus() == QProcess::NormalExit && ffmpeg.exitCode() == 0;
}

} // namespace quillory::testmedia
