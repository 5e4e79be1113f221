#include "editor_rig.h"
#include "i18n/captions.h"

#include <QApplication>
#include <QClipboard>
#include <QLabel>
#include <QMenu>
#include <QMimeData>
#include <QtTest>

using namespace quillory;
using test::EditorRig;

// The editor's keys, its undo history and its Edit menu.
class TestForm2Edit : public QObject {
    Q_OBJECT

    static QStringList menuLayout(const QMenu *menu)
    {
        QStringList names;
        for (const QAction *a : menu->actions())
            names << (a->isSeparator() && a->objectName().isEmpty() ? QStringLiteral("-")
                                                                    : a->objectName());
        return names;
    }

private slots:
    void formattingLettersFollowTheLanguage_data()
    {
        QTest::addColumn<QString>("language");
        QTest::addColumn<int>("boldKey");
        QTest::addColumn<int>("underlineKey");
        QTest::addColumn<int>("otherBold");
        QTest::addColumn<int>("otherUnderline");
        QTest::newRow("English") << "English.lng" << int(Qt::Key_B) << int(Qt::Key_U)
                                 << int(Qt::Key_G) << int(Qt::Key_S);
        QTest::newRow("Italiano") << "Italiano.lng" << int(Qt::Key_G) << int(Qt::Key_S)
                                  << int(Qt::Key_B) << int(Qt::Key_U);
    }
    void formattingLettersFollowTheLanguage()
    {
        QFETCH(QString, language);
        QFETCH(int, boldKey);
        QFETCH(int, underlineKey);
        QFETCH(int, otherBold);
        QFETCH(int, otherUnderline);
        EditorRig rig(language);
        rig.type(QStringLiteral("some words"));
        rig.select(0, 10);
        QSignalSpy changes(&rig.rtb(), &RichTextBox::Change);
        // The other group's letters and Ctrl+Shift do nothing at all.
        QTest::keyClick(&rig.rtb(), Qt::Key(otherBold), Qt::ControlModifier);
        QTest::keyClick(&rig.rtb(), Qt::Key(otherUnderline), Qt::ControlModifier);
        QTest::keyClick(&rig.rtb(), Qt::Key(boldKey), Qt::ControlModifier | Qt::ShiftModifier);
        QCOMPARE(changes.count(), 0);
        QCOMPARE(rig.rtb().Text(), QStringLiteral("some words"));
        QCOMPARE(rig.rtb().SelBold(), std::optional<bool>(false));

        QTest::keyClick(&rig.rtb(), Qt::Key(boldKey), Qt::ControlModifier);
        QCOMPARE(rig.rtb().SelBold(), std::optional<bool>(true));
        QTest::keyClick(&rig.rtb(), Qt::Key(underlineKey), Qt::ControlModifier);
        QCOMPARE(rig.rtb().SelUnderline(), std::optional<bool>(true));
        QTest::keyClick(&rig.rtb(), Qt::Key(boldKey), Qt::ControlModifier);
        QCOMPARE(rig.rtb().SelBold(), std::optional<bool>(false));
        QCOMPARE(changes.count(), 3); // one change, one undo step per key
        QCOMPARE(rig.rtb().Text(), QStringLiteral("some words"));
        QVERIFY(rig.player.calls.isEmpty());
    }

    void ctrlIIsItalicAndNothingElse()
    {
        EditorRig rig;
        rig.type(QStringLiteral("abc"));
        rig.select(0, 3);
        const std::int16_t index = rig.editor->UndoIndex();
        QTest::keyClick(&rig.rtb(), Qt::Key_I, Qt::ControlModifier);
        QCOMPARE(rig.rtb().SelItalic(), std::optional<bool>(true)); // not undone again
        QCOMPARE(rig.editor->UndoIndex(), std::int16_t(index + 1));
        QCOMPARE(rig.rtb().Text(), QStringLiteral("abc"));
    }

    void functionKeysReachThePlayerWhateverIsHeld()
    {
        EditorRig rig;
        const QList<std::pair<Qt::Key, Qt::KeyboardModifiers>> keys = {
            {Qt::Key_F1, Qt::NoModifier},      {Qt::Key_F5, Qt::ShiftModifier},
            {Qt::Key_F6, Qt::ControlModifier}, {Qt::Key_F7, Qt::NoModifier},
            {Qt::Key_F8, Qt::AltModifier},     {Qt::Key_F9, Qt::NoModifier},
            {Qt::Key_F11, Qt::NoModifier},     {Qt::Key_Escape, Qt::NoModifier}};
        for (const auto &[key, modifiers] : keys)
            QTest::keyClick(&rig.rtb(), key, modifiers);
        QCOMPARE(rig.player.calls, (QStringList{"help", "play", "back", "forward", "bookmarks",
                                                "audio", "fullpath", "exit"}));
        QCOMPARE(rig.rtb().Text(), QString());
        // Esc on the window itself, outside the text.
        QTest::keyClick(rig.editor.get(), Qt::Key_Escape);
        QCOMPARE(rig.player.calls.last(), QStringLiteral("exit"));
    }

    void keysWinOverTheWindowsShortcutsWhenActive()
    {
        // With the window active, keys pass the shortcut map first: Ctrl+Z
        // must still be the program's Undo, F7 the jump (not the hidden
        // spell-check item), Ctrl+L still the Save item.
        EditorRig rig;
        rig.editor->show();
        rig.editor->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(rig.editor.get()));
        rig.rtb().setFocus();
        rig.type(QStringLiteral("abc"));
        rig.type(QStringLiteral("def"));
        QTest::keyClick(&rig.rtb(), Qt::Key_Z, Qt::ControlModifier);
        QCOMPARE(rig.rtb().Text(), QStringLiteral("abc"));
        QTest::keyClick(&rig.rtb(), Qt::Key_F7);
        QCOMPARE(rig.player.calls, QStringList{"forward"});
        QTest::keyClick(&rig.rtb(), Qt::Key_L, Qt::ControlModifier);
        QCOMPARE(rig.fakes.fileDialogs.requests.size(), 1); // Save -> Save As (cancelled)
    }

    void aHundredAndFiftyChangesThenAHundredUndos()
    {
        EditorRig rig;
        QVERIFY(!rig.editor->DocumentModified());
        rig.editor->mnuAnnulla_Click(); // right after opening: nothing
        QCOMPARE(rig.editor->UndoIndex(), std::int16_t(0));
        QVERIFY(!rig.editor->DocumentModified());
        QString after50;
        for (int change = 1; change <= 150; ++change) {
            rig.type(QString::number(change % 10));
            if (change == 50)
                after50 = rig.rtb().Text();
        }
        QCOMPARE(rig.editor->UndoIndex(), std::int16_t(100));
        for (int i = 0; i < 100; ++i)
            rig.editor->mnuAnnulla_Click();
        QCOMPARE(rig.rtb().Text(), after50);
        rig.editor->mnuAnnulla_Click(); // nothing older is kept
        QCOMPARE(rig.rtb().Text(), after50);
        QCOMPARE(rig.editor->UndoIndex(), std::int16_t(0));
        QVERIFY(!rig.editor->UndoRestoring());
    }

    void undoThenRedoAndTheModifiedFlag()
    {
        EditorRig rig;
        rig.type(QStringLiteral("one"));
        rig.select(0, 3);
        rig.editor->Label2_Click(4); // bold
        const QString path = rig.home.file("t.rtf");
        rig.fakes.fileDialogs.choose(path);
        rig.editor->mnuSalvaConNome_Click();
        QVERIFY(!rig.editor->DocumentModified());

        QTest::keyClick(&rig.rtb(), Qt::Key_Z, Qt::ControlModifier); // the Undo shortcut
        QCOMPARE(rig.rtb().Text(), QStringLiteral("one"));
        rig.select(0, 3);
        QCOMPARE(rig.rtb().SelBold(), std::optional<bool>(false));
        QVERIFY(rig.editor->DocumentModified());

        rig.editor->setDocumentModified(false);
        rig.editor->mnuRipeti_Click();
        rig.select(0, 3);
        QCOMPARE(rig.rtb().SelBold(), std::optional<bool>(true));
        QVERIFY(!rig.editor->DocumentModified()); // back at the saved file

        // Past the newest snapshot: nothing at all, no empty document.
        rig.editor->setDocumentModified(false);
        rig.editor->mnuRipeti_Click();
        QCOMPARE(rig.rtb().Text(), QStringLiteral("one"));
        QVERIFY(!rig.editor->DocumentModified());
    }

    void undoStepsBackAcrossNewAndOpen()
    {
        EditorRig rig;
        rig.type(QStringLiteral("first document"));
        rig.fakes.messages.answers = {MsgResult::No};
        rig.editor->mnuNuovo_Click();
        QCOMPARE(rig.rtb().Text(), QString());
        rig.editor->mnuAnnulla_Click();
        QCOMPARE(rig.rtb().Text(), QStringLiteral("first document"));
        QVERIFY(rig.editor->DocumentModified());

        rig.home.write("other.rtf", "{\\rtf1 other text}");
        rig.editor->OpenDocument(rig.home.file("other.rtf"));
        QCOMPARE(rig.rtb().Text(), QStringLiteral("other text"));
        rig.editor->mnuAnnulla_Click();
        QCOMPARE(rig.rtb().Text(), QStringLiteral("first document"));
    }

    void oneFormattingCommandIsOneUndoStep()
    {
        EditorRig rig;
        rig.type(QStringLiteral("plain text here"));
        rig.select(0, 5);
        const std::int16_t before = rig.editor->UndoIndex();
        QSignalSpy changes(&rig.rtb(), &RichTextBox::Change);
        for (int index : {4, 5, 6, 7, 9, 11, 14})
            rig.editor->Label2_Click(index);
        QCOMPARE(changes.count(), 7);
        QCOMPARE(rig.editor->UndoIndex(), std::int16_t(before + 7));
        rig.editor->mnuAnnulla_Click(); // takes back the bullet only
        rig.select(0, 5);
        QCOMPARE(rig.rtb().SelBullet(), std::optional<bool>(false));
        QCOMPARE(rig.rtb().SelBold(), std::optional<bool>(true));
    }

    void clipboardCommandsUseTheTextControl()
    {
        EditorRig rig;
        QClipboard *clipboard = QApplication::clipboard();
        rig.type(QStringLiteral("cut me and keep"));
        rig.select(0, 7);
        rig.editor->mnuCopia_Click();
        QCOMPARE(clipboard->text(), QStringLiteral("cut me "));
        rig.editor->mnuTaglia_Click();
        QCOMPARE(rig.rtb().Text(), QStringLiteral("and keep"));
        QCOMPARE(clipboard->text(), QStringLiteral("cut me "));
        rig.rtb().moveCursor(QTextCursor::End);
        rig.editor->mnuIncolla_Click();
        QCOMPARE(rig.rtb().Text(), QStringLiteral("and keepcut me "));
        rig.editor->mnuTaglia_Click(); // nothing selected: the clipboard is only cleared
        QCOMPARE(clipboard->text(), QString());
        QCOMPARE(rig.rtb().Text(), QStringLiteral("and keepcut me "));

        rig.editor->mnuSelezionaTutto_Click();
        QCOMPARE(rig.rtb().SelStart(), 0);
        QCOMPARE(rig.rtb().SelLength(), 15);
    }

    void findAndReplaceSetTheTagAndOpenTheDialog()
    {
        EditorRig rig;
        rig.editor->mnuSostituisci_Click(); // no dialog yet: the tag alone
        QCOMPARE(rig.editor->findMode(), QStringLiteral("1"));
        QStringList opened;
        rig.editor->setFindDialogOpener([&] { opened << rig.editor->findMode(); });
        rig.editor->mnuTrova_Click();
        rig.editor->mnuSostituisci_Click();
        QCOMPARE(opened, (QStringList{"", "1"}));
        rig.menuItem(QStringLiteral("mnuTrova"))->trigger();
        QCOMPARE(opened.last(), QString());
    }

    void menusTheirCaptionsAndShortcuts()
    {
        EditorRig rig(QStringLiteral("Deutsch.lng"));
        const LanguageTable &T = rig.language;
        QCOMPARE(menuLayout(rig.menu(QStringLiteral("mnuModifica"))),
                 (QStringList{"mnuAnnulla", "mnuRipeti", "-", "mnuTaglia", "mnuCopia", "mnuIncolla",
                              "-", "mnuSelezionaTutto", "mnuTrova", "mnuSostituisci"}));
        QCOMPARE(menuLayout(rig.menu(QStringLiteral("mnuFile"))),
                 (QStringList{"mnuNuovo", "-", "mnuApri", "mnuSalva", "mnuSalvaConNome", "-",
                              "mnuRecent1", "mnuRecent2", "mnuRecent3", "mnuRecent4", "mnur",
                              "mnuStampa"}));
        const QList<std::pair<QString, int>> items = {
            {"mnuAnnulla", 70}, {"mnuRipeti", 82},      {"mnuTaglia", 48},
            {"mnuCopia", 49},   {"mnuIncolla", 50},     {"mnuSelezionaTutto", 51},
            {"mnuTrova", 56},   {"mnuSostituisci", 59}, {"mnuStampa", 46}};
        for (const auto &[name, entry] : items)
            QCOMPARE(rig.menuItem(name)->text(), T.T(entry));
        QMenu *tools = rig.menu(QStringLiteral("mnuStrumenti"));
        QAction *spelling = rig.menuItem(QStringLiteral("mnuOrtografia"));
        const auto shortcut = [&rig](const char *name) {
            return rig.menuItem(QLatin1String(name))->shortcut();
        };
        QCOMPARE(rig.menu(QStringLiteral("mnuModifica"))->title(), T.T(47));
        QCOMPARE(tools->title(), T.T(71));
        // Tools holds the spelling check's on/off item (no F7: it moves the player).
        QVERIFY(tools->menuAction()->isVisible());
        QCOMPARE(spelling->text(), caption(QStringLiteral("spelling.check"),
                                           QStringLiteral("Check &spelling as you type")));
        QVERIFY(spelling->isCheckable());
        QVERIFY(spelling->shortcut().isEmpty());
        QCOMPARE(shortcut("mnuAnnulla"), QKeySequence(Qt::CTRL | Qt::Key_Z));
        QCOMPARE(shortcut("mnuTaglia"), QKeySequence(Qt::CTRL | Qt::Key_X));
        QCOMPARE(shortcut("mnuCopia"), QKeySequence(Qt::CTRL | Qt::Key_C));
        QCOMPARE(shortcut("mnuSelezionaTutto"), QKeySequence(Qt::CTRL | Qt::Key_A));
        QCOMPARE(shortcut("mnuTrova"), QKeySequence(Qt::Key_F3));
        QCOMPARE(shortcut("mnuSostituisci"), QKeySequence(Qt::CTRL | Qt::Key_H));
        QVERIFY(shortcut("mnuRipeti").isEmpty());
        QVERIFY(shortcut("mnuIncolla").isEmpty());
        QCOMPARE(rig.letter(0)->text(), T.T(90));
        QCOMPARE(rig.letter(1)->text(), QStringLiteral("i"));
        QCOMPARE(rig.letter(2)->text(), T.T(91));
        QCOMPARE(rig.letter(3)->text(), T.T(92));
    }

    void newAndOpenKeepTheTextWhenTheSaveDidNotHappen()
    {
        EditorRig rig;
        rig.type(QStringLiteral("precious"));
        rig.fakes.messages.answers = {MsgResult::Yes}; // save first ... and cancel Save As
        rig.editor->mnuNuovo_Click();
        QCOMPARE(rig.rtb().Text(), QStringLiteral("precious"));
        QCOMPARE(rig.editor->UntitledCounter(), std::int16_t(1));
        QVERIFY(rig.editor->DocumentModified());

        rig.fakes.messages.answers = {MsgResult::Yes};
        rig.editor->mnuApri_Click();
        QCOMPARE(rig.fakes.fileDialogs.requests.size(), 2); // the Save As only, no open dialog
        QVERIFY(!rig.fakes.fileDialogs.requests.last().openMode);

        // The write fails: the text stays too.
        rig.fakes.messages.answers = {MsgResult::Yes};
        rig.fakes.fileDialogs.choose(rig.home.file("no/such/folder/x.rtf"));
        rig.editor->mnuNuovo_Click();
        QCOMPARE(rig.rtb().Text(), QStringLiteral("precious"));

        // A save that works goes on to the new document.
        rig.fakes.messages.answers = {MsgResult::Yes};
        rig.fakes.fileDialogs.choose(rig.home.file("kept.rtf"));
        rig.editor->mnuNuovo_Click();
        QCOMPARE(rig.rtb().Text(), QString());
        QVERIFY(rig.home.read("kept.rtf").contains("precious"));
    }

    void saveAsAsksBeforeReplacingHiddenFiles()
    {
        EditorRig rig;
        rig.home.write(".notes.rtf", "keep");
        rig.type(QStringLiteral("new"));
        rig.fakes.fileDialogs.choose(rig.home.file(".notes.rtf"));
        rig.fakes.messages.answers = {MsgResult::No};
        rig.editor->mnuSalvaConNome_Click();
        QCOMPARE(rig.fakes.messages.shown.size(), 1);
        QCOMPARE(rig.home.read(".notes.rtf"), QByteArray("keep"));
    }

    void recentItemsShowTheirPathsLiterally()
    {
        EditorRig rig;
        rig.home.write("a&b.rtf", "{\\rtf1 x}");
        rig.editor->OpenDocument(rig.home.file("a&b.rtf"));
        QVERIFY(rig.menuItem(QStringLiteral("mnuRecent1"))->isVisible());
        QVERIFY(rig.menuItem(QStringLiteral("mnur"))->isVisible());
        QCOMPARE(rig.menuItem(QStringLiteral("mnuRecent1"))->text().replace("&&", "&"),
                 rig.home.file("a&b.rtf"));
        QVERIFY(!rig.menuItem(QStringLiteral("mnuRecent2"))->isVisible());
    }
};

QTEST_MAIN(TestForm2Edit)
#include "test_form2_edit.moc"
