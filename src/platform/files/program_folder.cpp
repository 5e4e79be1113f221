#include "program_folder.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>

namespace quillory {

namespace {
QString &current()
{
    static QString folder;
    return folder;
}
} // namespace

QString ProgramFolder::shippedFolder(const QString &executableDir)
{
    const QString installed = QDir::cleanPath(executableDir + QStringLiteral("/../share/quillory"));
    if (!QFileInfo(executableDir + QStringLiteral("/Lang")).isDir() &&
        QFileInfo(installed + QStringLiteral("/Lang")).isDir())
        return installed;
    return executableDir;
}

QString ProgramFolder::resolve(const QString &executableDir)
{
    const QString shipped = shippedFolder(executableDir);
    const QString home = qEnvironmentVariable("QUILLORY_HOME");
    if (!home.isEmpty()) {
        QDir().mkpath(home);
        populateFrom(shipped, home);
        return QDir(home).absolutePath();
    }
    QFileInfo exeDir(executableDir);
    if (exeDir.isWritable() && QFileInfo(executableDir + QStringLiteral("/Lang")).isDir())
        return QDir(executableDir).absolutePath();
    QString data = QStandardPaths::writableLocation(QStandardPaths::AppDataLocation);
    if (data.isEmpty())
        data = QDir::homePath() + QStringLiteral("/.local/share/Quillory");
    QDir().mkpath(data);
    populateFrom(shipped, data);
    return QDir(data).absolutePath();
}

void ProgramFolder::populateFrom(const QString &shippedDir, const QString &target)
{
    const QStringList shipped = {QStringLiteral("Lang"), QStringLiteral("Files")};
    for (const QString &sub : shipped) {
        QDirIterator it(shippedDir + QLatin1Char('/') + sub, QDir::Files,
                        QDirIterator::Subdirectories);
        while (it.hasNext()) {
            const QString source = it.next();
            const QString relative = QDir(shippedDir).relativeFilePath(source);
            const QString destination = target + QLatin1Char('/') + relative;
            if (QFileInfo::exists(destination))
                continue;
            QDir().mkpath(QFileInfo(destination).absolutePath());
            QFile::copy(source, destination);
        }
    }
    const QStringList pages = QDir(shippedDir).entryList({QStringLiteral("*.html")}, QDir::Files);
    for (const QString &page : pages) {
        const QString destination = target + QLatin1Char('/') + page;
        if (!QFileInfo::exists(destination))
            QFile::copy(shippedDir + QLatin1Char('/') + page, destination);
    }
}

const QString &ProgramFolder::path()
{
    return current();
}

void ProgramFolder::set(const QString &path)
{
    current() = path;
    while (current().size() > 1 && current().endsWith(QLatin1Char('/')))
        current().chop(1);
}

QString ProgramFolder::file(const QString &relative)
{
    return current() + QLatin1Char('/') + relative;
}

} // namespace quillory
