// Playback speed on the libmpv device:
//  1. CPU of the whole process (mpv's threads included) while playing noise on
//     mpv's null output, which keeps real time: 1.0x without scaletempo2, 1.0x
//     with it in the filter chain, and 0.5x and 2.0x with it (mpv's own pitch
//     correction, as the player uses it);
//  2. wall time of 10 s of media at 0.5x, 1.0x and 2.0x on the null output;
//  3. the pitch of a 440 Hz tone in the decoded output at 0.5x and 2.0x.
// Usage: bench_speed [--quick]   (--quick: 4 s per CPU figure instead of 10 s)
#include "media_fixtures.h"
#include "platform/mpv/mpv_media_engine.h"
#include "tone_analysis.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QTemporaryDir>
#include <QThread>
#include <cmath>
#include <cstdio>
#include <sys/resource.h>

using namespace quillory;
using namespace quillory::testmedia;

namespace {

// A probe that never knows of held audio: the null output holds nothing.
class NothingHeld : public HeldAudioProbe {
public:
    std::optional<long long> heldMicroseconds() override { return std::nullopt; }
};

double cpuSeconds()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return double(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) +
           double(usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
}

// Lets the engine's events run, as the player's event loop would, for `ms`.
void runEventsFor(qint64 ms)
{
    QElapsedTimer timer;
    timer.start();
    while (timer.elapsed() < ms) {
        QCoreApplication::processEvents();
        QThread::msleep(10);
    }
}

MpvEngineOptions nullOutput(bool keepPitch, bool filterAlways)
{
    MpvEngineOptions options;
    options.audioOutput = "null";
    options.keepPitch = keepPitch;
    options.heldAudio = std::make_shared<NothingHeld>();
    if (filterAlways)
        options.extraOptions = {{"af", "scaletempo2"}};
    return options;
}

struct CpuCase {
    const char *label;
    double speed;
    bool keepPitch;
    bool filterAlways;
};

void measureCpu(const QString &noise, int seconds)
{
    std::printf("CPU while playing (%d s of wall time each, null output, whole process):\n",
                seconds);
    const CpuCase cases[] = {
        {"1.0x, no filter", 1.0, false, false},
        {"1.0x, scaletempo2 in the chain", 1.0, false, true},
        {"0.5x, scaletempo2 (pitch kept)", 0.5, true, false},
        {"2.0x, scaletempo2 (pitch kept)", 2.0, true, false},
        {"2.0x, resampled (pitch moves)", 2.0, false, false},
    };
    for (const CpuCase &c : cases) {
        MpvMediaEngine engine(nullOutput(c.keepPitch, c.filterAlways));
        if (engine.open(noise) != MediaError::None) {
            std::printf("  %-34s cannot open\n", c.label);
            continue;
        }
        engine.setSpeed(c.speed);
        engine.play();
        runEventsFor(300); // past the start
        const double cpuBefore = cpuSeconds();
        QElapsedTimer wall;
        wall.start();
        runEventsFor(qint64(seconds) * 1000);
        const double cpu = cpuSeconds() - cpuBefore;
        const double elapsed = double(wall.nsecsElapsed()) / 1e9;
        std::printf("  %-34s %6.3f s CPU in %6.3f s = %5.2f %% of one core\n", c.label, cpu,
                    elapsed, 100.0 * cpu / elapsed);
    }
}

// From the position 1 s to the position 11 s: the end of the file is not used,
// since mpv reports it when the last block is handed to the output, a buffer
// before it has been played.
void measureWallTime(const QString &twelveSeconds)
{
    std::printf("Wall time for 10 s of media, position 1 s to 11 s (null output, real time):\n");
    for (double speed : {0.5, 1.0, 2.0}) {
        MpvMediaEngine engine(nullOutput(true, false));
        if (engine.open(twelveSeconds) != MediaError::None)
            continue;
        engine.setSpeed(speed);
        engine.play();
        QElapsedTimer wall;
        wall.start();
        auto waitFor = [&](std::int64_t ms) {
            while (engine.positionMs() < ms && wall.elapsed() < 60000) {
                QCoreApplication::processEvents();
                QThread::usleep(500);
            }
            return wall.nsecsElapsed();
        };
        const qint64 from = waitFor(1000);
        const qint64 to = waitFor(11000);
        const double elapsed = double(to - from) / 1e9;
        std::printf("  %.1fx: %7.3f s (expected %6.3f s, %+.1f ms)\n", speed, elapsed, 10.0 / speed,
                    (elapsed - 10.0 / speed) * 1000.0);
    }
}

void measurePitch(const QTemporaryDir &dir, const QString &tone)
{
    std::printf("Pitch of a 440 Hz tone in the decoded output (mpv's PCM output):\n");
    for (double speed : {0.5, 1.0, 2.0}) {
        const QString out = dir.filePath(QStringLiteral("out-%1.wav").arg(speed));
        MpvEngineOptions options = nullOutput(true, false);
        options.audioOutput = "pcm";
        options.extraOptions = {
            {"ao-pcm-file", out.toUtf8()}, {"audio-format", "s16"}, {"audio-channels", "mono"}};
        {
            MpvMediaEngine engine(options);
            if (engine.open(tone) != MediaError::None)
                continue;
            engine.setSpeed(speed);
            engine.play();
            QElapsedTimer wall;
            wall.start();
            while (engine.positionMs() < engine.lengthMs() && wall.elapsed() < 60000)
                runEventsFor(20);
        }
        const PcmSound sound = readPcmWav(out);
        const std::size_t n = sound.samples.size();
        std::printf("  %.1fx: %6.2f s of output from 10 s of media; %8.3f Hz (start) %8.3f Hz "
                    "(middle) %8.3f Hz (end)\n",
                    speed, sound.seconds(), dominantHertz(sound, 0, n / 4),
                    dominantHertz(sound, n * 3 / 8, n / 4), dominantHertz(sound, n * 3 / 4, n / 4));
    }
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    const bool quick = app.arguments().contains(QStringLiteral("--quick"));
    QTemporaryDir dir;
    const QString noise = dir.filePath(QStringLiteral("noise.wav"));
    const QString tone = dir.filePath(QStringLiteral("tone.wav"));
    const QString longTone = dir.filePath(QStringLiteral("tone12.wav"));
    if (!writeNoiseWav(noise, 60) || !writeToneWav(tone, 440.0, 10.0) ||
        !writeToneWav(longTone, 440.0, 12.0)) {
        std::fprintf(stderr, "cannot write the media files\n");
        return 1;
    }
    {
        MpvMediaEngine probe;
        if (!probe.isReady()) {
            std::fprintf(stderr, "libmpv is not available\n");
            return 1;
        }
    }
    measureCpu(noise, quick ? 4 : 10);
    measureWallTime(longTone);
    measurePitch(dir, tone);
    return 0;
}
