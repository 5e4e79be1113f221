// Processor time and memory of the whole process while a 720p H.264 video
// (made with ffmpeg) plays with the video window shown, against the same with
// the window hidden (View > Show video off: the sound alone is decoded).
// Usage: xvfb-run -a bench_video [SECONDS]   (default 15 s per phase)
#include "media_fixtures.h"
#include "platform/files/program_folder.h"
#include "platform/mpv/mpv_media_engine.h"
#include "video/mpv_video_renderer.h"
#include "video/video_window.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <QThread>
#include <cstdio>
#include <sys/resource.h>

using namespace quillory;

namespace {

double processorSeconds()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return double(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) +
           double(usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
}

long residentKiB()
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return 0;
    for (const QByteArray &line : status.readAll().split('\n')) {
        if (line.startsWith("VmRSS:"))
            return line.mid(6).trimmed().split(' ').value(0).toLong();
    }
    return 0;
}

struct Phase {
    double processorPercent = 0;
    long residentMeanKiB = 0;
    long residentPeakKiB = 0;
    int frames = 0;
};

Phase measure(MpvMediaEngine &engine, MpvVideoRenderer &renderer, int seconds)
{
    Phase phase;
    int frames = 0;
    const auto counter =
        QObject::connect(&renderer, &MpvVideoRenderer::frameReady, [&frames] { ++frames; });
    engine.playFrom(0);
    // Settle: the decoder and output start.
    QElapsedTimer clock;
    clock.start();
    while (clock.elapsed() < 1000)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
    frames = 0;
    const double processorBefore = processorSeconds();
    clock.restart();
    long residentSum = 0;
    int samples = 0;
    while (clock.elapsed() < seconds * 1000) {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
        if (clock.elapsed() / 250 >= samples) {
            const long resident = residentKiB();
            residentSum += resident;
            phase.residentPeakKiB = std::max(phase.residentPeakKiB, resident);
            ++samples;
        }
        QThread::msleep(2);
    }
    phase.processorPercent =
        100.0 * (processorSeconds() - processorBefore) / (double(clock.elapsed()) / 1000.0);
    phase.residentMeanKiB = samples > 0 ? residentSum / samples : 0;
    phase.frames = frames;
    QObject::disconnect(counter);
    engine.stop();
    return phase;
}

void print(const char *label, const Phase &phase, int seconds)
{
    std::printf("  %-8s processor %6.1f %%   RSS mean %7.1f MiB  peak %7.1f MiB   frames drawn "
                "%5.1f/s\n",
                label, phase.processorPercent, double(phase.residentMeanKiB) / 1024.0,
                double(phase.residentPeakKiB) / 1024.0, double(phase.frames) / seconds);
}

} // namespace

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    const int seconds = argc > 1 ? std::max(2, atoi(argv[1])) : 15;
    QTemporaryDir dir;
    ProgramFolder::set(dir.path());
    const QString video = dir.filePath(QStringLiteral("talk720p.mp4"));
    const int length = seconds + 5;
    std::printf("making a %d s 1280x720 25 fps H.264 video with AAC sound...\n", length);
    std::fflush(stdout);
    if (!testmedia::runFfmpeg(
            {"-f", "lavfi", "-i",
             QStringLiteral("testsrc2=size=1280x720:rate=25:duration=%1").arg(length), "-f",
             "lavfi", "-i", QStringLiteral("sine=frequency=300:duration=%1").arg(length), "-c:v",
             "libx264", "-preset", "veryfast", "-pix_fmt", "yuv420p", "-c:a", "aac", video},
            600000)) {
        std::printf("ffmpeg failed\n");
        return 1;
    }
    auto renderer = std::make_shared<MpvVideoRenderer>();
    MpvEngineOptions options;
    options.audioOutput = "null";
    options.videoHost = renderer;
    auto engine = std::make_unique<MpvMediaEngine>(options);
    if (!engine->isReady() || engine->open(video) != MediaError::None) {
        std::printf("the video does not open\n");
        return 1;
    }
    VideoWindow window(*renderer, [] { return QList<QWidget *>(); });
    window.setVideoShown(true);
    while (!window.isVisible())
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
    window.resize(640, 360);
    std::printf("picture output: %s; window %dx%d; %d s per phase\n",
                renderer->output() == MpvVideoRenderer::Output::OpenGL ? "OpenGL" : "software",
                window.width(), window.height(), seconds);
    const Phase shown = measure(*engine, *renderer, seconds);
    window.setVideoShown(false);
    const Phase hidden = measure(*engine, *renderer, seconds);
    print("shown", shown, seconds);
    print("hidden", hidden, seconds);
    window.setVideoShown(true);
    engine.reset();
    return 0;
}
