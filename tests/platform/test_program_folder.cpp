#include "platform/files/program_folder.h"

#include <QDir>
#include <QFile>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QtTest>

using namespace quillory;

class TestProgramFolder : public QObject {
    Q_OBJECT

    static void touch(const QString &path, const QByteArray &bytes = "x")
    {
        QDir().mkpath(QFileInfo(path).absolutePath());
        QFile f(path);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write(bytes);
    }

private slots:
    void resolutionOrder()
    {
        QTemporaryDir shipped, home, user;
        touch(shipped.path() + "/Lang/English.lng", "shipped");
        touch(shipped.path() + "/Files/play.jpg");
        QStandardPaths::setTestModeEnabled(true);

        // 1. QUILLORY_HOME, given the shipped files it lacks but keeping its own.
        touch(home.path() + "/Lang/English.lng", "mine");
        qputenv("QUILLORY_HOME", home.path().toUtf8());
        QCOMPARE(ProgramFolder::resolve(shipped.path()), home.path());
        QVERIFY(QFileInfo::exists(home.path() + "/Files/play.jpg"));
        QFile own(home.path() + "/Lang/English.lng");
        QVERIFY(own.open(QIODevice::ReadOnly));
        QCOMPARE(own.readAll(), QByteArray("mine"));

        // 2. The executable's folder when it is writable and holds Lang/.
        qunsetenv("QUILLORY_HOME");
        QCOMPARE(ProgramFolder::resolve(shipped.path()), shipped.path());

        // 3. Otherwise a per-user folder, filled with the shipped files.
        QTemporaryDir bare;
        touch(bare.path() + "/Files/stop.jpg");
        const QString perUser = ProgramFolder::resolve(bare.path());
        QVERIFY(perUser != bare.path());
        QVERIFY(QFileInfo::exists(perUser + "/Files/stop.jpg"));
        QDir(perUser).removeRecursively();
    }

    // An installed program: <prefix>/bin/quillory with its files in
    // <prefix>/share/quillory; the per-user folder is filled from there.
    void installedProgramUsesThePerUserFolder()
    {
        QTemporaryDir prefix;
        const QString bin = prefix.path() + "/bin";
        QVERIFY(QDir().mkpath(bin));
        touch(prefix.path() + "/share/quillory/Lang/Deutsch.lng", "installed");
        touch(prefix.path() + "/share/quillory/Files/bac.jpg");
        touch(prefix.path() + "/share/quillory/Hilfe.html");
        QCOMPARE(ProgramFolder::shippedFolder(bin), prefix.path() + "/share/quillory");
        // A build folder keeps its own files even beside a share/quillory.
        touch(bin + "/Lang/English.lng");
        QCOMPARE(ProgramFolder::shippedFolder(bin), bin);
        QVERIFY(QDir(bin + "/Lang").removeRecursively());

        QStandardPaths::setTestModeEnabled(true);
        qunsetenv("QUILLORY_HOME");
        const QString perUser = ProgramFolder::resolve(bin);
        QVERIFY(!perUser.startsWith(prefix.path()));
        QFile lang(perUser + "/Lang/Deutsch.lng");
        QVERIFY(lang.open(QIODevice::ReadOnly));
        QCOMPARE(lang.readAll(), QByteArray("installed"));
        QVERIFY(QFileInfo::exists(perUser + "/Files/bac.jpg"));
        QVERIFY(QFileInfo::exists(perUser + "/Hilfe.html"));
        QDir(perUser).removeRecursively();
    }

    void filesAreJoinedWithOneSlash()
    {
        ProgramFolder::set(QStringLiteral("/srv/quillory/"));
        QCOMPARE(ProgramFolder::path(), QStringLiteral("/srv/quillory"));
        QCOMPARE(ProgramFolder::file("Quillory.ini"), QStringLiteral("/srv/quillory/Quillory.ini"));
    }
};

QTEST_GUILESS_MAIN(TestProgramFolder)
#include "test_program_folder.moc"
