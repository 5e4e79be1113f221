// Opening media: the open dialog, the recent list and its file, dropped files.
#include "test_form1_harness.h"

#include <QDropEvent>
#include <QMimeData>
#include <QUrl>

using namespace quillory;
using namespace quillory::test;

namespace {

QByteArray crlf(const QStringList &lines)
{
    QByteArray bytes;
    for (const QString &l : lines)
        bytes += l.toUtf8() + "\r\n";
    return bytes;
}

const char *const RecentItems[] = {"mnuRecent1", "mnuRecent2", "mnuRecent3", "mnuRecent4"};

QStringList menuCaptions(const Form1 &form)
{
    QStringList captions;
    for (const char *name : RecentItems)
        captions << control<QAction>(form, name)->text();
    return captions;
}

QList<bool> menuVisibility(const Form1 &form)
{
    QList<bool> shown;
    for (const char *name : RecentItems)
        shown << control<QAction>(form, name)->isVisible();
    return shown;
}

// Sends a drag-enter and a drop of `urls` to the window; returns whether the
// drop was accepted.
bool drop(Form1 &form, const QList<QUrl> &urls)
{
    QMimeData mime;
    mime.setUrls(urls);
    QDragEnterEvent enter(QPoint(10, 10), Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(&form, &enter);
    QDropEvent event(QPointF(10, 10), Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(&form, &event);
    return event.isAccepted() && enter.isAccepted();
}

} // namespace

class TestForm1OpenRecentDrop : public QObject {
    Q_OBJECT

private:
    QString lastFiles(const PlayerRig &rig) const
    {
        return QString::fromUtf8(rig.home.read("LastFiles.ini"));
    }

private slots:
    void openDialogRequest()
    {
        PlayerRig rig;
        Form1 &form = rig.start();
        control<QAction>(form, "mnuApri")->trigger();
        QCOMPARE(rig.fakes.fileDialogs.requests.size(), 1);
        const FileDialogRequest &r = rig.fakes.fileDialogs.requests[0];
        QVERIFY(r.openMode);
        QCOMPARE(r.title, rig.T(25));
        QCOMPARE(r.defaultExtension, QStringLiteral("wav"));
        QCOMPARE(r.filterIndex, 1);
        QCOMPARE(r.filterPairs.size(), 4);
        QCOMPARE(r.filterPairs[0], rig.T(41));
        QVERIFY(r.filterPairs[1].startsWith(
            QStringLiteral("*.avi;*.mp3;*.mpg;*.mpeg;*.ogg;*.ogv;*.wav;*.wma;*.wmv")));
        QCOMPARE(r.filterPairs[2], rig.T(26));
        QCOMPARE(r.filterPairs[3], QStringLiteral("*.*"));
        QVERIFY(r.initialFileName.isEmpty());
        // Cancelled: nothing happens.
        QCOMPARE(rig.engine->openCount(), 0);
        QVERIFY(!QFile::exists(rig.home.file("LastFiles.ini")));
        QVERIFY(!control<QAction>(form, "mnuRiga")->isVisible());
    }

    void openThroughTheDialog()
    {
        PlayerRig rig;
        Form1 &form = rig.start();
        const QString path = rig.mediaFile(QStringLiteral("chosen.mp3"));
        rig.fakes.fileDialogs.choose(path);
        form.mnuApri_Click();
        QCOMPARE(rig.engine->openPath(), path);
        QCOMPARE(form.mediaPath(), path);
    }

    void firstOpenOnAFreshInstallation()
    {
        PlayerRig rig;
        Form1 &form = rig.start();
        const QString path = rig.mediaFile(QStringLiteral("one.wav"));
        form.OpenMediaFile(path);
        QCOMPARE(rig.home.read("LastFiles.ini"),
                 crlf({path, "mnuRecent1", "mnuRecent2", "mnuRecent3"}));
        QVERIFY(control<QAction>(form, "mnuRiga")->isVisible());
        QCOMPARE(menuVisibility(form), (QList<bool>{true, false, false, false}));

        // The next start shows only the filled slot, and the separator.
        PlayerRig next;
        next.home.write("LastFiles.ini", rig.home.read("LastFiles.ini"));
        Form1 &again = next.start();
        QCOMPARE(menuCaptions(again),
                 (QStringList{path, "mnuRecent1", "mnuRecent2", "mnuRecent3"}));
        QCOMPARE(menuVisibility(again), (QList<bool>{true, false, false, false}));
        QVERIFY(control<QAction>(again, "mnuRiga")->isVisible());
    }

    void fiveFilesKeepTheFourNewest()
    {
        PlayerRig rig;
        Form1 &form = rig.start();
        QStringList paths;
        for (const char *name : {"a.wav", "b.wav", "c.wav", "d.wav", "e.wav"}) {
            paths << rig.mediaFile(QString::fromLatin1(name));
            form.OpenMediaFile(paths.last());
        }
        const QStringList newest = {paths[4], paths[3], paths[2], paths[1]};
        QCOMPARE(rig.home.read("LastFiles.ini"), crlf(newest));
        QCOMPARE(menuCaptions(form), newest);
        QCOMPARE(menuVisibility(form), (QList<bool>{true, true, true, true}));

        // Slot 3 moves to the front, the others keep their order.
        control<QAction>(form, "mnuRecent3")->trigger();
        QCOMPARE(rig.engine->openPath(), paths[2]);
        QCOMPARE(menuCaptions(form), (QStringList{paths[2], paths[4], paths[3], paths[1]}));
        QCOMPARE(rig.home.read("LastFiles.ini"), crlf(menuCaptions(form)));

        // Slot 1 again: the same four lines.
        form.mnuRecent_Click(0);
        QCOMPARE(menuCaptions(form), (QStringList{paths[2], paths[4], paths[3], paths[1]}));
    }

    void comparisonIsCaseSensitive()
    {
        PlayerRig rig;
        Form1 &form = rig.start();
        const QString lower = rig.mediaFile(QStringLiteral("talk.wav"));
        const QString upper = rig.mediaFile(QStringLiteral("TALK.wav"));
        form.OpenMediaFile(lower);
        form.OpenMediaFile(upper);
        QCOMPARE(menuCaptions(form).mid(0, 2), (QStringList{upper, lower}));
    }

    void missingRecentFileIsReportedAndKept()
    {
        PlayerRig rig;
        Form1 &form = rig.start();
        const QString gone = rig.mediaFile(QStringLiteral("gone.wav"));
        const QString kept = rig.mediaFile(QStringLiteral("kept.wav"));
        form.OpenMediaFile(gone);
        form.OpenMediaFile(kept);
        QVERIFY(QFile::remove(gone));
        const QByteArray listBefore = rig.home.read("LastFiles.ini");
        form.mnuRecent_Click(1);
        QCOMPARE(rig.fakes.messages.shown.size(), 1);
        QCOMPARE(rig.fakes.messages.shown[0].text, rig.T(98));
        QCOMPARE(rig.fakes.messages.shown[0].icon, MsgIcon::Exclamation);
        QCOMPARE(rig.fakes.messages.shown[0].title, rig.T(1));
        QCOMPARE(menuCaptions(form).mid(0, 2), (QStringList{kept, gone}));
        QCOMPARE(rig.home.read("LastFiles.ini"), listBefore);
        QCOMPARE(rig.engine->openPath(), kept);
        QCOMPARE(form.mediaPath(), kept);
    }

    void folderIsNotAFile()
    {
        PlayerRig rig;
        Form1 &form = rig.start();
        QDir().mkpath(rig.home.file("media/folder.wav"));
        form.OpenMediaFile(rig.home.file("media/folder.wav"));
        QCOMPARE(rig.fakes.messages.shown.size(), 1);
        QCOMPARE(rig.engine->openCount(), 0);
    }

    void listLoadedAtStart_data()
    {
        QTest::addColumn<QByteArray>("file");
        QTest::addColumn<QList<bool>>("shown");
        QTest::addColumn<bool>("separator");
        QTest::newRow("missing") << QByteArray() << QList<bool>{false, false, false, false}
                                 << false;
        QTest::newRow("empty second line")
            << QByteArray("/x/a.wav\r\n\r\nmnuRecent3\r\n/x/d.wav\r\n")
            << QList<bool>{true, false, false, true} << true;
        QTest::newRow("two lines") << QByteArray("/x/a.wav\r\n/x/b.wav\r\n")
                                   << QList<bool>{true, true, false, false} << true;
        QTest::newRow("placeholders only")
            << QByteArray("mnuRecent1\r\nmnuRecent2\r\nmnuRecent3\r\nmnuRecent4\r\n")
            << QList<bool>{false, false, false, false} << true;
    }
    void listLoadedAtStart()
    {
        QFETCH(QByteArray, file);
        QFETCH(QList<bool>, shown);
        QFETCH(bool, separator);
        PlayerRig rig;
        if (!file.isEmpty())
            rig.home.write("LastFiles.ini", file);
        Form1 &form = rig.start();
        QCOMPARE(menuVisibility(form), shown);
        QCOMPARE(control<QAction>(form, "mnuRiga")->isVisible(), separator);
    }

    void gotADropStripsTrailingNuls()
    {
        PlayerRig rig;
        Form1 &form = rig.start();
        const QString path = rig.mediaFile(QStringLiteral("dropped file.wav"));
        QString buffer = path;
        buffer.append(QString(511 - path.size(), QChar(0)));
        form.GotADrop(buffer);
        QCOMPARE(rig.engine->openPath(), path);
        QCOMPARE(form.mediaPath(), path);
        QCOMPARE(form.recentList().caption(0), path);
        QVERIFY(rig.fakes.messages.shown.isEmpty());
    }

    void gotADropOfOnlyNulsDoesNothing()
    {
        PlayerRig rig;
        Form1 &form = rig.start();
        form.GotADrop(QString(511, QChar(0)));
        form.GotADrop(QString());
        QVERIFY(rig.fakes.fileDialogs.requests.isEmpty());
        QVERIFY(rig.fakes.messages.shown.isEmpty());
        QCOMPARE(rig.engine->openCount(), 0);
    }

    void dropsOnlyBetweenStartAndClose()
    {
        PlayerRig rig;
        Form1 &form = rig.create();
        const QString path = rig.mediaFile(QStringLiteral("x.wav"));
        QVERIFY(!drop(form, {QUrl::fromLocalFile(path)}));
        QCOMPARE(rig.engine->openCount(), 0);

        rig.start();
        QVERIFY(drop(form, {QUrl::fromLocalFile(path)}));
        QCOMPARE(rig.engine->openPath(), path);

        form.close();
        QCOMPARE(rig.endCount(), 1);
        const int opens = rig.engine->openCount();
        QVERIFY(!drop(form, {QUrl::fromLocalFile(path)}));
        QCOMPARE(rig.engine->openCount(), opens);
    }

    void dropOpensOnlyTheFirstFile()
    {
        PlayerRig rig;
        Form1 &form = rig.start();
        const QString first = rig.mediaFile(QStringLiteral("first.wav"));
        const QString second = rig.mediaFile(QStringLiteral("second.wav"));
        QVERIFY(drop(form, {QUrl::fromLocalFile(first), QUrl::fromLocalFile(second)}));
        QCOMPARE(rig.engine->openCount(), 1);
        QCOMPARE(rig.engine->openPath(), first);
    }

    void nonLocalUrlIsRefused()
    {
        PlayerRig rig;
        Form1 &form = rig.start();
        QVERIFY(!drop(form, {QUrl(QStringLiteral("http://example.invalid/talk.mp3"))}));
        QCOMPARE(rig.engine->openCount(), 0);
        QVERIFY(rig.fakes.messages.shown.isEmpty());
    }

    void droppedMissingFileIsReported()
    {
        PlayerRig rig;
        Form1 &form = rig.start();
        QVERIFY(drop(form, {QUrl::fromLocalFile(rig.home.file("media/nowhere.wav"))}));
        QCOMPARE(rig.fakes.messages.shown.size(), 1);
        QCOMPARE(rig.fakes.messages.shown[0].text, rig.T(98));
        QCOMPARE(rig.engine->openCount(), 0);
    }

    void focusAfterOpen_data()
    {
        QTest::addColumn<bool>("editorHidden");
        QTest::newRow("hidden") << true;
        QTest::newRow("visible") << false;
    }
    void focusAfterOpen()
    {
        QFETCH(bool, editorHidden);
        PlayerRig rig;
        rig.writeSettings({"English.lng", "", "0", "5", "3", "1", "", editorHidden ? "1" : "0"});
        Form1 &form = rig.start();
        form.OpenMediaFile(rig.mediaFile(QStringLiteral("a.wav")));
        if (editorHidden)
            QVERIFY(rig.fakes.switcher.switches > 0);
        else
            QCOMPARE(rig.fakes.switcher.switches, 0);
    }
};

QTEST_MAIN(TestForm1OpenRecentDrop)
#include "test_form1_open_recent_drop.moc"
