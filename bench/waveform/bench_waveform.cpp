// The waveform on a 2-hour VBR MP3 (made with ffmpeg): time from the open to
// the seconds around the playhead and to the whole recording, a cached
// reopen, Parlatype's time for its waveform of the same file in the same run,
// the peak memory of a 10-hour file (in a process of its own), and the
// processor while playing with the strip shown against hidden.
// Usage: xvfb-run -a dbus-run-session bench_waveform [SECONDS_PER_PHASE]
//        bench_waveform SECONDS --playing-only   (the first open and the playing phases)
//        bench_waveform --memory FILE [--one-pass]   (one file's peak memory, used by the above)
#include "media_fixtures.h"
#include "platform/media/media_control.h"
#include "platform/mpv/mpv_media_engine.h"
#include "player/waveform_panel.h"
#include "player/waveform_view.h"
#include "session/player_session.h"
#include "waveform/ffmpeg_audio.h"
#include "waveform/waveform_loader.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QThread>
#include <QTimer>
#include <cstdio>
#include <sys/resource.h>
#include <unistd.h>

using namespace quillory;

namespace {

double processorSeconds()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return double(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) +
           double(usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
}

long statusKiB(const char *field)
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return 0;
    for (const QByteArray &line : status.readAll().split('\n'))
        if (line.startsWith(field))
            return line.mid(int(qstrlen(field))).trimmed().split(' ').value(0).toLong();
    return 0;
}

QString loadAverage()
{
    QFile file(QStringLiteral("/proc/loadavg"));
    return file.open(QIODevice::ReadOnly) ? QString::fromLatin1(file.readAll()).trimmed()
                                          : QString();
}

// Ten minutes of noise shaped like speech (bursts and pauses), VBR, then
// copied end to end into a longer file (the copy keeps the frames and writes
// a new Xing header).
QString makeRecording(const QString &folder, int tenMinutePieces, const QString &name)
{
    const QString piece = folder + QStringLiteral("/ten_minutes.mp3");
    const QString out = folder + QLatin1Char('/') + name;
    if (QFileInfo::exists(out))
        return out;
    if (!QFileInfo::exists(piece) &&
        !testmedia::runFfmpeg({"-f", "lavfi", "-i", "anoisesrc=d=600:c=pink:r=44100:a=0.3", "-af",
                               "volume='0.2+0.8*abs(sin(2*PI*t*0.37))*gt(sin(2*PI*t*0.11),-0.6)':"
                               "eval=frame,aformat=channel_layouts=stereo",
                               "-c:a", "libmp3lame", "-q:a", "5", piece},
                              600000))
        return QString();
    QFile list(folder + QStringLiteral("/list.txt"));
    if (!list.open(QIODevice::WriteOnly))
        return QString();
    for (int i = 0; i < tenMinutePieces; ++i)
        list.write("file 'ten_minutes.mp3'\n");
    list.close();
    if (!testmedia::runFfmpeg(
            {"-f", "concat", "-safe", "0", "-i", list.fileName(), "-c", "copy", out}, 600000))
        return QString();
    return out;
}

bool known(const WaveformPeaks &peaks, double fromMs, double toMs)
{
    const auto first = static_cast<std::int64_t>(fromMs / PeakBinMs);
    const auto count = static_cast<std::int64_t>((toMs - fromMs) / PeakBinMs);
    for (const Peak &p : peaks.copy(first, count))
        if (!p.known())
            return false;
    return true;
}

struct Load {
    double regionMs = -1; // the 8 s the strip shows around the playhead
    double fullMs = -1;
    double processor = 0;
};

Load timeLoad(const QString &path, const QString &cacheFolder, double playheadMs)
{
    Load load;
    WaveformLoader loader(cacheFolder);
    bool done = false;
    QObject::connect(&loader, &WaveformLoader::finished, [&done] { done = true; });
    const double before = processorSeconds();
    QElapsedTimer clock;
    clock.start();
    const double from = std::max(0.0, playheadMs - 4000), to = playheadMs + 4000;
    // Timed when the view would hear of it.
    std::shared_ptr<const WaveformPeaks> peaks;
    QObject::connect(&loader, &WaveformLoader::peaksChanged, [&] {
        if (peaks && load.regionMs < 0 && known(*peaks, from, to))
            load.regionMs = double(clock.nsecsElapsed()) / 1e6;
    });
    loader.open(path, playheadMs);
    peaks = loader.peaks();
    while (!done && clock.elapsed() < 300000)
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
    load.fullMs = double(clock.nsecsElapsed()) / 1e6;
    if (load.regionMs < 0 && known(*peaks, from, to))
        load.regionMs = load.fullMs;
    load.processor = processorSeconds() - before;
    return load;
}

// Parlatype draws the file's waveform once a decoding pipeline of its own
// has gone through all of it (a progress bar shows meanwhile). Its main thread
// keeps waking while idle, so the end of the work is taken as the moment the
// processor time of all its other threads stops growing (for 2.5 s; the file
// is not played). Returns the seconds from the start of the process to then,
// and the processor seconds of those threads; the start-up alone is measured
// the same way without a file.
struct Busy {
    double seconds = -1;
    double processor = 0;
};

long workerTicks(qint64 pid)
{
    long ticks = 0;
    const QDir tasks(QStringLiteral("/proc/%1/task").arg(pid));
    for (const QString &task : tasks.entryList(QDir::Dirs | QDir::NoDotAndDotDot)) {
        if (task == QString::number(pid))
            continue;
        QFile file(tasks.filePath(task) + QStringLiteral("/stat"));
        if (!file.open(QIODevice::ReadOnly))
            continue;
        // After the ")" the fields start at the state (field 3): utime is 14, stime 15.
        const QList<QByteArray> fields = file.readAll().split(')').value(1).split(' ');
        ticks += fields.value(12).toLong() + fields.value(13).toLong();
    }
    return ticks;
}

Busy timeParlatype(const QString &path, const QString &home)
{
    Busy busy;
    QProcess parlatype;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("HOME"), home);
    env.insert(QStringLiteral("XDG_CONFIG_HOME"), home + QStringLiteral("/.config"));
    env.insert(QStringLiteral("XDG_CACHE_HOME"), home + QStringLiteral("/.cache"));
    env.remove(QStringLiteral("QT_QPA_PLATFORM"));
    parlatype.setProcessEnvironment(env);
    parlatype.setStandardErrorFile(QProcess::nullDevice());
    QElapsedTimer clock;
    clock.start();
    parlatype.start(QStringLiteral("parlatype"),
                    path.isEmpty() ? QStringList() : QStringList{path});
    if (!parlatype.waitForStarted(10000))
        return busy;
    const long tick = sysconf(_SC_CLK_TCK);
    long last = 0;
    qint64 lastChange = 0;
    // Its pipelines start a few seconds after the process: the quiet spell
    // counts only once the workers have begun. Without a file they may never
    // begin, and the start-up is over once 10 s have passed without them.
    while ((last == 0 ? clock.elapsed() < 10000 : clock.elapsed() - lastChange < 2500) &&
           clock.elapsed() < 300000) {
        QThread::msleep(20);
        const long ticks = workerTicks(parlatype.processId());
        if (ticks != last) {
            last = ticks;
            lastChange = clock.elapsed();
        }
    }
    busy.seconds = double(lastChange) / 1000.0;
    busy.processor = double(last) / double(tick);
    parlatype.terminate();
    if (!parlatype.waitForFinished(5000))
        parlatype.kill();
    parlatype.waitForFinished(5000);
    return busy;
}

int memoryOnly(const QString &path, bool onePass)
{
    QTemporaryDir cache;
    // FFmpeg's libraries are loaded at the first decode: their code is not
    // the peaks' memory.
    FfmpegAudio::get();
    const long before = statusKiB("VmRSS:");
    WaveformLoader loader(cache.path());
    if (onePass)
        loader.setSplitFromMs(1e12);
    bool done = false;
    QObject::connect(&loader, &WaveformLoader::finished, [&done] { done = true; });
    QElapsedTimer clock;
    clock.start();
    loader.open(path);
    while (!done)
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
    const auto peaks = loader.peaks();
    std::printf("%.1f %ld %ld %lld %.0f\n", double(clock.elapsed()) / 1000.0, before,
                statusKiB("VmHWM:"), static_cast<long long>(peaks->binCount()),
                peaks->durationMs());
    return 0;
}

struct Playing {
    double processorPercent = 0;
    int paints = 0;
    qint64 paintedArea = 0;
};

// Runs the event loop for `ms`, asleep between events.
void runFor(int ms)
{
    QEventLoop loop;
    QTimer::singleShot(ms, &loop, &QEventLoop::quit);
    loop.exec();
}

Playing measurePlaying(WaveformView &view, int seconds)
{
    Playing phase;
    runFor(1000); // settle
    view.takePaintCount();
    view.takePaintedArea();
    const double before = processorSeconds();
    QElapsedTimer clock;
    clock.start();
    runFor(seconds * 1000);
    phase.processorPercent =
        100.0 * (processorSeconds() - before) / (double(clock.elapsed()) / 1000.0);
    phase.paints = view.takePaintCount();
    phase.paintedArea = view.takePaintedArea();
    return phase;
}

} // namespace

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    std::setvbuf(stdout, nullptr, _IOLBF, 0);
    if (argc > 2 && QByteArray(argv[1]) == "--memory")
        return memoryOnly(QString::fromLocal8Bit(argv[2]),
                          argc > 3 && QByteArray(argv[3]) == "--one-pass");
    const int seconds = argc > 1 ? std::max(3, atoi(argv[1])) : 15;
    const bool playingOnly = argc > 2 && QByteArray(argv[2]) == "--playing-only";
    const QString folder =
        QStandardPaths::writableLocation(QStandardPaths::TempLocation) + "/quillory-bench-waveform";
    QDir().mkpath(folder);
    std::printf("making the recordings in %s (kept for later runs)...\n", qPrintable(folder));
    std::fflush(stdout);
    const QString twoHours = makeRecording(folder, 12, QStringLiteral("two_hours.mp3"));
    const QString tenHours = makeRecording(folder, 60, QStringLiteral("ten_hours.mp3"));
    if (twoHours.isEmpty() || tenHours.isEmpty()) {
        std::printf("ffmpeg failed\n");
        return 1;
    }
    std::printf("load average before: %s\n", qPrintable(loadAverage()));

    QTemporaryDir caches;
    // In the program libmpv, which links the same FFmpeg libraries, is loaded
    // before a file can open: the waveform's first decode finds them mapped.
    QElapsedTimer loading;
    loading.start();
    FfmpegAudio::get();
    std::printf("FFmpeg's libraries loaded in %.1f ms (before the timings, as in the program)\n",
                double(loading.nsecsElapsed()) / 1e6);
    std::printf("\n2-hour VBR MP3 (%.1f MB)\n", double(QFileInfo(twoHours).size()) / 1e6);
    const Load atStart = timeLoad(twoHours, caches.filePath("a"), 0);
    std::printf("  opened at the start: 8 s around the playhead %7.1f ms, whole %7.1f ms, "
                "processor %.2f s\n",
                atStart.regionMs, atStart.fullMs, atStart.processor);
    if (!playingOnly) {
        const Load atHour = timeLoad(twoHours, caches.filePath("b"), 3600000);
        std::printf("  opened at 1:00:00:   8 s around the playhead %7.1f ms, whole %7.1f ms, "
                    "processor %.2f s\n",
                    atHour.regionMs, atHour.fullMs, atHour.processor);
        const Load cached = timeLoad(twoHours, caches.filePath("a"), 0);
        std::printf("  reopened (cached):   whole %7.1f ms\n", cached.fullMs);

        QTemporaryDir parlatypeHome;
        const Busy bare = timeParlatype(QString(), parlatypeHome.path());
        const Busy parlatype = timeParlatype(twoHours, parlatypeHome.path());
        std::printf("  Parlatype 3.1: workers busy until %.1f s after its start with the file "
                    "(processor %.2f s); %.1f s without a file (processor %.2f s)\n",
                    parlatype.seconds, parlatype.processor, bare.seconds, bare.processor);
        if (parlatype.seconds > 0)
            std::printf(
                "  whole waveform: Quillory %.1f s, Parlatype %.1f s (less its start-up: "
                "%.1f s); ratio %.2f\n",
                atStart.fullMs / 1000.0, parlatype.seconds, parlatype.seconds - bare.seconds,
                atStart.fullMs / 1000.0 / std::max(parlatype.seconds - bare.seconds, 0.001));

        std::printf("\n10-hour VBR MP3 (%.1f MB), in a process of its own\n",
                    double(QFileInfo(tenHours).size()) / 1e6);
        for (const char *mode : {"two halves", "one pass"}) {
            std::fflush(stdout);
            QProcess memory;
            QStringList arguments{"--memory", tenHours};
            if (QByteArray(mode) == "one pass")
                arguments << "--one-pass";
            memory.start(QCoreApplication::applicationFilePath(), arguments);
            memory.waitForFinished(900000);
            const QList<QByteArray> m = memory.readAllStandardOutput().trimmed().split(' ');
            if (m.size() == 5)
                std::printf("  %-10s: whole in %s s; %s bins (%.1f MB of peaks); resident before "
                            "%.1f MB, peak %.1f MB: %.1f MB for the peaks and their decoding\n",
                            mode, m[0].constData(), m[3].constData(), m[3].toDouble() * 2 / 1e6,
                            m[1].toDouble() / 1024, m[2].toDouble() / 1024,
                            (m[2].toDouble() - m[1].toDouble()) / 1024);
        }
    }
    std::printf("\nplaying the 2-hour file, %d s a phase, the strip hidden and shown\n", seconds);
    std::fflush(stdout);
    MpvEngineOptions options;
    options.audioOutput = "null";
    auto engine = std::make_unique<MpvMediaEngine>(options);
    if (!engine->isReady()) {
        std::printf("libmpv does not start\n");
        return 1;
    }
    MediaControl media(std::move(engine));
    PlayerSession session(media);
    QWidget window;
    auto *view = new WaveformView(&window);
    window.resize(328, WaveformView::StripHeight);
    view->setGeometry(0, 0, 328, WaveformView::StripHeight);
    WaveformPanel panel(session, view, std::make_unique<WaveformLoader>(caches.filePath("a")));
    window.show();
    session.open(twoHours);
    const Playing hidden = measurePlaying(*view, seconds);
    panel.setShown(true);
    const Playing shown = measurePlaying(*view, seconds);
    std::printf("  hidden: processor %5.1f %%\n", hidden.processorPercent);
    std::printf("  shown:  processor %5.1f %%  (%.2fx); %d paints, %.0f px each on average "
                "(the strip is %d px)\n",
                shown.processorPercent,
                shown.processorPercent / std::max(hidden.processorPercent, 0.01), shown.paints,
                shown.paints ? double(shown.paintedArea) / shown.paints : 0.0,
                328 * WaveformView::StripHeight);
    std::printf("load average after: %s\n", qPrintable(loadAverage()));
    session.end();
    return 0;
}
