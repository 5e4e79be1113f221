// The safe-write path with names as long as a file name may be: the temporary
// file beside the target must fit too.
#include "platform/files/text_file.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

using namespace quillory;

class TestLongFileNames : public QObject {
    Q_OBJECT

private slots:
    void namesUpToTheLimitAreWrittenAndReplaced_data()
    {
        QTest::addColumn<QString>("name");
        QTest::newRow("248 bytes") << QString(248, QLatin1Char('a'));
        QTest::newRow("249 bytes") << QString(249, QLatin1Char('b'));
        QTest::newRow("255 bytes") << QString(255, QLatin1Char('c'));
        // 127 two-byte letters and one more byte: 255 bytes, 128 characters.
        QTest::newRow("255 bytes of accents") << QString(127, QChar(0x00E8)) + QLatin1Char('x');
    }
    void namesUpToTheLimitAreWrittenAndReplaced()
    {
        QFETCH(QString, name);
        QTemporaryDir dir;
        const QString path = dir.filePath(name);
        QVERIFY(QFile::encodeName(name).size() <= 255);
        const FileResult first = writeTextLines(path, {QStringLiteral("one")});
        QVERIFY2(first.ok, qPrintable(first.reason));
        const FileResult second = writeTextLines(path, {QStringLiteral("two")});
        QVERIFY2(second.ok, qPrintable(second.reason));
        QFile file(path);
        QVERIFY(file.open(QIODevice::ReadOnly));
        QCOMPARE(file.readAll(), QByteArray("two\r\n"));
        // Nothing but the target is left beside it.
        QCOMPARE(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden), QStringList{name});
    }
};

QTEST_GUILESS_MAIN(TestLongFileNames)
#include "test_long_file_names.moc"
