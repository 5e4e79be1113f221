#include "platform/files/program_folder.h"

#include <QCryptographicHash>
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

    static QByteArray contentOf(const QString &path)
    {
        QFile f(path);
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<missing>");
    }

    static QByteArray sha(const QByteArray &bytes)
    {
        return QCryptographicHash::hash(bytes, QCryptographicHash::Sha256).toHex();
    }

    // A shipped folder of one release: Lang/, Files/ and a help page.
    static void ship(const QString &dir, const QByteArray &release)
    {
        touch(dir + "/Lang/English.lng", "English " + release);
        touch(dir + "/Lang/Deutsch.lng", "Deutsch " + release);
        touch(dir + "/Files/play.jpg", "play " + release);
        touch(dir + "/Help.html", "help " + release);
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

    void recordReadsTheSha256sumFormat_data()
    {
        const QByteArray h(64, 'a');
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<bool>("ok");
        QTest::addColumn<int>("entries");
        QTest::newRow("empty") << QByteArray() << true << 0;
        QTest::newRow("text mode") << h + "  Lang/English.lng\n" << true << 1;
        QTest::newRow("binary mode") << h + " *Files/play.jpg\n" + h + "  Help.html" << true << 2;
        QTest::newRow("non-ASCII name") << h + "  Lang/Espa\xc3\xb1ol.lng\n" << true << 1;
        QTest::newRow("short hash") << QByteArray(63, 'a') + "  Help.html\n" << false << 0;
        QTest::newRow("upper-case hash") << QByteArray(64, 'A') + "  Help.html\n" << false << 0;
        QTest::newRow("one space") << h + " Help.html\n" << false << 0;
        QTest::newRow("no name") << h + "  \n" << false << 0;
        QTest::newRow("outside the folder") << h + "  ../Quillory.ini\n" << false << 0;
        QTest::newRow("absolute") << h + "  /etc/passwd\n" << false << 0;
        QTest::newRow("not UTF-8") << h + "  Lang/Espa\xf1ol.lng\n" << false << 0;
        QTest::newRow("one bad line among good")
            << h + "  Help.html\ngarbage\n" + h + "  Aide.html\n"
            << false << 0;
    }

    void recordReadsTheSha256sumFormat()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(bool, ok);
        QFETCH(int, entries);
        bool parsed = !ok;
        const ShippedRecord record = ShippedRecord::parse(bytes, &parsed);
        QCOMPARE(parsed, ok);
        QCOMPARE(record.size(), entries);
        if (ok) {
            // What it writes, it reads back the same.
            bool again = false;
            QCOMPARE(ShippedRecord::parse(record.format(), &again).format(), record.format());
            QVERIFY(again);
        }
    }

    void firstFillRecordsWhatWasShipped()
    {
        QTemporaryDir shipped, folder;
        ship(shipped.path(), "1");
        const ShippedUpdate update = ProgramFolder::populateFrom(shipped.path(), folder.path());
        QCOMPARE(update.added, QStringList({"Files/play.jpg", "Help.html", "Lang/Deutsch.lng",
                                            "Lang/English.lng"}));
        QVERIFY(update.replaced.isEmpty() && update.kept.isEmpty() && update.errors.isEmpty());
        QVERIFY(!update.recordDamaged);
        ShippedRecord::State state;
        const ShippedRecord record =
            ShippedRecord::read(folder.path() + "/" + ShippedRecord::FileName, &state);
        QCOMPARE(state, ShippedRecord::State::Read);
        QCOMPARE(record.size(), 4);
        QCOMPARE(record.hash("Lang/English.lng"), sha("English 1"));

        // A second start with the same release writes nothing.
        const QDateTime longAgo(QDate(2001, 2, 3), QTime(4, 5, 6));
        {
            QFile recordFile(folder.path() + "/" + ShippedRecord::FileName);
            QVERIFY(recordFile.open(QIODevice::ReadWrite));
            QVERIFY(recordFile.setFileTime(longAgo, QFileDevice::FileModificationTime));
        }
        const ShippedUpdate again = ProgramFolder::populateFrom(shipped.path(), folder.path());
        QVERIFY(again.added.isEmpty() && again.replaced.isEmpty() && again.kept.isEmpty());
        QCOMPARE(QFileInfo(folder.path() + "/" + ShippedRecord::FileName).lastModified(), longAgo);
    }

    // A start that finds the shipped files as they were at the last fill
    // (names, sizes, times) trusts the record and reads none of them.
    void anUnchangedShipmentIsNotReadAgain()
    {
        QTemporaryDir shipped, folder;
        ship(shipped.path(), "1");
        ProgramFolder::populateFrom(shipped.path(), folder.path());
        const QString stamp = folder.path() + "/" + ShippedRecord::StampFileName;
        QVERIFY(QFileInfo::exists(stamp));

        // Changed behind the stamp's back (same size, same time): not read.
        const QString help = shipped.path() + "/Help.html";
        const QDateTime shippedAt = QFileInfo(help).lastModified();
        touch(help, "help 9");
        {
            QFile file(help);
            QVERIFY(file.open(QIODevice::ReadWrite));
            QVERIFY(file.setFileTime(shippedAt, QFileDevice::FileModificationTime));
        }
        // A file the user deleted still comes back.
        QVERIFY(QFile::remove(folder.path() + "/Lang/Deutsch.lng"));
        ShippedUpdate update = ProgramFolder::populateFrom(shipped.path(), folder.path());
        QCOMPARE(update.added, QStringList({"Lang/Deutsch.lng"}));
        QVERIFY(update.replaced.isEmpty() && update.errors.isEmpty());
        QCOMPARE(contentOf(folder.path() + "/Help.html"), QByteArray("help 1"));

        // A shipped file with a new time is read, and replaces the untouched copy.
        {
            QFile file(help);
            QVERIFY(file.open(QIODevice::ReadWrite));
            QVERIFY(file.setFileTime(shippedAt.addSecs(2), QFileDevice::FileModificationTime));
        }
        update = ProgramFolder::populateFrom(shipped.path(), folder.path());
        QCOMPARE(update.replaced, QStringList({"Help.html"}));
        QCOMPARE(contentOf(folder.path() + "/Help.html"), QByteArray("help 9"));

        // A damaged stamp only costs a full reading.
        touch(stamp, "not a stamp");
        update = ProgramFolder::populateFrom(shipped.path(), folder.path());
        QVERIFY(update.added.isEmpty() && update.replaced.isEmpty() && update.kept.isEmpty());
        QVERIFY(contentOf(stamp) != QByteArray("not a stamp"));
    }

    // A fill that keeps a file of the user's leaves no stamp: the next start
    // compares again, so a file the user sets back still gets the newer release.
    void aKeptFileLeavesNoStamp()
    {
        QTemporaryDir release1, release2, folder;
        ship(release1.path(), "1");
        ship(release2.path(), "2");
        ProgramFolder::populateFrom(release1.path(), folder.path());
        touch(folder.path() + "/Lang/English.lng", "my English");
        const ShippedUpdate update = ProgramFolder::populateFrom(release2.path(), folder.path());
        QCOMPARE(update.kept, QStringList({"Lang/English.lng"}));
        QVERIFY(!QFileInfo::exists(folder.path() + "/" + ShippedRecord::StampFileName));
        touch(folder.path() + "/Lang/English.lng", "English 1");
        const ShippedUpdate again = ProgramFolder::populateFrom(release2.path(), folder.path());
        QCOMPARE(again.replaced, QStringList({"Lang/English.lng"}));
        QVERIFY(QFileInfo::exists(folder.path() + "/" + ShippedRecord::StampFileName));
    }

    // A newer release reaches a folder the user has worked in: new and untouched
    // shipped files arrive, everything the user changed or made stays.
    void upgradeReplacesOnlyWhatTheUserNeverTouched()
    {
        QTemporaryDir release1, release2, folder;
        const QString f = folder.path();
        ship(release1.path(), "1");
        ProgramFolder::populateFrom(release1.path(), f);

        touch(f + "/Lang/Deutsch.lng", "Deutsch, by the user");
        touch(f + "/Lang/Mine.lng", "the user's own language");
        touch(f + "/Lang/Italiano.lng", "the user's Italian, before one was shipped");
        touch(f + "/Quillory.ini", "[settings]");
        touch(f + "/Bookmarks/talk.bkm", "12.5");
        touch(f + "/Files/words.dic", "personal words");
        QFile::remove(f + "/Files/play.jpg"); // deleted by the user: shipped again

        ship(release2.path(), "2");
        touch(release2.path() + "/Lang/Italiano.lng", "Italiano 2");
        touch(release2.path() + "/Files/stop.jpg", "stop 2");
        const ShippedUpdate update = ProgramFolder::populateFrom(release2.path(), f);

        QCOMPARE(update.added, QStringList({"Files/play.jpg", "Files/stop.jpg"}));
        QCOMPARE(update.replaced, QStringList({"Help.html", "Lang/English.lng"}));
        QCOMPARE(update.kept, QStringList({"Lang/Deutsch.lng", "Lang/Italiano.lng"}));
        QVERIFY(update.errors.isEmpty());
        QCOMPARE(contentOf(f + "/Lang/English.lng"), QByteArray("English 2"));
        QCOMPARE(contentOf(f + "/Help.html"), QByteArray("help 2"));
        QCOMPARE(contentOf(f + "/Files/stop.jpg"), QByteArray("stop 2"));
        QCOMPARE(contentOf(f + "/Files/play.jpg"), QByteArray("play 2"));
        QCOMPARE(contentOf(f + "/Lang/Deutsch.lng"), QByteArray("Deutsch, by the user"));
        QCOMPARE(contentOf(f + "/Lang/Italiano.lng"),
                 QByteArray("the user's Italian, before one was shipped"));
        QCOMPARE(contentOf(f + "/Lang/Mine.lng"), QByteArray("the user's own language"));
        QCOMPARE(contentOf(f + "/Quillory.ini"), QByteArray("[settings]"));
        QCOMPARE(contentOf(f + "/Bookmarks/talk.bkm"), QByteArray("12.5"));
        QCOMPARE(contentOf(f + "/Files/words.dic"), QByteArray("personal words"));

        // The user's changes also outlast the release after.
        QTemporaryDir release3;
        ship(release3.path(), "3");
        const ShippedUpdate third = ProgramFolder::populateFrom(release3.path(), f);
        QVERIFY(third.kept.contains("Lang/Deutsch.lng"));
        QCOMPARE(contentOf(f + "/Lang/Deutsch.lng"), QByteArray("Deutsch, by the user"));
        QCOMPARE(contentOf(f + "/Lang/English.lng"), QByteArray("English 3"));
    }

    // A folder filled before the record existed: only files that are exactly
    // the shipped ones are known to be untouched.
    void folderWithoutARecordKeepsWhatDiffers()
    {
        QTemporaryDir release, folder;
        ship(release.path(), "2");
        touch(folder.path() + "/Lang/English.lng", "English 2");
        touch(folder.path() + "/Lang/Deutsch.lng", "Deutsch 1");
        const ShippedUpdate update = ProgramFolder::populateFrom(release.path(), folder.path());
        QCOMPARE(update.kept, QStringList({"Lang/Deutsch.lng"}));
        QCOMPARE(update.added, QStringList({"Files/play.jpg", "Help.html"}));
        QCOMPARE(contentOf(folder.path() + "/Lang/Deutsch.lng"), QByteArray("Deutsch 1"));
        const ShippedRecord record =
            ShippedRecord::read(folder.path() + "/" + ShippedRecord::FileName);
        QCOMPARE(record.hash("Lang/English.lng"), sha("English 2"));
        QVERIFY(record.hash("Lang/Deutsch.lng").isEmpty());
    }

    // A damaged record vouches for nothing: every file that differs from the
    // shipped one is kept, and a sound record is written for the next release.
    void damagedRecordKeepsEveryDifferingFile()
    {
        QTemporaryDir release1, release2, folder;
        const QString f = folder.path();
        ship(release1.path(), "1");
        ProgramFolder::populateFrom(release1.path(), f);
        const QString recordPath = f + "/" + ShippedRecord::FileName;
        QByteArray damaged = contentOf(recordPath);
        damaged.truncate(damaged.size() / 2 + 3);
        touch(recordPath, damaged + "\x01\xff garbage");

        ship(release2.path(), "2");
        const ShippedUpdate update = ProgramFolder::populateFrom(release2.path(), f);
        QVERIFY(update.recordDamaged);
        QVERIFY(update.replaced.isEmpty());
        QCOMPARE(update.kept.size(), 4);
        QCOMPARE(contentOf(f + "/Lang/English.lng"), QByteArray("English 1"));
        ShippedRecord::State state;
        QCOMPARE(ShippedRecord::read(recordPath, &state).size(), 0);
        QCOMPARE(state, ShippedRecord::State::Read);

        // A folder whose record is a folder is left alone too.
        QTemporaryDir odd;
        touch(odd.path() + "/Help.html", "the user's notes");
        QVERIFY(QDir().mkpath(odd.path() + "/" + ShippedRecord::FileName));
        const ShippedUpdate blocked = ProgramFolder::populateFrom(release2.path(), odd.path());
        QVERIFY(blocked.recordDamaged);
        QCOMPARE(blocked.errors.size(), 1);
        QCOMPARE(contentOf(odd.path() + "/Help.html"), QByteArray("the user's notes"));
        QCOMPARE(contentOf(odd.path() + "/Lang/English.lng"), QByteArray("English 2"));
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
