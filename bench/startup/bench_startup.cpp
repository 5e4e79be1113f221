// Start-up to a window on screen, the program against a bare Qt window, side by
// side in one run: each repetition starts both in turns (in a rotating order, with a
// third reference, a window that shows a menu bar and a line of text) and times
// from the process start to the X server mapping its main window (the one
// titled "Quillory": the player, whichever window the program maps first), and
// to the mapping of its next window (the editor, which comes up after it).
// It also times the player's first frame (its first paint done) and, with a
// media file on the command line, the moment the player shows the file's
// length, both of which the program reports when QUILLORY_STARTUP_MARKS is set. Run on an X display
// (e.g. under xvfb-run); prints each repetition, the medians and the load average, and beside the
// times the processor time used until the window was mapped (which depends
// less on the machine's load). With --desktop all three run as on a desktop:
// with a sound server (a PulseAudio of the benchmark's own) and a session bus
// (a dbus-daemon of its own), both of which the program talks to at start.
//
//   bench_startup [--desktop] [REPETITIONS=7] [MEDIA_FILE]
#include "desktop_services.h"
#include "platform/files/program_folder.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <functional>
#include <memory>
#include <unistd.h>
#include <vector>
#include <xcb/xcb.h>

namespace {

struct XDisplay {
    xcb_connection_t *connection = nullptr;
    ~XDisplay()
    {
        if (connection != nullptr)
            xcb_disconnect(connection);
    }
};

qint64 monotonicNs()
{
    timespec now{};
    clock_gettime(CLOCK_MONOTONIC, &now);
    return static_cast<qint64>(now.tv_sec) * 1000000000LL + now.tv_nsec;
}

// The window's title as the program set it (UTF-8 name first, then the
// Latin-1 one); empty when it has none or is already gone.
QByteArray windowTitle(xcb_connection_t *x, xcb_window_t window)
{
    const auto atom = [x](const char *name) {
        xcb_intern_atom_reply_t *reply = xcb_intern_atom_reply(
            x, xcb_intern_atom(x, 0, static_cast<uint16_t>(std::strlen(name)), name), nullptr);
        const xcb_atom_t result = reply != nullptr ? reply->atom : xcb_atom_t(XCB_ATOM_NONE);
        std::free(reply);
        return result;
    };
    static const xcb_atom_t netName = atom("_NET_WM_NAME");
    for (const xcb_atom_t name : {netName, xcb_atom_t(XCB_ATOM_WM_NAME)}) {
        xcb_get_property_reply_t *reply = xcb_get_property_reply(
            x, xcb_get_property(x, 0, window, name, XCB_GET_PROPERTY_TYPE_ANY, 0, 256), nullptr);
        QByteArray title;
        if (reply != nullptr)
            title = QByteArray(static_cast<const char *>(xcb_get_property_value(reply)),
                               xcb_get_property_value_length(reply));
        std::free(reply);
        if (!title.isEmpty())
            return title;
    }
    return {};
}

struct Times {
    double windowMs = -1; // process start to the main window mapped
    double cpuMs = -1;    // processor time all its threads had used by then
    double otherMs = -1;  // process start to another of its windows mapped (the editor)
    double lengthMs = -1; // process start to the media file's length shown
    double frameMs = -1;  // process start to the player's first frame painted
};

// Processor time used so far by all threads of a process, from the scheduler's
// own account (nanoseconds, unlike the clock ticks of /proc/PID/stat): less
// dependent on what else the machine runs than the time on the clock.
double processorMs(qint64 pid)
{
    double ns = 0;
    const QString tasks = QStringLiteral("/proc/%1/task").arg(pid);
    for (const QString &task : QDir(tasks).entryList(QDir::Dirs | QDir::NoDotAndDotDot)) {
        QFile stat(tasks + QLatin1Char('/') + task + QStringLiteral("/schedstat"));
        if (stat.open(QIODevice::ReadOnly))
            ns += stat.readAll().split(' ').value(0).toDouble();
    }
    return ns / 1e6;
}

// Starts `program` and waits for its main window (and, when asked, for another
// window and for its report of the media length shown); -1 for what did not
// come within the time limit.
Times timeStart(xcb_connection_t *x, const QString &program, const QStringList &arguments,
                const QProcessEnvironment &environment, const QByteArray &title, bool waitForOther,
                bool waitForLength)
{
    while (xcb_generic_event_t *stale = xcb_poll_for_event(x))
        std::free(stale);
    QProcess process;
    process.setProcessEnvironment(environment);
    process.setStandardOutputFile(QProcess::nullDevice());
    process.setReadChannel(QProcess::StandardError);
    QElapsedTimer timer;
    timer.start();
    const qint64 startNs = monotonicNs();
    process.start(program, arguments);
    Times times;
    const QByteArray lengthMark = QByteArrayLiteral("quillory-startup media-length-shown ");
    const QByteArray frameMark = QByteArrayLiteral("quillory-startup first-frame ");
    const auto done = [&] {
        return times.windowMs >= 0 && (!waitForOther || times.otherMs >= 0) &&
               (!waitForLength || times.lengthMs >= 0);
    };
    while (timer.elapsed() < 20000 && !done()) {
        while (process.canReadLine()) {
            const QByteArray line = process.readLine();
            if (line.startsWith(lengthMark))
                times.lengthMs =
                    double(line.mid(lengthMark.size()).trimmed().toLongLong() - startNs) / 1e6;
            else if (line.startsWith(frameMark))
                times.frameMs =
                    double(line.mid(frameMark.size()).trimmed().toLongLong() - startNs) / 1e6;
            else if (!line.startsWith("quillory-startup "))
                std::fputs(line.constData(), stderr);
        }
        xcb_generic_event_t *event = xcb_poll_for_event(x);
        if (event == nullptr) {
            if (process.state() == QProcess::NotRunning)
                break;
            process.waitForReadyRead(1); // also lets QProcess see its child
            continue;
        }
        if ((event->response_type & 0x7f) == XCB_MAP_NOTIFY && times.windowMs < 0) {
            const auto *map = reinterpret_cast<xcb_map_notify_event_t *>(event);
            if (!map->override_redirect && windowTitle(x, map->window) == title) {
                times.windowMs = double(timer.nsecsElapsed()) / 1e6;
                times.cpuMs = processorMs(process.processId());
            }
        }
        if ((event->response_type & 0x7f) == XCB_MAP_NOTIFY && times.otherMs < 0) {
            const auto *map = reinterpret_cast<xcb_map_notify_event_t *>(event);
            if (!map->override_redirect && windowTitle(x, map->window) != title)
                times.otherMs = double(timer.nsecsElapsed()) / 1e6;
        }
        std::free(event);
    }
    process.terminate();
    if (!process.waitForFinished(5000)) {
        process.kill();
        process.waitForFinished(5000);
    }
    return times;
}

double median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return values.empty() ? 0 : values[values.size() / 2];
}

QByteArray loadAverage()
{
    QFile file(QStringLiteral("/proc/loadavg"));
    return file.open(QIODevice::ReadOnly) ? file.readAll().trimmed() : QByteArray("unknown");
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    QStringList positional;
    bool desktop = false;
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--desktop") == 0)
            desktop = true;
        else
            positional << QString::fromLocal8Bit(argv[i]);
    }
    const int repetitions = positional.size() > 0 ? std::max(1, positional[0].toInt()) : 7;
    const QString media = positional.value(1);
    QProcessEnvironment baseEnvironment = QProcessEnvironment::systemEnvironment();
    DesktopServices services;
    if (desktop) {
        const QString why = services.start(baseEnvironment);
        if (!why.isEmpty()) {
            std::fprintf(stderr, "no desktop services: %s\n", qPrintable(why));
            return 1;
        }
        baseEnvironment = services.environment();
        std::printf("with a sound server and a session bus of the benchmark's own\n");
    }
    const QString folder = QCoreApplication::applicationDirPath();
    const QString quillory = folder + QStringLiteral("/quillory");
    const QString bare = folder + QStringLiteral("/bench_bare_window");
    const QByteArray title = QByteArrayLiteral("Quillory");

    XDisplay display;
    display.connection = xcb_connect(nullptr, nullptr);
    if (xcb_connection_has_error(display.connection)) {
        std::fprintf(stderr, "no X display\n");
        return 1;
    }
    xcb_screen_t *screen = xcb_setup_roots_iterator(xcb_get_setup(display.connection)).data;
    const uint32_t mask = XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY;
    xcb_change_window_attributes(display.connection, screen->root, XCB_CW_EVENT_MASK, &mask);
    xcb_flush(display.connection);

    // The program runs in a fresh program folder of its own each time, filled
    // (and written out to the disk) before the first start is timed, as the
    // folder of an installed program is long before it starts.
    std::vector<std::unique_ptr<QTemporaryDir>> homes;
    for (int i = 0; i < repetitions; ++i) {
        homes.push_back(std::make_unique<QTemporaryDir>());
        quillory::ProgramFolder::populateFrom(folder, homes.back()->path());
    }
    ::sync();
    std::printf("load average at the start: %s\n", loadAverage().constData());
    std::vector<double> programMs, bareMs, lengthMs, programCpuMs, bareCpuMs, editorMs, frameMs,
        textMs, textCpuMs;
    for (int i = 0; i < repetitions; ++i) {
        QProcessEnvironment environment = baseEnvironment;
        environment.insert(QStringLiteral("QUILLORY_HOME"), homes[size_t(i)]->path());
        environment.insert(QStringLiteral("QUILLORY_STARTUP_MARKS"), QStringLiteral("1"));
        const QStringList arguments = media.isEmpty() ? QStringList() : QStringList{media};
        Times p, b, t;
        const auto runProgram = [&] {
            p = timeStart(display.connection, quillory, arguments, environment, title, true,
                          !media.isEmpty());
        };
        const auto runBare = [&] {
            b = timeStart(display.connection, bare, {}, environment, title, false, false);
        };
        const auto runText = [&] {
            t = timeStart(display.connection, bare, {QStringLiteral("--menu-and-text")},
                          environment, title, false, false);
        };
        const std::function<void()> runs[] = {runProgram, runBare, runText};
        for (int k = 0; k < 3; ++k)
            runs[(i + k) % 3]();
        if (p.windowMs < 0 || p.otherMs < 0 || b.windowMs < 0 || t.windowMs < 0 ||
            (!media.isEmpty() && p.lengthMs < 0)) {
            std::fprintf(stderr,
                         "repetition %d: a window or the media length did not appear (program "
                         "%.1f, its editor %.1f, bare window %.1f, window with text %.1f, media "
                         "length %.1f ms)\n",
                         i + 1, p.windowMs, p.otherMs, b.windowMs, t.windowMs, p.lengthMs);
            return 1;
        }
        programMs.push_back(p.windowMs);
        bareMs.push_back(b.windowMs);
        programCpuMs.push_back(p.cpuMs);
        bareCpuMs.push_back(b.cpuMs);
        textMs.push_back(t.windowMs);
        textCpuMs.push_back(t.cpuMs);
        editorMs.push_back(p.otherMs);
        if (p.frameMs >= 0)
            frameMs.push_back(p.frameMs);
        std::printf("repetition %d: program %.1f ms (processor %.1f ms), bare window %.1f ms "
                    "(processor %.1f ms), window with text %.1f ms (processor %.1f ms), first "
                    "frame %.1f ms, editor %.1f ms",
                    i + 1, p.windowMs, p.cpuMs, b.windowMs, b.cpuMs, t.windowMs, t.cpuMs, p.frameMs,
                    p.otherMs);
        if (!media.isEmpty()) {
            lengthMs.push_back(p.lengthMs);
            std::printf(", media length shown %.1f ms", p.lengthMs);
        }
        std::printf("\n");
    }
    const double p = median(programMs), b = median(bareMs);
    std::printf("process start to window mapped, median of %d: program %.1f ms, bare window "
                "%.1f ms, ratio %.2f\n",
                repetitions, p, b, p / b);
    const double pc = median(programCpuMs), bc = median(bareCpuMs);
    std::printf("processor time of all threads until then, median: program %.1f ms, bare window "
                "%.1f ms, ratio %.2f\n",
                pc, bc, pc / bc);
    const double t = median(textMs), tc = median(textCpuMs);
    std::printf("the window with a menu bar and text: %.1f ms (processor %.1f ms), ratio to the "
                "bare window %.2f (processor %.2f); the program against it %.2f\n",
                t, tc, t / b, tc / bc, p / t);
    // Each repetition starts the two within seconds of each other, so their
    // ratio there is less moved by what the machine does from one minute to
    // the next than the ratio of the medians.
    std::vector<double> pairedRatios;
    for (size_t i = 0; i < programMs.size(); ++i)
        pairedRatios.push_back(programMs[i] / textMs[i]);
    std::printf("the program against the window with text within each repetition, median: %.2f\n",
                median(pairedRatios));
    std::printf("process start to the player's first frame, median: %.1f ms\n", median(frameMs));
    std::printf("process start to the editor window mapped, median: %.1f ms\n", median(editorMs));
    if (!media.isEmpty())
        std::printf("process start to the media length shown, median: %.1f ms\n", median(lengthMs));
    std::printf("load average at the end: %s\n", loadAverage().constData());
    return 0;
}
