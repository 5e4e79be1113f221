#include "editor/editor_keys.h"
#include "editor/undo_history.h"

#include <QtTest>

using namespace quillory;

// The history's index rules, on plain strings as snapshots; and the key table.
class TestUndoHistory : public QObject {
    Q_OBJECT

private slots:
    void startsAtTheEmptySlot()
    {
        UndoHistory<QString> h(QStringLiteral("<empty>"));
        QCOMPARE(h.UndoIndex(), std::int16_t(0));
        QVERIFY(!h.undo());
        QVERIFY(!h.redo());
        QCOMPARE(h.UndoIndex(), std::int16_t(0));
    }

    void onlyTheLastHundredChangesCanBeUndone()
    {
        UndoHistory<QString> h(QStringLiteral("<empty>"));
        for (int change = 1; change <= 150; ++change)
            h.record(QStringLiteral("after %1").arg(change));
        QCOMPARE(h.UndoIndex(), std::int16_t(100));
        QCOMPARE(h.slot(100), QStringLiteral("after 150"));
        QCOMPARE(h.slot(0), QStringLiteral("after 50")); // the oldest dropped out
        std::optional<QString> state;
        for (int i = 0; i < 100; ++i)
            state = h.undo();
        QCOMPARE(*state, QStringLiteral("after 50"));
        QVERIFY(!h.undo()); // a further Undo does nothing
        QCOMPARE(h.UndoIndex(), std::int16_t(0));
    }

    void redoWalksBackUpToTheNewestAndNoFurther()
    {
        UndoHistory<QString> h(QStringLiteral("<empty>"));
        h.record("a");
        h.record("b");
        h.record("c");
        QCOMPARE(*h.undo(), QStringLiteral("b"));
        QCOMPARE(*h.undo(), QStringLiteral("a"));
        QCOMPARE(*h.redo(), QStringLiteral("b"));
        QCOMPARE(*h.redo(), QStringLiteral("c"));
        QVERIFY(!h.redo()); // nothing newer: no empty slot shown
        QCOMPARE(h.UndoIndex(), std::int16_t(3));

        // A change after Undo makes it the newest; what it replaced is gone.
        h.undo();
        h.record("b2");
        QVERIFY(!h.redo());
        QCOMPARE(*h.undo(), QStringLiteral("b"));
        QCOMPARE(*h.redo(), QStringLiteral("b2"));
    }

    void undoBackToTheStartGivesTheEmptyDocument()
    {
        UndoHistory<QString> h(QStringLiteral("<empty>"));
        h.record("x");
        QCOMPARE(*h.undo(), QStringLiteral("<empty>"));
    }

    void keyTableFollowsTheLanguage_data()
    {
        QTest::addColumn<QString>("language");
        QTest::addColumn<int>("key");
        QTest::addColumn<int>("modifiers");
        QTest::addColumn<int>("action");
        const int ctrl = Qt::ControlModifier;
        const auto row = [](const char *name, const char *lang, int key, int mods, EditorKey a) {
            QTest::newRow(name) << QString::fromLatin1(lang) << key << mods << int(a);
        };
        row("en ctrl+b", "English.lng", Qt::Key_B, ctrl, EditorKey::Bold);
        row("en ctrl+u", "English.lng", Qt::Key_U, ctrl, EditorKey::Underline);
        row("en ctrl+g", "English.lng", Qt::Key_G, ctrl, EditorKey::Ignore);
        row("en ctrl+s", "English.lng", Qt::Key_S, ctrl, EditorKey::Ignore);
        row("it ctrl+g", "ITALIANO.LNG", Qt::Key_G, ctrl, EditorKey::Bold);
        row("it ctrl+s", "Italiano.lng", Qt::Key_S, ctrl, EditorKey::Underline);
        row("it ctrl+b", "Italiano.lng", Qt::Key_B, ctrl, EditorKey::Ignore);
        row("it ctrl+u", "Italiano.lng", Qt::Key_U, ctrl, EditorKey::Ignore);
        row("ctrl+i", "Deutsch.lng", Qt::Key_I, ctrl, EditorKey::Italic);
        row("ctrl+shift+b", "English.lng", Qt::Key_B, ctrl | Qt::ShiftModifier, EditorKey::None);
        row("ctrl+alt+i", "English.lng", Qt::Key_I, ctrl | Qt::AltModifier, EditorKey::None);
        row("b alone", "English.lng", Qt::Key_B, 0, EditorKey::None);
        row("keypad ctrl+b", "English.lng", Qt::Key_B, ctrl | Qt::KeypadModifier, EditorKey::Bold);
        row("ctrl+z", "English.lng", Qt::Key_Z, ctrl, EditorKey::Undo);
        row("shift+f5", "English.lng", Qt::Key_F5, Qt::ShiftModifier, EditorKey::PlayPause);
        row("ctrl+alt+f7", "Italiano.lng", Qt::Key_F7, ctrl | Qt::AltModifier,
            EditorKey::JumpForward);
        row("f6", "English.lng", Qt::Key_F6, 0, EditorKey::JumpBack);
        row("f8", "English.lng", Qt::Key_F8, 0, EditorKey::Bookmarks);
        row("f1", "English.lng", Qt::Key_F1, 0, EditorKey::Help);
        row("f9", "English.lng", Qt::Key_F9, 0, EditorKey::AudioSettings);
        row("f11", "English.lng", Qt::Key_F11, 0, EditorKey::FullPath);
        row("esc", "English.lng", Qt::Key_Escape, Qt::ShiftModifier, EditorKey::Exit);
        row("f3", "English.lng", Qt::Key_F3, 0, EditorKey::None);
        row("f10", "English.lng", Qt::Key_F10, 0, EditorKey::None);
    }
    void keyTableFollowsTheLanguage()
    {
        QFETCH(QString, language);
        QFETCH(int, key);
        QFETCH(int, modifiers);
        QFETCH(int, action);
        QCOMPARE(int(editorKeyFor(key, Qt::KeyboardModifiers(modifiers), language)), action);
    }
};

QTEST_GUILESS_MAIN(TestUndoHistory)
#include "test_undo_history.moc"
