// Playback benchmarks of the libmpv device:
//  1. cost of one display tick ("status wav1 length" + "status wav1 position")
//     through MediaControl while playing;
//  2. exactness of the pause idiom with a three-second rewind (pause at p, then
//     "play wav1 from p-3000" + "stop wav1"), as reported on the SDL output and
//     as heard on mpv's PCM output compared with the file decoded by ffmpeg.
// Usage: bench_mpv [--quick]   (--quick: fewer pauses, 30-minute long file)
#include "heard_position.h"
#include "media_fixtures.h"
#include "platform/media/media_control.h"
#include "platform/mpv/mpv_media_engine.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QThread>
#include <algorithm>
#include <cstdio>
#include <vector>

using namespace quillory;
using namespace quillory::bench;

namespace {

struct Medium {
    const char *label;
    QString path;
    int sampleRate;
    DecodedReference reference;
};

double percentile(std::vector<double> values, double p)
{
    if (values.empty())
        return 0;
    std::sort(values.begin(), values.end());
    const size_t at = std::min(values.size() - 1, size_t(p * double(values.size() - 1) + 0.5));
    return values[at];
}

void printStats(const char *what, const std::vector<double> &values, const char *unit)
{
    double sum = 0;
    for (double v : values)
        sum += v;
    std::printf("  %-26s n=%-4zu mean %8.3f  median %8.3f  p99 %8.3f  max %8.3f %s\n", what,
                values.size(), values.empty() ? 0 : sum / double(values.size()),
                percentile(values, 0.5), percentile(values, 0.99), percentile(values, 1.0), unit);
}

// Lets the engine's deferred start and mpv's events run for about `ms`.
void runEventsFor(int ms)
{
    QElapsedTimer timer;
    timer.start();
    while (timer.elapsed() < ms) {
        QCoreApplication::processEvents();
        QThread::msleep(2);
    }
}

std::int64_t status(MediaControl &control, const char *what)
{
    char reply[127];
    if (control.sendString(QStringLiteral("status wav1 ") + what, reply, sizeof reply) != 0)
        return -1;
    return QByteArray(reply).toLongLong();
}

QString openCommand(const QString &path)
{
    return "open \"" + path + "\" ALIAS wav1";
}

MpvEngineOptions sdlOutput()
{
    MpvEngineOptions options;
    options.audioOutput = "sdl";
    return options;
}

// Open time, and the length reported against the length of the decoded sound.
void benchOpen(const Medium &medium)
{
    std::vector<double> millis;
    std::int64_t length = 0;
    for (int i = 0; i < 5; ++i) {
        MpvMediaEngine engine(sdlOutput());
        QElapsedTimer timer;
        timer.start();
        if (engine.open(medium.path) != MediaError::None)
            return;
        millis.push_back(double(timer.nsecsElapsed()) / 1e6);
        length = engine.lengthMs();
    }
    std::printf("  %-24s open median %6.1f ms   length %9lld ms   decoded %11.1f ms\n",
                medium.label, percentile(millis, 0.5), static_cast<long long>(length),
                double(medium.reference.count()) * 1000.0 / medium.reference.sampleRate());
}

void benchTick(const Medium &medium)
{
    MediaControl control(std::make_unique<MpvMediaEngine>(sdlOutput()));
    if (control.sendString(openCommand(medium.path)) != 0) {
        std::printf("  %s: open failed\n", medium.label);
        return;
    }
    control.sendString(QStringLiteral("play wav1"));
    runEventsFor(50);
    std::vector<double> micros;
    micros.reserve(10000);
    QElapsedTimer timer;
    char reply[127];
    for (int i = 0; i < 10000; ++i) {
        timer.start();
        control.sendString(QStringLiteral("status wav1 length"), reply, sizeof reply);
        control.sendString(QStringLiteral("status wav1 position"), reply, sizeof reply);
        micros.push_back(double(timer.nsecsElapsed()) / 1000.0);
        if (i % 100 == 0)
            QCoreApplication::processEvents();
    }
    printStats(medium.label, micros, "us per tick");
}

// Pause idiom while playing on the SDL output; returns |reported - target| per pause.
std::vector<double> reportedPauseErrors(const Medium &medium, int pauses,
                                        std::vector<std::int64_t> *targets)
{
    std::vector<double> errors;
    MediaControl control(std::make_unique<MpvMediaEngine>(sdlOutput()));
    if (control.sendString(openCommand(medium.path)) != 0)
        return errors;
    const std::int64_t length = status(control, "length");
    auto *random = QRandomGenerator::global();
    for (int i = 0; i < pauses; ++i) {
        const std::int64_t start =
            3000 + random->bounded(qint64(std::max<std::int64_t>(1, length - 5000)));
        control.sendString(QStringLiteral("play wav1 from %1").arg(start));
        runEventsFor(20 + random->bounded(100));
        const std::int64_t pausedAt = status(control, "position");
        const std::int64_t target = std::max<std::int64_t>(0, pausedAt - 3000);
        control.sendString(QStringLiteral("play wav1 from %1").arg(target));
        control.sendString(QStringLiteral("stop wav1"));
        errors.push_back(double(std::llabs(status(control, "position") - target)));
        targets->push_back(target);
    }
    return errors;
}

// The state the pause idiom leaves ("play from t" + "stop") on mpv's PCM output,
// on a freshly opened file so that the output file holds only what the resume
// plays; its first samples are located in the decoded reference.
// Returns |heard - target| per pause, in milliseconds.
std::vector<double> heardPauseErrors(const Medium &medium, const std::vector<std::int64_t> &targets,
                                     const QString &scratch, int *unmatched)
{
    std::vector<double> errors;
    for (size_t i = 0; i < targets.size(); ++i) {
        const QString out = scratch + QStringLiteral("/heard_%1.wav").arg(i);
        MpvEngineOptions options;
        options.audioOutput = "pcm";
        options.fallbackToNullOutput = false;
        options.extraOptions = {{"ao-pcm-file", QFile::encodeName(out)},
                                {"audio-format", "s16"},
                                {"audio-channels", "mono"},
                                {"audio-samplerate", QByteArray::number(medium.sampleRate)}};
        const std::int64_t target = targets[i];
        {
            MediaControl control(std::make_unique<MpvMediaEngine>(options));
            if (control.sendString(openCommand(medium.path)) != 0)
                continue;
            control.sendString(QStringLiteral("play wav1 from %1").arg(target));
            control.sendString(QStringLiteral("stop wav1"));
            control.sendString(QStringLiteral("play wav1"));
            QElapsedTimer waited;
            waited.start();
            while (status(control, "position") < target + 200 && waited.elapsed() < 3000)
                runEventsFor(5);
        }
        const auto heard = locateHeard(medium.reference, readWavSamples(out), double(target), 150);
        QFile::remove(out);
        if (heard)
            errors.push_back(std::abs(*heard - double(target)));
        else
            ++*unmatched;
    }
    return errors;
}

} // namespace

int main(int argc, char **argv)
{
    qputenv("SDL_AUDIODRIVER", "dummy");
    QCoreApplication app(argc, argv);
    const bool quick = app.arguments().contains(QStringLiteral("--quick"));
    const int pauses = quick ? 20 : 100;
    if (!testmedia::ffmpegAvailable()) {
        std::printf("ffmpeg is needed to generate the media\n");
        return 1;
    }
    QTemporaryDir dir;
    const QString wav = dir.filePath("noise.wav");
    QElapsedTimer generation;
    generation.start();
    if (!testmedia::writeNoiseWav(wav, 60))
        return 1;
    const int longSeconds = quick ? 1800 : 7200;
    std::vector<Medium> media(6);
    media[0] = {"WAV 60 s", wav, 44100, {}};
    media[1] = {"CBR MP3 60 s", dir.filePath("cbr.mp3"), 44100, {}};
    media[2] = {"VBR MP3 60 s", dir.filePath("vbr.mp3"), 44100, {}};
    media[3] = {"OGG 60 s", dir.filePath("noise.ogg"), 44100, {}};
    media[4] = {quick ? "VBR MP3 30 min" : "VBR MP3 2 h", dir.filePath("long.mp3"), 16000, {}};
    media[5] = {"VBR MP3 60 s, no Xing", dir.filePath("vbr_no_xing.mp3"), 44100, {}};
    const bool encoded =
        testmedia::runFfmpeg({"-i", wav, "-c:a", "libmp3lame", "-b:a", "128k", media[1].path}) &&
        testmedia::runFfmpeg({"-i", wav, "-c:a", "libmp3lame", "-q:a", "4", media[2].path}) &&
        testmedia::runFfmpeg(
            {"-i", wav, "-c:a", "libmp3lame", "-q:a", "4", "-write_xing", "0", media[5].path}) &&
        testmedia::runFfmpeg({"-i", wav, "-c:a", "libvorbis", "-q:a", "4", media[3].path}) &&
        testmedia::runFfmpeg(
            {"-f", "lavfi", "-i",
             QStringLiteral("anoisesrc=d=%1:r=16000:a=0.3:seed=7").arg(longSeconds), "-ac", "1",
             "-c:a", "libmp3lame", "-q:a", "9", media[4].path},
            600000);
    if (!encoded) {
        std::printf("encoding the media failed\n");
        return 1;
    }
    for (size_t i = 0; i < media.size(); ++i) {
        if (!media[i].reference.decode(media[i].path,
                                       dir.filePath(QStringLiteral("ref%1.raw").arg(i)),
                                       media[i].sampleRate)) {
            std::printf("decoding %s failed\n", media[i].label);
            return 1;
        }
    }
    std::printf("media generated and decoded in %.1f s\n\n", generation.elapsed() / 1000.0);

    std::printf("Open (5 opens) and length:\n");
    for (const Medium &medium : media)
        benchOpen(medium);

    std::printf("\nDisplay tick (status length + status position), 10000 ticks while playing:\n");
    benchTick(media[0]);
    benchTick(media[2]);
    benchTick(media[4]);

    std::printf("\nPause with 3 s rewind, %d pauses per format:\n", pauses);
    for (const Medium &medium : media) {
        std::printf(" %s\n", medium.label);
        std::vector<std::int64_t> targets;
        QElapsedTimer timer;
        timer.start();
        printStats("reported |pos - target|", reportedPauseErrors(medium, pauses, &targets), "ms");
        int unmatched = 0;
        printStats("heard |pos - target|",
                   heardPauseErrors(medium, targets, dir.path(), &unmatched), "ms");
        if (unmatched > 0)
            std::printf("  heard: %d pauses not located within 150 ms\n", unmatched);
        std::printf("  (%.1f s)\n", timer.elapsed() / 1000.0);
    }
    return 0;
}
