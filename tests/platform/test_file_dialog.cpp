#include "platform/services/file_dialog.h"
#include "support/fakes.h"

#include <QtTest>

using namespace quillory;

class TestFileDialog : public QObject {
    Q_OBJECT
private slots:
    void requestCarriesTheArguments()
    {
        test::FakeFileDialogs dialogs;
        const QString filter = QStringLiteral("File RTF") + QChar(0) + "*.rtf" + QChar(0) +
                               "File TXT" + QChar(0) + "*.txt";
        const QVariant result =
            ShowFileDialog(dialogs, nullptr, "/tmp", filter, 2, "rtf",
                           QString(300, QLatin1Char('n')), "Save", nullptr, false);
        QCOMPARE(result.toString(), QString()); // cancelled
        QCOMPARE(dialogs.requests.size(), 1);
        const FileDialogRequest &r = dialogs.requests.first();
        QCOMPARE(r.filterPairs, (QStringList{"File RTF", "*.rtf", "File TXT", "*.txt"}));
        QCOMPARE(r.filterIndex, 2);
        QCOMPARE(r.initialFileName.size(), 256);
        QCOMPARE(r.defaultExtension, QStringLiteral("rtf"));
        QVERIFY(!r.openMode);
        QVERIFY(!r.multiSelect);
    }

    void resultsAndCurrentFolder()
    {
        QTemporaryDir dir;
        test::FakeFileDialogs dialogs;
        dialogs.choose(dir.path() + "/chosen.wav" + QChar(0) + QChar(0));
        QCOMPARE(ShowFileDialog(dialogs, nullptr, {}, {}, 1, {}, {}, {}, nullptr, true).toString(),
                 dir.path() + "/chosen.wav");
        // The folder of a confirmed choice becomes the current one.
        QCOMPARE(QDir::currentPath(), QDir(dir.path()).canonicalPath());

        int flags = OFN_ALLOWMULTISELECT;
        dialogs.replies.append({true, {dir.path() + "/a.wav", dir.path() + "/b.wav"}});
        QCOMPARE(
            ShowFileDialog(dialogs, &flags, {}, {}, 1, {}, {}, {}, nullptr, true).toStringList(),
            (QStringList{dir.path() + "/a.wav", dir.path() + "/b.wav"}));
        dialogs.replies.append({true, {dir.path() + "/one.wav"}});
        QCOMPARE(ShowFileDialog(dialogs, &flags, {}, {}, 1, {}, {}, {}, nullptr, true).toString(),
                 dir.path() + "/one.wav");
    }

    void textHelpers()
    {
        QCOMPARE(StripAtNull(QStringLiteral("abc")), QStringLiteral("abc"));
        QCOMPARE(StripAtNull(QStringLiteral("ab") + QChar(0) + "c"), QStringLiteral("ab"));
        QCOMPARE(AddBackslash(QStringLiteral("/")), QStringLiteral("/"));
        QCOMPARE(AddBackslash(QStringLiteral("/home/ann")), QStringLiteral("/home/ann/"));
    }
};

QTEST_MAIN(TestFileDialog)
#include "test_file_dialog.moc"
