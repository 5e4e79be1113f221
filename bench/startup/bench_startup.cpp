// Start-up to the player window shown: builds the real composition (libmpv
// device, Qt services), runs the start-up sequence and waits until the window
// is exposed. Run under Xvfb or any display; prints median and max of N runs.
#include "platform/files/program_folder.h"
#include "platform/mpv/mpv_media_engine.h"
#include "platform/services/qt_services.h"
#include "player/form1.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QTemporaryDir>
#include <QTest>
#include <algorithm>
#include <clocale>
#include <cstdio>
#include <vector>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    std::setlocale(LC_NUMERIC, "C");
    const int runs = argc > 1 ? std::max(1, atoi(argv[1])) : 20;
    QTemporaryDir home;
    quillory::ProgramFolder::populateFrom(QCoreApplication::applicationDirPath(), home.path());
    quillory::ProgramFolder::set(home.path());

    quillory::QtMessageBoxes messages;
    quillory::QtInputBoxes inputs;
    quillory::QtFileDialogs dialogs;
    quillory::X11WindowSwitcher switcher;
    quillory::SystemLocaleInfo locale;
    const quillory::Services services{&messages, &inputs, &dialogs, &switcher, &locale};

    std::vector<double> ms;
    for (int i = 0; i < runs; ++i) {
        QElapsedTimer timer;
        timer.start();
        quillory::MediaControl media(std::make_unique<quillory::MpvMediaEngine>());
        Form1 form(media, services);
        form.Form_Load(QString());
        if (!QTest::qWaitForWindowExposed(&form, 5000)) {
            std::fprintf(stderr, "the window was not shown\n");
            return 1;
        }
        ms.push_back(static_cast<double>(timer.nsecsElapsed()) / 1e6);
        form.hide();
    }
    std::sort(ms.begin(), ms.end());
    std::printf(
        "start-up to player window shown (%d runs, platform %s): median %.1f ms, max %.1f ms\n",
        runs, qPrintable(QGuiApplication::platformName()), ms[ms.size() / 2], ms.back());
    return 0;
}
