#include "app_icon.h"

#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

QIcon installedAppIcon(const QString &name, const QStringList &dataFolders)
{
    static const char *const sizes[] = {"16x16", "24x24",   "32x32",  "48x48",
                                        "64x64", "128x128", "256x256"};
    for (const QString &folder : dataFolders) {
        const QString theme = folder + QStringLiteral("/icons/hicolor/");
        QIcon icon;
        for (const char *size : sizes) {
            const QString file = theme + QLatin1String(size) + QStringLiteral("/apps/") + name +
                                 QStringLiteral(".png");
            if (QFileInfo(file).isFile())
                icon.addFile(file);
        }
        const QString scalable =
            theme + QStringLiteral("scalable/apps/") + name + QStringLiteral(".svg");
        if (icon.isNull() && QFileInfo(scalable).isFile())
            icon.addFile(scalable);
        if (!icon.isNull())
            return icon;
    }
    return QIcon();
}

QStringList appIconDataFolders(const QString &programFolder)
{
    QStringList folders = QStandardPaths::standardLocations(QStandardPaths::GenericDataLocation);
    const QString beside = QDir::cleanPath(programFolder + QStringLiteral("/../share"));
    if (!folders.contains(beside))
        folders.append(beside);
    return folders;
}

bool setInstalledAppIcon(const QString &name, const QStringList &dataFolders)
{
    const QIcon icon = installedAppIcon(name, dataFolders);
    if (icon.isNull())
        return false;
    QApplication::setWindowIcon(icon);
    return true;
}
