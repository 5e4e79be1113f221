// Undo and Redo leave the caret at the edit and know the saved state; the
// desktop's standard keys (redo, find) and Ctrl+M reach their commands.
#include "editor/caret_rest.h"
#include "editor/editor_keys.h"
#include "editor/undo_caret.h"
#include "editor/undo_history.h"
#include "editor_rig.h"

#include <QStyleHints>
#include <QTextEdit>
#include <QtTest>

using namespace quillory;
using namespace quillory::test;

class TestUndoCaretAndKeys : public QObject {
    Q_OBJECT

private slots:
    void caretStandsBehindWhatTheStepChanged_data()
    {
        QTest::addColumn<QString>("before");
        QTest::addColumn<QString>("after");
        QTest::addColumn<int>("caret");
        QTest::newRow("typing undone")
            << QStringLiteral("one X two") << QStringLiteral("one two") << 4;
        QTest::newRow("typing redone")
            << QStringLiteral("one two") << QStringLiteral("one X two") << 6;
        QTest::newRow("deletion undone") << QStringLiteral("ad") << QStringLiteral("abcd") << 3;
        QTest::newRow("at the start") << QStringLiteral("xabc") << QStringLiteral("abc") << 0;
        QTest::newRow("at the end") << QStringLiteral("abc") << QStringLiteral("abcdef") << 6;
        QTest::newRow("a letter after the same letter")
            << QStringLiteral("aa") << QStringLiteral("a") << 1;
        QTest::newRow("second paragraph")
            << QStringLiteral("first\nsecond") << QStringLiteral("first\nsec-ond") << 10;
        QTest::newRow("replaced word")
            << QStringLiteral("a cat sat") << QStringLiteral("a dog sat") << 5;
        QTest::newRow("to empty") << QStringLiteral("abc") << QStringLiteral("") << 0;
        QTest::newRow("formatting only") << QStringLiteral("same") << QStringLiteral("same") << -1;
    }
    void caretStandsBehindWhatTheStepChanged()
    {
        QFETCH(QString, before);
        QFETCH(QString, after);
        QFETCH(int, caret);
        QCOMPARE(caretAfterRestore(before, after), caret);
    }

    void historyKnowsTheSavedSlot()
    {
        UndoHistory<int> history(0);
        QVERIFY(history.isClean());
        history.record(1);
        QVERIFY(!history.isClean());
        history.undo();
        QVERIFY(history.isClean());
        history.redo();
        history.markClean(); // saved with 1
        history.record(2);
        history.undo();
        QVERIFY(history.isClean());
        history.undo();
        QVERIFY(!history.isClean());
        // An edit after Undo drops the saved slot for good.
        history.record(3);
        history.undo();
        history.redo();
        QVERIFY(!history.isClean());
    }

    void savedSlotFallsOutOfAFullHistory()
    {
        constexpr int Last = UndoHistory<int>::LastSlot;
        UndoHistory<int> history(0);
        history.record(1);
        history.markClean();
        for (int i = 0; i < Last; ++i)
            history.record(i + 2); // the empty start drops out
        for (int i = 0; i < Last; ++i)
            history.undo();
        QCOMPARE(history.slot(history.UndoIndex()), 1);
        QVERIFY(history.isClean());
        for (int i = 0; i < Last; ++i)
            history.redo();
        history.record(999); // now the saved one drops out
        for (int i = 0; i < Last; ++i)
            history.undo();
        QCOMPARE(history.slot(history.UndoIndex()), 2);
        QVERIFY(!history.isClean());
    }

    void standardKeysBesideTheProgramsOwn()
    {
        const QString english = QStringLiteral("English.lng");
        QCOMPARE(editorKeyFor(Qt::Key_Y, Qt::ControlModifier, english), EditorKey::Redo);
        QCOMPARE(editorKeyFor(Qt::Key_Z, Qt::ControlModifier | Qt::ShiftModifier, english),
                 EditorKey::Redo);
        QCOMPARE(editorKeyFor(Qt::Key_Z, Qt::ControlModifier, english), EditorKey::Undo);
        QCOMPARE(editorKeyFor(Qt::Key_F, Qt::ControlModifier, english), EditorKey::Find);
        QCOMPARE(editorKeyFor(Qt::Key_M, Qt::ControlModifier, english), EditorKey::AddBookmark);
        // Other modifiers leave the letters to the control.
        QCOMPARE(editorKeyFor(Qt::Key_Y, Qt::ControlModifier | Qt::ShiftModifier, english),
                 EditorKey::None);
        QCOMPARE(editorKeyFor(Qt::Key_Z, Qt::ControlModifier | Qt::AltModifier, english),
                 EditorKey::None);
        // The Italian formatting letters are unchanged.
        const QString italian = QStringLiteral("Italiano.lng");
        QCOMPARE(editorKeyFor(Qt::Key_G, Qt::ControlModifier, italian), EditorKey::Bold);
        QCOMPARE(editorKeyFor(Qt::Key_S, Qt::ControlModifier, italian), EditorKey::Underline);
        QCOMPARE(editorKeyFor(Qt::Key_F, Qt::ControlModifier, italian), EditorKey::Find);
    }

    void typedThenUndoneAsksNothing()
    {
        EditorRig rig;
        QTest::keyClicks(&rig.rtb(), QStringLiteral("x"));
        QVERIFY(rig.editor->DocumentModified());
        QTest::keyClick(&rig.rtb(), Qt::Key_Z, Qt::ControlModifier);
        QCOMPARE(rig.rtb().Text(), QString());
        QVERIFY(!rig.editor->hasUnsavedChanges());
        QTest::keyClick(&rig.rtb(), Qt::Key_Y, Qt::ControlModifier);
        QCOMPARE(rig.rtb().Text(), QStringLiteral("x"));
        QVERIFY(rig.editor->hasUnsavedChanges());
        QTest::keyClick(&rig.rtb(), Qt::Key_Z, Qt::ControlModifier);
        QTest::keyClick(&rig.rtb(), Qt::Key_Z, Qt::ControlModifier | Qt::ShiftModifier);
        QCOMPARE(rig.rtb().Text(), QStringLiteral("x"));
    }

    void undoAndRedoKeepTheCaretAtTheEdit()
    {
        EditorRig rig;
        rig.type(QStringLiteral("The cat sat on the mat."));
        QTextCursor c = rig.rtb().textCursor();
        c.setPosition(4);
        rig.rtb().setTextCursor(c);
        QTest::keyClicks(&rig.rtb(), QStringLiteral("b"));
        QCOMPARE(rig.rtb().Text(), QStringLiteral("The bcat sat on the mat."));
        rig.editor->mnuAnnulla_Click();
        QCOMPARE(rig.rtb().SelStart(), 4);
        rig.editor->mnuRipeti_Click();
        QCOMPARE(rig.rtb().SelStart(), 5);
    }

    void findAndBookmarkFromTheTranscript()
    {
        EditorRig rig;
        int findOpened = 0;
        rig.editor->setFindDialogOpener([&findOpened] { ++findOpened; });
        QTest::keyClick(&rig.rtb(), Qt::Key_F, Qt::ControlModifier);
        QCOMPARE(findOpened, 1);
        QTest::keyClick(&rig.rtb(), Qt::Key_M, Qt::ControlModifier);
        QCOMPARE(rig.player.calls, QStringList{"add bookmark"});
        QCOMPARE(rig.rtb().Text(), QString());
    }

    void theCaretRestsWhenNothingIsTypedAndBlinksAgainAtAKey()
    {
        QStyleHints *hints = QGuiApplication::styleHints();
        const int flash = hints->cursorFlashTime();
        QVERIFY(flash > 0);
        QTextEdit edit;
        {
            CaretRest rest(50);
            QVERIFY(!rest.isResting());
            QTRY_VERIFY(rest.isResting());
            QCOMPARE(hints->cursorFlashTime(), 0); // shown, not blinking
            QTest::keyClick(&edit, Qt::Key_A);
            QVERIFY(!rest.isResting());
            QCOMPARE(hints->cursorFlashTime(), flash);
            // Keys keep it blinking; it rests again once they stop.
            QTest::keyClick(&edit, Qt::Key_B);
            QTRY_VERIFY(rest.isResting());
            QTest::mouseClick(edit.viewport(), Qt::LeftButton);
            QCOMPARE(hints->cursorFlashTime(), flash);
            QTRY_VERIFY(rest.isResting());
        }
        // Gone while resting: the blinking is the user's again.
        QCOMPARE(hints->cursorFlashTime(), flash);
        // A user who turned blinking off keeps it off.
        hints->setCursorFlashTime(0);
        {
            CaretRest rest(1);
            QTest::keyClick(&edit, Qt::Key_C);
            QCOMPARE(hints->cursorFlashTime(), 0);
        }
        QCOMPARE(hints->cursorFlashTime(), 0);
        hints->setCursorFlashTime(flash);
    }
};

QTEST_MAIN(TestUndoCaretAndKeys)
#include "test_undo_caret_and_keys.moc"
