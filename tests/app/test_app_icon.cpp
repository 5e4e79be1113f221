// The program's icon taken straight from the installed hicolor pictures.
#include "app/app_icon.h"

#include <QApplication>
#include <QDir>
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
        QTemporaryDir empty, user;
        picture(user.path(), 16, QStringLiteral("org.test.Shown"));
        picture(user.path(), 48, QStringLiteral("org.test.Shown"));
        QWidget window;
        window.show();
        QVERIFY(window.windowHandle() != nullptr);
        QVERIFY(window.windowHandle()->icon().isNull());
        // Nothing installed: no icon, and the caller may ask the icon theme.
        QVERIFY(!setInstalledAppIcon(QStringLiteral("org.test.Shown"), {empty.path()}));
        QVERIFY(QApplication::windowIcon().isNull());
        QVERIFY(setInstalledAppIcon(QStringLiteral("org.test.Shown"), {user.path()}));
        const QList<QSize> sizes{QSize(16, 16), QSize(48, 48)};
        QCOMPARE(QApplication::windowIcon().availableSizes(), sizes);
        QCOMPARE(window.windowHandle()->icon().availableSizes(), sizes);
        // A later search that finds nothing leaves the icon as it is.
        QVERIFY(!setInstalledAppIcon(QStringLiteral("org.test.Nowhere"), {empty.path()}));
        QCOMPARE(window.windowHandle()->icon().availableSizes(), sizes);
    }
};

QTEST_MAIN(TestAppIcon)
#include "test_app_icon.moc"
