#include "app/application.h"
#include "app/font_warm_up.h"
#include "platform/files/program_folder.h"
#include "platform/instance/running_instance.h"

#include <QApplication>
#include <QFileInfo>
#include <QStringList>
#include <alsa/asoundlib.h>
#include <clocale>
#include <csignal>
#include <string>
#include <sys/stat.h>
#include <vector>

namespace {
// Without a sound card alsa-lib would print its failed probes to stderr.
void quietAlsa(const char *, int, const char *, int, const char *, ...) {}

// Qt reads arguments such as "-reverse" or "-style" as its own options. A
// media file of such a name in the current folder is the user's file: it is
// passed on as "./-reverse", which Qt leaves alone.
std::vector<std::string> filesBeforeQtOptions(int argc, char *argv[])
{
    std::vector<std::string> arguments(argv, argv + argc);
    for (size_t i = 1; i < arguments.size(); ++i) {
        struct stat info {};
        if (arguments[i].size() > 1 && arguments[i][0] == '-' &&
            ::stat(arguments[i].c_str(), &info) == 0 && S_ISREG(info.st_mode))
            arguments[i] = "./" + arguments[i];
    }
    return arguments;
}
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
    std::vector<std::string> arguments = filesBeforeQtOptions(argc, argv);
    std::vector<char *> argumentPointers;
    for (std::string &argument : arguments)
        argumentPointers.push_back(argument.data());
    argumentPointers.push_back(nullptr);
    int argumentCount = argc;
    QApplication app(argumentCount, argumentPointers.data());
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
    const QString mediaArgument = QCoreApplication::arguments().mid(1).join(QLatin1Char(' '));

    // A program already running on this folder opens the file, and this one ends.
    quillory::RunningInstance instance(quillory::ProgramFolder::path());
    if (instance.handOver(mediaArgument.trimmed().isEmpty()
                              ? QString()
                              : QFileInfo(mediaArgument).absoluteFilePath()))
        return 0;
    instance.listen();

    Application quillory([&fonts] { fonts.wait(); });
    QObject::connect(&instance, &quillory::RunningInstance::requested, &app,
                     [&quillory](const QString &path) { quillory.openHandedOver(path); });
    quillory.start(mediaArgument);
    quillory.afterFirstFrame([&instance] { instance.removeEmptyFolder(); });
    return app.exec();
}
