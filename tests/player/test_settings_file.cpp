#include "platform/files/settings_file.h"
#include "support/program_home.h"

#include <QFile>
#include <QtTest>
#include <unistd.h>

using namespace quillory;

class TestSettingsFile : public QObject {
    Q_OBJECT
private slots:
    void missingFileGivesDefaults()
    {
        test::ProgramHome home(false);
        const PlayerSettings s = SettingsFile::read(home.file("Quillory.ini"));
        QVERIFY(s == PlayerSettings());
        QVERIFY(s.showFullPath);
        QCOMPARE(s.editorHidden, std::int16_t(0));
    }

    void writtenFileIsExactAndReadsBack()
    {
        test::ProgramHome home(false);
        PlayerSettings s;
        s.languageFile = QStringLiteral("Italiano.lng");
        s.volumeLevel = QStringLiteral("32767");
        s.volumeKnobTop = 1365.5f;
        s.jumpSeconds = 5;
        s.pauseRewindSeconds = 3;
        s.showFullPath = false;
        s.editorFolder = QStringLiteral("/home/ann/Trascrizioni, 2026");
        s.editorHidden = 1;
        QVERIFY(SettingsFile::write(home.file("Quillory.ini"), s).ok);
        QCOMPARE(home.read("Quillory.ini"),
                 QByteArray("Italiano.lng\r\n32767\r\n1365.5\r\n5\r\n3\r\n0\r\n"
                            "/home/ann/Trascrizioni, 2026\r\n1\r\n"));
        QVERIFY(SettingsFile::read(home.file("Quillory.ini")) == s);
    }

    void lineSixAndEight_data()
    {
        QTest::addColumn<QString>("line6");
        QTest::addColumn<bool>("fullPath");
        QTest::newRow("one sets") << "1" << true;
        QTest::newRow("zero clears") << "0" << false;
        QTest::newRow("two clears") << "2" << false;
        QTest::newRow("empty sets") << "" << true;
        QTest::newRow("text sets") << "yes" << true;
    }
    void lineSixAndEight()
    {
        QFETCH(QString, line6);
        QFETCH(bool, fullPath);
        const QStringList lines = {"English.lng", "", "0", "0", "0", line6, "", "7"};
        const PlayerSettings s = SettingsFile::parse(lines);
        QCOMPARE(s.showFullPath, fullPath);
        QVERIFY(s.editorHidden != 0);
    }

    void numbersAreRoundedAndBounded()
    {
        const PlayerSettings s =
            SettingsFile::parse({"x", "v", "12.5abc", "2.5", "99999", "1", "f", "0"});
        QCOMPARE(s.volumeKnobTop, 12.5f);
        QCOMPARE(s.jumpSeconds, 2);                      // half to even
        QCOMPARE(s.pauseRewindSeconds, std::int16_t(0)); // out of 16-bit range: default
        QCOMPARE(s.editorHidden, std::int16_t(0));
    }

    void shortFileFillsTheRestWithDefaults()
    {
        test::ProgramHome home(false);
        home.write("Quillory.ini", "Deutsch.lng\n50\n");
        const PlayerSettings s = SettingsFile::read(home.file("Quillory.ini"));
        QCOMPARE(s.languageFile, QStringLiteral("Deutsch.lng"));
        QCOMPARE(s.volumeLevel, QStringLiteral("50"));
        QCOMPARE(s.jumpSeconds, 0);
        QVERIFY(s.showFullPath);
    }

    void failedWriteKeepsTheOldFile()
    {
        if (geteuid() == 0)
            QSKIP("root ignores folder permissions");
        test::ProgramHome home(false);
        home.write("Quillory.ini", "old\r\n");
        QFile::setPermissions(home.path(), QFile::ReadOwner | QFile::ExeOwner);
        const FileResult r = SettingsFile::write(home.file("Quillory.ini"), PlayerSettings());
        QFile::setPermissions(home.path(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        QVERIFY(!r.ok);
        QVERIFY(!r.reason.isEmpty());
        QCOMPARE(home.read("Quillory.ini"), QByteArray("old\r\n"));
    }

    void unwritablePathKeepsTheOldFile()
    {
        // A settings path that is a folder cannot be replaced, whoever runs the test.
        test::ProgramHome home(false);
        QDir(home.path()).mkpath("Quillory.ini/inner");
        const FileResult r = SettingsFile::write(home.file("Quillory.ini"), PlayerSettings());
        QVERIFY(!r.ok);
        QVERIFY(QFileInfo(home.file("Quillory.ini/inner")).isDir());
    }
};

QTEST_GUILESS_MAIN(TestSettingsFile)
#include "test_settings_file.moc"
