#include "app/application.h"
#include "app/font_warm_up.h"
#include "platform/files/program_folder.h"

#include <QApplication>
#include <QStringList>
#include <alsa/asoundlib.h>
#include <clocale>
#include <csignal>

namespace {
// Without a sound card alsa-lib would print its failed probes to stderr.
void quietAlsa(const char *, int, const char *, int, const char *, ...) {}
} // namespace

int main(int argc, char *argv[])
{
    // Past a file-size limit (ulimit -f) a write fails with EFBIG and is
    // reported like any failed write, instead of the signal ending the program.
    std::signal(SIGXFSZ, SIG_IGN);
    snd_lib_error_set_handler(quietAlsa);
    // The application object sets the locale from the environment; the media
    // engine then needs C numbers. Both come before the first thread starts,
    // since setlocale is not thread safe.
    QApplication app(argc, argv);
    std::setlocale(LC_NUMERIC, "C");
    FontWarmUp fonts;
    QApplication::setApplicationName(QStringLiteral("Quillory"));
    QApplication::setOrganizationName(QStringLiteral("Quillory"));
    // Ties the windows to the launcher entry and its icon.
    QGuiApplication::setDesktopFileName(QStringLiteral("org.quillory.Quillory"));
    // The icon follows the player's first frame (Application::start).
    QApplication::setQuitOnLastWindowClosed(false);

    quillory::ProgramFolder::set(
        quillory::ProgramFolder::resolve(QCoreApplication::applicationDirPath()));

    // One media file path; a name with blanks may arrive split in several words.
    const QStringList arguments = QCoreApplication::arguments().mid(1);
    fonts.wait();
    Application quillory;
    quillory.start(arguments.join(QLatin1Char(' ')));
    return app.exec();
}
