// The program's icon taken straight from the installed hicolor pictures.
#include "app/app_icon.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QTemporaryDir>
#include <QWidget>
#include <QWindow>
#include <QtTest>

class TestAppIcon : public QObject {
    Q_OBJECT

    static void picture(const QString &root, int size, const QString &name)
    {
        const QString folder = QStringLiteral("%1/icons/hicolor/%2x%2/apps").arg(root).arg(size);
        QVERIFY(QDir().mkpath(folder));
        QImage image(size, size, QImage::Format_ARGB32);
        image.fill(Qt::red);
        QVERIFY(image.save(folder + QLatin1Char('/') + name + QStringLiteral(".png")));
    }

private slots:
    void takesEverySizeOfTheFirstFolderThatHasOne()
    {
        QTemporaryDir empty, user, system;
        picture(user.path(), 16, QStringLiteral("org.test.App"));
        picture(user.path(), 48, QStringLiteral("org.test.App"));
        picture(user.path(), 32, QStringLiteral("org.test.Other"));
        picture(system.path(), 256, QStringLiteral("org.test.App"));
        const QIcon icon = installedAppIcon(QStringLiteral("org.test.App"),
                                            {empty.path(), user.path(), system.path()});
        QVERIFY(!icon.isNull());
        QCOMPARE(icon.availableSizes(), (QList<QSize>{QSize(16, 16), QSize(48, 48)}));
    }

    void nothingInstalledGivesNoIcon()
    {
        QTemporaryDir empty;
        QVERIFY(installedAppIcon(QStringLiteral("org.test.App"), {empty.path()}).isNull());
        QVERIFY(installedAppIcon(QStringLiteral("org.test.App"), {}).isNull());
        // A folder of that name is no picture.
        QVERIFY(QDir().mkpath(empty.path() +
                              QStringLiteral("/icons/hicolor/16x16/apps/org.test.App.png")));
        QVERIFY(installedAppIcon(QStringLiteral("org.test.App"), {empty.path()}).isNull());
    }

    void theShareFolderBesideTheProgramIsSearchedLast()
    {
        const QStringList folders = appIconDataFolders(QStringLiteral("/opt/quillory/bin"));
        QVERIFY(!folders.isEmpty());
        QCOMPARE(folders.last(), QStringLiteral("/opt/quillory/share"));
    }

    // Set once the player is on screen: the windows already shown take it over.
    void windowsAlreadyShownTakeTheInstalledPicture()
    {
        QTemporaryDir user;
        picture(user.path(), 16, QStringLiteral("org.test.Shown"));
        picture(user.path(), 48, QStringLiteral("org.test.Shown"));
        QWidget window;
        window.show();
        QVERIFY(window.windowHandle() != nullptr);
        QVERIFY(window.windowHandle()->icon().isNull());
        setAppIcon(QStringLiteral("org.test.Shown"), {user.path()});
        const QList<QSize> sizes{QSize(16, 16), QSize(48, 48)};
        QCOMPARE(QApplication::windowIcon().availableSizes(), sizes);
        QCOMPARE(window.windowHandle()->icon().availableSizes(), sizes);
    }

    void withNoInstalledPictureTheIconThemeIsAsked()
    {
        QTemporaryDir themes, empty;
        const QString theme = themes.path() + QStringLiteral("/testtheme");
        QVERIFY(QDir().mkpath(theme + QStringLiteral("/16x16/apps")));
        QFile index(theme + QStringLiteral("/index.theme"));
        QVERIFY(index.open(QIODevice::WriteOnly));
        index.write("[Icon Theme]\nName=testtheme\nDirectories=16x16/apps\n\n"
                    "[16x16/apps]\nSize=16\nType=Fixed\n");
        index.close();
        QImage image(16, 16, QImage::Format_ARGB32);
        image.fill(Qt::blue);
        QVERIFY(image.save(theme + QStringLiteral("/16x16/apps/org.test.Themed.png")));
        QIcon::setThemeSearchPaths({themes.path()});
        QIcon::setThemeName(QStringLiteral("testtheme"));
        setAppIcon(QStringLiteral("org.test.Themed"), {empty.path()});
        QVERIFY(!QApplication::windowIcon().isNull());
        // Neither installed nor in the theme: no icon rather than a stale one.
        setAppIcon(QStringLiteral("org.test.Nowhere"), {empty.path()});
        QVERIFY(QApplication::windowIcon().isNull());
    }
};

QTEST_MAIN(TestAppIcon)
#include "test_app_icon.moc"
