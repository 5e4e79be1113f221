// The document's file commands and the recent documents menu on their own: a
// text box, a menu and a plain widget for a window.
#include "editor/document_files.h"
#include "editor/recent_documents_menu.h"
#include "editor/timestamp_commands.h"
#include "editor_rig.h"

#include <QMenu>
#include <QMenuBar>
#include <QSignalSpy>
#include <QtTest>

using namespace quillory;
using test::FakePlayer;

namespace {

struct FilesRig {
    test::ProgramHome home;
    test::FakeServices fakes;
    FakePlayer player;
    LanguageTable language;
    QWidget window;
    RichTextBox text{&window};
    QMenu menu;
    RecentDocumentsMenu recent{&menu};
    DocumentFiles files{text, recent, player, language, fakes.services(), &window};

    FilesRig()
    {
        language.load(LanguageTable::pathOf(QStringLiteral("English.lng")));
        files.takeLanguage();
        files.startUntitled();
    }
    QString untitled(int n) const { return language.T(97) + QStringLiteral(" %1").arg(n); }
    QAction *item(int slot) const { return menu.actions().at(slot); }
};

} // namespace

class TestDocumentFiles : public QObject {
    Q_OBJECT

private slots:
    void recentMenuShowsStoredPathsAndStoresNewOnes()
    {
        test::ProgramHome home;
        home.write("LastFilesEditor.ini",
                   "/t/one.rtf\r\nmnuRecent2\r\nmnuRecent3\r\nmnuRecent4\r\n");
        QMenu menu;
        RecentDocumentsMenu recent(&menu);
        QCOMPARE(menu.actions().size(), RecentList::Size + 1);
        QAction *separator = menu.actions().last();
        QVERIFY(separator->isSeparator());
        QVERIFY(!separator->isVisible());

        recent.load();
        QVERIFY(separator->isVisible());
        QCOMPARE(menu.actions().at(0)->text(), QStringLiteral("/t/one.rtf"));
        QVERIFY(menu.actions().at(0)->isVisible());
        QVERIFY(!menu.actions().at(1)->isVisible());

        recent.add(QStringLiteral("/t/a&b.rtf"));
        QCOMPARE(menu.actions().at(0)->text(), QStringLiteral("/t/a&&b.rtf"));
        QCOMPARE(menu.actions().at(1)->text(), QStringLiteral("/t/one.rtf"));
        QCOMPARE(home.read("LastFilesEditor.ini"),
                 QByteArray("/t/a&b.rtf\r\n/t/one.rtf\r\nmnuRecent2\r\nmnuRecent3\r\n"));

        QSignalSpy chosen(&recent, &RecentDocumentsMenu::chosen);
        menu.actions().at(1)->trigger();
        QCOMPARE(chosen.size(), 1);
        QCOMPARE(chosen.first().first().toString(), QStringLiteral("/t/one.rtf"));
    }

    void untitledDocumentsAreCountedAndTitled()
    {
        FilesRig rig;
        QCOMPARE(rig.files.untitledTitle(), rig.untitled(1));
        QCOMPARE(rig.window.windowTitle(), rig.language.T(96) + " - " + rig.untitled(1));
        QVERIFY(!rig.files.isModified());

        // Nothing typed: Save asks for no name and writes nothing.
        rig.files.save();
        QVERIFY(rig.fakes.fileDialogs.requests.isEmpty());

        rig.text.setText(QStringLiteral("draft"));
        rig.files.setModified(true);
        rig.fakes.messages.answers = {MsgResult::No}; // do not save the draft
        QSignalSpy cleared(&rig.files, &DocumentFiles::unsavedChangesCleared);
        rig.files.startNew();
        QCOMPARE(rig.text.Text(), QString());
        QCOMPARE(rig.files.untitledCounter(), std::int16_t(2));
        QCOMPARE(rig.window.windowTitle(), rig.language.T(96) + " - " + rig.untitled(2));
        QCOMPARE(cleared.size(), 1);
    }

    void saveAsMakesTheChosenFileTheDocumentsFile()
    {
        FilesRig rig;
        rig.text.setText(QStringLiteral("Intervista"));
        rig.files.setModified(true);
        const QString path = rig.home.file("first.txt");
        rig.fakes.fileDialogs.choose(path);
        rig.fakes.messages.answers = {MsgResult::Yes}; // should it warn of lost formatting
        QSignalSpy cleared(&rig.files, &DocumentFiles::unsavedChangesCleared);
        rig.files.saveAs();

        QCOMPARE(rig.fakes.fileDialogs.requests.last().initialFileName, rig.untitled(1));
        QVERIFY(rig.home.read("first.txt").contains("Intervista"));
        QCOMPARE(rig.files.path(), path);
        QVERIFY(!rig.files.isModified());
        QCOMPARE(cleared.size(), 1);
        QCOMPARE(rig.window.windowTitle(), rig.language.T(96) + " - first.txt");
        QCOMPARE(rig.recent.list().caption(0), path);
        QVERIFY(!rig.player.folder.isEmpty());

        // A later Save writes the same format back, plain text, not RTF.
        rig.text.setText(QStringLiteral("Intervista due"));
        rig.files.setModified(true);
        rig.files.save();
        QCOMPARE(rig.home.read("first.txt").trimmed(), QByteArray("Intervista due"));
        QVERIFY(!rig.files.isModified());
    }

    void aRecentItemOpensItsDocument()
    {
        FilesRig rig;
        rig.home.write("b.rtf", "{\\rtf1 bee}");
        rig.recent.add(rig.home.file("b.rtf"));
        rig.item(0)->trigger();
        QCOMPARE(rig.text.Text(), QStringLiteral("bee"));
        QCOMPARE(rig.files.path(), rig.home.file("b.rtf"));
    }

    void aRecoveredTranscriptIsModifiedUnderItsOldName()
    {
        FilesRig rig;
        rig.files.takeRecovered("{\\rtf1 back}", QStringLiteral("/data/notes.srt"));
        QCOMPARE(rig.text.Text(), QStringLiteral("back"));
        QVERIFY(rig.files.isModified());
        QCOMPARE(rig.window.windowTitle(), rig.language.T(96) + " - notes.srt");

        FilesRig untitled;
        untitled.files.takeRecovered("{\\rtf1 back}", QString());
        QCOMPARE(untitled.window.windowTitle(),
                 untitled.language.T(96) + " - " + untitled.untitled(1));
    }

    void timestampMenuAndKeyWithoutMedia()
    {
        test::ProgramHome home;
        test::FakeServices fakes;
        FakePlayer player;
        LanguageTable language;
        QWidget window;
        RichTextBox text(&window);
        QMenuBar bar;
        TimestampCommands stamps(text, &bar, player, language, fakes.services(), &window);
        QCOMPARE(bar.actions().size(), 1);
        QCOMPARE(stamps.menu()->objectName(), QStringLiteral("mnuTimestamp"));
        QCOMPARE(stamps.insertItem()->shortcut(), QKeySequence(Qt::Key_F2));
        QVERIFY(stamps.claimsKey(Qt::Key_F2, Qt::NoModifier));
        QVERIFY(!stamps.claimsKey(Qt::Key_F3, Qt::NoModifier));
        QVERIFY(!stamps.keyDown(Qt::Key_F3, Qt::NoModifier));
        // No media open: the key is taken, nothing is written, a beep says why.
        QVERIFY(stamps.keyDown(Qt::Key_F2, Qt::NoModifier));
        QCOMPARE(text.Text(), QString());
        QCOMPARE(fakes.messages.beeps, 1);
        text.setText(QStringLiteral("[01:02] x"));
        QVERIFY(stamps.playAt(2)); // a timestamp, but nothing to play
        QCOMPARE(fakes.messages.beeps, 2);
        QVERIFY(!stamps.playAt(8));
        QVERIFY(player.calls.isEmpty());
    }
};

QTEST_MAIN(TestDocumentFiles)
#include "test_document_files.moc"
