// What the listener hears at the end of a recording and during moves while
// paused, measured on what a PulseAudio sink actually played (its monitor,
// recorded with parec). The player session drives the libmpv device with its
// own display tick, as in the program; no window takes part.
//  1. A file of three 1 s tones (440, 880, 660 Hz) played to its end at 0.5x,
//     1x and 2x: how long the last tone is heard, against 1 s / speed.
//  2. Paused after 1 s of a loud tone, the session moves a dozen times (jumps,
//     the bar, a bookmark, a media-key seek): any sound after the pause's own
//     tail is a burst.
// usage: bench_heard_end [RUNS=3]   (run by heard_end.sh, which starts the server)
#include "platform/media/media_control.h"
#include "platform/mpv/mpv_media_engine.h"
#include "session/player_session.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QThread>
#include <cmath>
#include <cstdio>
#include <limits>
#include <vector>

using namespace quillory;

namespace {

constexpr int Rate = 44100;
constexpr int FrameSamples = Rate / 200; // 5 ms

void runEventsFor(qint64 ms)
{
    QElapsedTimer timer;
    timer.start();
    while (timer.elapsed() < ms) {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
        QThread::msleep(1);
    }
}

bool makeTones(const QString &path, const QList<int> &hertz, double secondsEach, double gain)
{
    QStringList args{QStringLiteral("-v"), QStringLiteral("error"), QStringLiteral("-y")};
    QString graph;
    for (int i = 0; i < hertz.size(); ++i) {
        args << QStringLiteral("-f") << QStringLiteral("lavfi") << QStringLiteral("-i")
             << QStringLiteral("sine=frequency=%1:sample_rate=44100:duration=%2")
                    .arg(hertz[i])
                    .arg(secondsEach);
        graph += QStringLiteral("[%1]").arg(i);
    }
    graph += QStringLiteral("concat=n=%1:v=0:a=1,volume=%2").arg(hertz.size()).arg(gain);
    args << QStringLiteral("-filter_complex") << graph << QStringLiteral("-ac")
         << QStringLiteral("1") << QStringLiteral("-c:a") << QStringLiteral("pcm_s16le") << path;
    return QProcess::execute(QStringLiteral("ffmpeg"), args) == 0;
}

// parec on the monitor of the default sink, 16-bit mono, to a raw file.
class Recorder {
public:
    explicit Recorder(const QString &path)
    {
        m_process.start(QStringLiteral("parec"),
                        {QStringLiteral("-d"), QStringLiteral("@DEFAULT_MONITOR@"),
                         QStringLiteral("--format=s16le"), QStringLiteral("--rate=44100"),
                         QStringLiteral("--channels=1"), QStringLiteral("--raw"),
                         QStringLiteral("--latency-msec=20"), path});
        m_process.waitForStarted();
        runEventsFor(500);
    }
    std::vector<float> stop(const QString &path)
    {
        runEventsFor(300);
        m_process.terminate();
        m_process.waitForFinished(3000);
        QFile file(path);
        std::vector<float> samples;
        if (!file.open(QIODevice::ReadOnly))
            return samples;
        const QByteArray data = file.readAll();
        const auto *raw = reinterpret_cast<const qint16 *>(data.constData());
        samples.reserve(size_t(data.size() / 2));
        for (qsizetype i = 0; i < data.size() / 2; ++i)
            samples.push_back(float(raw[i]) / 32768.0f);
        return samples;
    }

private:
    QProcess m_process;
};

// The share of a frame's energy at `hertz` (Goertzel), and its level in dBFS.
struct Frame {
    double share;
    double dbfs;
};

Frame analyse(const std::vector<float> &s, size_t first, double hertz)
{
    const double w = 2 * M_PI * hertz / Rate;
    const double c = 2 * std::cos(w);
    double s1 = 0, s2 = 0, energy = 0;
    for (size_t i = first; i < first + FrameSamples; ++i) {
        const double s0 = s[i] + c * s1 - s2;
        s2 = s1;
        s1 = s0;
        energy += double(s[i]) * s[i];
    }
    const double power = s1 * s1 + s2 * s2 - c * s1 * s2;
    // A pure tone of amplitude A gives power (A N / 2)^2 and energy A^2 N / 2.
    const double toneEnergy = 2 * power / FrameSamples;
    const double rms = std::sqrt(energy / FrameSamples);
    return {energy > 0 ? toneEnergy / energy : 0, rms > 0 ? 20 * std::log10(rms) : -200};
}

// Seconds from the first to the last 5 ms frame that is mostly `hertz`.
double heardSeconds(const std::vector<float> &s, double hertz)
{
    long first = -1, last = -1;
    for (size_t f = 0; f + FrameSamples <= s.size(); f += FrameSamples) {
        const Frame frame = analyse(s, f, hertz);
        if (frame.dbfs > -40 && frame.share > 0.5) {
            if (first < 0)
                first = long(f);
            last = long(f + FrameSamples);
        }
    }
    return first < 0 ? 0 : double(last - first) / Rate;
}

struct Device {
    Device()
        : engine(new MpvMediaEngine(options())), media(std::unique_ptr<MediaEngine>(engine)),
          session(media)
    {
        session.setPauseRewindSeconds(0);
        session.setJumpSeconds(2);
    }
    static MpvEngineOptions options()
    {
        MpvEngineOptions o;
        o.audioOutput = "pulse";
        o.fallbackToNullOutput = false;
        return o;
    }
    MpvMediaEngine *engine; // owned by media
    MediaControl media;
    PlayerSession session;
};

// The reference: the device alone plays the file out and pauses by itself,
// never asked to seek or stop; what it loses is lost inside mpv.
double playedOutAlone(const QString &tones, const QString &capture, double speed)
{
    MpvEngineOptions options = Device::options();
    MpvMediaEngine engine(options);
    engine.setSpeed(speed);
    Recorder recorder(capture);
    if (engine.open(tones) != MediaError::None || engine.play() != MediaError::None)
        return 0;
    QElapsedTimer wall;
    wall.start();
    while (engine.isPlaying() && wall.elapsed() < 20000)
        runEventsFor(5);
    runEventsFor(1500);
    return heardSeconds(recorder.stop(capture), 660);
}

// Opens `tones` and plays them to their end, where the session rewinds and
// pauses, recording what the sink was given; `endedMs` gets the moment.
std::vector<float> playedToTheEnd(Device &device, const QString &tones, const QString &capture,
                                  qint64 *endedMs = nullptr)
{
    Recorder recorder(capture);
    QElapsedTimer wall;
    wall.start();
    device.session.open(tones);
    while (device.session.playState() == PlayState::Playing && wall.elapsed() < 30000)
        runEventsFor(5);
    if (endedMs)
        *endedMs = wall.elapsed();
    runEventsFor(1000);
    return recorder.stop(capture);
}

void heardEnd(const QString &dir, double speed, int runs)
{
    const QString tones = dir + QStringLiteral("/tones.wav");
    if (!QFile::exists(tones) && !makeTones(tones, {440, 880, 660}, 1.0, 0.5)) {
        std::printf("ffmpeg could not make the tones\n");
        return;
    }
    for (int run = 1; run <= runs; ++run) {
        Device device;
        device.session.restoreSpeed(PlaybackSpeed::nearest(speed));
        qint64 endedMs = 0;
        const std::vector<float> heard =
            playedToTheEnd(device, tones, dir + QStringLiteral("/end.raw"), &endedMs);
        const double expected = 1.0 / speed;
        const double middle = heardSeconds(heard, 880);
        const double last = heardSeconds(heard, 660);
        std::printf("  %.1fx run %d: last tone heard %.3f s of %.3f (%+.0f ms), middle tone "
                    "%.3f s; the session paused at %.3f s\n",
                    speed, run, last, expected, (last - expected) * 1000, middle,
                    double(endedMs) / 1000);
    }
    const double alone = playedOutAlone(tones, dir + QStringLiteral("/alone.raw"), speed);
    std::printf("  %.1fx the device alone, played out: last tone heard %.3f s (%+.0f ms)\n", speed,
                alone, (alone - 1.0 / speed) * 1000);
}

// With the windows minimised no display asks for a tick, and the session
// sleeps up to its longest between ticks: a longer file, so that readings of
// the heard position have grown old by the end.
void heardEndHidden(const QString &dir, int runs)
{
    const QString tones = dir + QStringLiteral("/long_tones.wav");
    if (!QFile::exists(tones) &&
        !makeTones(tones, {440, 440, 440, 440, 440, 440, 440, 440, 440, 440, 880, 660}, 1.0, 0.5)) {
        std::printf("ffmpeg could not make the tones\n");
        return;
    }
    for (int run = 1; run <= runs; ++run) {
        Device device;
        device.session.addDisplay(&device.session, [](double, double) {
            return std::numeric_limits<double>::infinity();
        });
        const double last = heardSeconds(
            playedToTheEnd(device, tones, dir + QStringLiteral("/end_hidden.raw")), 660);
        std::printf("  hidden run %d: last tone heard %.3f s of 1.000 (%+.0f ms)\n", run, last,
                    (last - 1.0) * 1000);
    }
}

void pausedMoves(const QString &dir, int runs)
{
    const QString tone = dir + QStringLiteral("/tone.wav");
    if (!QFile::exists(tone) && !makeTones(tone, {500}, 60.0, 0.5)) {
        std::printf("ffmpeg could not make the tone\n");
        return;
    }
    for (int run = 1; run <= runs; ++run) {
        Device device;
        const QString capture = dir + QStringLiteral("/moves.raw");
        Recorder recorder(capture);
        device.session.open(tone);
        runEventsFor(1000);
        device.session.playPause();
        // The pause's own tail (what the sink held) is over well within this.
        runEventsFor(700);
        QElapsedTimer sinceQuiet;
        sinceQuiet.start();
        device.session.bookmarks().assign({BookmarkLine::make(QStringLiteral("0:30  a"), 30000)});
        for (int i = 0; i < 3; ++i) {
            device.session.jumpForward();
            runEventsFor(150);
            device.session.jumpBack();
            runEventsFor(150);
            device.session.playFromBar(20000 + i * 1000);
            runEventsFor(150);
            device.session.seekKeepingState(40000 + i * 1000);
            runEventsFor(150);
        }
        device.session.goToBookmark(false);
        runEventsFor(150);
        const double quietSeconds = double(sinceQuiet.elapsed()) / 1000;
        const std::vector<float> heard = recorder.stop(capture);
        // The last stretch of recording before the end, as long as the moves took.
        const size_t span = size_t(quietSeconds * Rate);
        const size_t tail = size_t(0.45 * Rate); // what stop() and the last wait add
        size_t loud = 0;
        double peak = -200;
        if (heard.size() > span + tail) {
            for (size_t f = heard.size() - tail - span; f + FrameSamples <= heard.size() - tail;
                 f += FrameSamples) {
                const Frame frame = analyse(heard, f, 500);
                peak = std::max(peak, frame.dbfs);
                if (frame.dbfs > -60)
                    ++loud;
            }
        }
        std::printf("  run %d: %zu ms above -60 dBFS during 13 moves while paused (peak %.1f "
                    "dBFS); position %s, %s\n",
                    run, loud * 5, peak, qPrintable(QString::number(device.session.position())),
                    device.session.playState() == PlayState::Playing ? "playing" : "paused");

        // The detector's own check: 40 ms of playing between a "play from" and
        // a stop, as a move that plays for a moment would sound.
        const QString check = dir + QStringLiteral("/check.raw");
        Recorder burst(check);
        device.media.sendString(QStringLiteral("play wav1 from 10000"), nullptr, 0);
        device.session.position();
        runEventsFor(40);
        device.media.sendString(QStringLiteral("stop wav1"), nullptr, 0);
        runEventsFor(500);
        const std::vector<float> checked = burst.stop(check);
        size_t checkLoud = 0;
        double checkPeak = -200;
        for (size_t f = 0; f + FrameSamples <= checked.size(); f += FrameSamples) {
            const Frame frame = analyse(checked, f, 500);
            checkPeak = std::max(checkPeak, frame.dbfs);
            if (frame.dbfs > -60)
                ++checkLoud;
        }
        std::printf("         a play-and-stop for comparison: %zu ms above -60 dBFS (peak %.1f "
                    "dBFS)\n",
                    checkLoud * 5, checkPeak);
    }
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    const int runs = argc > 1 ? std::max(1, atoi(argv[1])) : 3;
    QTemporaryDir dir;
    std::printf("The end of the media, as heard (goal: the last tone in full, within 40 ms):\n");
    for (double speed : {0.5, 1.0, 2.0})
        heardEnd(dir.path(), speed, runs);
    heardEndHidden(dir.path(), runs);
    std::printf("Moves while paused, as heard (goal: silence):\n");
    pausedMoves(dir.path(), runs);
    return 0;
}
