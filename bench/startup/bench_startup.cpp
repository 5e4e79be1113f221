// Start-up to a window on screen, the program against a bare Qt window, side by
// side in one run: each repetition starts both (in alternating order) and times
// from the process start to the X server mapping its first top-level window.
// Run on an X display (e.g. under xvfb-run); prints each repetition and medians.
//
//   bench_startup [REPETITIONS=7] [MEDIA_FILE]
// With a media file, the program is started with it on its command line.
#include "platform/files/program_folder.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QProcess>
#include <QTemporaryDir>
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <memory>
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

// Milliseconds from the process start to its first top-level window being
// mapped; negative when none was mapped within the time limit.
double timeToWindow(xcb_connection_t *x, const QString &program, const QStringList &arguments,
                    const QProcessEnvironment &environment)
{
    while (xcb_generic_event_t *stale = xcb_poll_for_event(x))
        std::free(stale);
    QProcess process;
    process.setProcessEnvironment(environment);
    process.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    process.setStandardOutputFile(QProcess::nullDevice());
    QElapsedTimer timer;
    timer.start();
    process.start(program, arguments);
    double ms = -1;
    while (timer.elapsed() < 20000 && ms < 0) {
        xcb_generic_event_t *event = xcb_poll_for_event(x);
        if (event == nullptr) {
            if (process.state() == QProcess::NotRunning)
                break;
            process.waitForFinished(1); // also lets QProcess see its child
            continue;
        }
        if ((event->response_type & 0x7f) == XCB_MAP_NOTIFY) {
            const auto *map = reinterpret_cast<xcb_map_notify_event_t *>(event);
            if (!map->override_redirect)
                ms = double(timer.nsecsElapsed()) / 1e6;
        }
        std::free(event);
    }
    process.terminate();
    if (!process.waitForFinished(5000)) {
        process.kill();
        process.waitForFinished(5000);
    }
    return ms;
}

double median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return values.empty() ? 0 : values[values.size() / 2];
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    const int repetitions = argc > 1 ? std::max(1, std::atoi(argv[1])) : 7;
    const QString media = argc > 2 ? QString::fromLocal8Bit(argv[2]) : QString();
    const QString folder = QCoreApplication::applicationDirPath();
    const QString quillory = folder + QStringLiteral("/quillory");
    const QString bare = folder + QStringLiteral("/bench_bare_window");

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

    // The program runs in a fresh program folder of its own each time.
    std::vector<double> programMs, bareMs;
    for (int i = 0; i < repetitions; ++i) {
        QTemporaryDir home;
        quillory::ProgramFolder::populateFrom(folder, home.path());
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(QStringLiteral("QUILLORY_HOME"), home.path());
        const QStringList arguments = media.isEmpty() ? QStringList() : QStringList{media};
        double p = 0, b = 0;
        if (i % 2 == 0) {
            p = timeToWindow(display.connection, quillory, arguments, environment);
            b = timeToWindow(display.connection, bare, {}, environment);
        } else {
            b = timeToWindow(display.connection, bare, {}, environment);
            p = timeToWindow(display.connection, quillory, arguments, environment);
        }
        if (p < 0 || b < 0) {
            std::fprintf(stderr, "repetition %d: a window did not appear\n", i + 1);
            return 1;
        }
        programMs.push_back(p);
        bareMs.push_back(b);
        std::printf("repetition %d: program %.1f ms, bare window %.1f ms\n", i + 1, p, b);
    }
    const double p = median(programMs), b = median(bareMs);
    std::printf("process start to window mapped, median of %d: program %.1f ms, bare window "
                "%.1f ms, ratio %.2f\n",
                repetitions, p, b, p / b);
    return 0;
}
