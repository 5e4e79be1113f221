#include "platform/services/file_dialog.h"
#include "platform/services/file_list_in_language.h"
#include "support/fakes.h"

#include <QFileSystemModel>
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

    // The dialog's sizes and dates follow the interface language's locale,
    // not the system region Qt's own list uses; the other columns are Qt's.
    void sizesAndDatesInTheInterfaceLanguage()
    {
        QTemporaryDir dir;
        QFile file(dir.filePath(QStringLiteral("interview.wav")));
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(QByteArray(3 * 1024 * 1024, 'x'));
        file.close();
        QVERIFY(QDir(dir.path()).mkdir(QStringLiteral("notes")));

        QFileSystemModel files;
        QSignalSpy loaded(&files, &QFileSystemModel::directoryLoaded);
        const QModelIndex root = files.setRootPath(dir.path());
        QVERIFY(loaded.wait(5000));
        FileListInLanguage list;
        list.setSourceModel(&files);
        const QLocale french(QLocale::French);
        QLocale::setDefault(french);
        const QModelIndex rootInList = list.mapFromSource(root);
        QCOMPARE(list.rowCount(rootInList), 2);
        for (int row = 0; row < 2; ++row) {
            const QModelIndex name = list.index(row, FileListInLanguage::Name, rootInList);
            const QFileInfo info(dir.filePath(name.data().toString()));
            const QString modified =
                list.index(row, FileListInLanguage::Modified, rootInList).data().toString();
            QCOMPARE(modified, french.toString(info.lastModified(), QLocale::ShortFormat));
            const QString size =
                list.index(row, FileListInLanguage::Size, rootInList).data().toString();
            if (info.isDir())
                QCOMPARE(size,
                         files.index(info.filePath(), FileListInLanguage::Size).data().toString());
            else
                QCOMPARE(size, QStringLiteral("3,0 Mo"));
            QCOMPARE(list.index(row, FileListInLanguage::Type, rootInList).data(),
                     files.index(info.filePath(), FileListInLanguage::Type).data());
        }
        QLocale::setDefault(QLocale::system());
    }
};

QTEST_MAIN(TestFileDialog)
#include "test_file_dialog.moc"
