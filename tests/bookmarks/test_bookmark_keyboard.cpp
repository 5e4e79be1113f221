// A bookmark named from the transcript (Ctrl+M) and the raised windows: the
// keyboard ends up where the typing goes on.
#include "bookmarks/form3.h"
#include "editor/rich_text_box.h"
#include "player/test_form1_harness.h"
#include "support/window_controls.h"

#include <QApplication>
#include <QListWidget>

using namespace quillory;
using namespace quillory::test;

namespace {

class ListRig : public PlayerRig {
public:
    ListRig()
    {
        create();
        Services services = fakes.services();
        form->setBookmarkWindowFactory([this, services] {
            return std::make_unique<Form3>(session, services, form->languageTable(), form->bookmarkHost());
        });
        writeSettings({"English.lng", "", "0", "5", "3", "1", "", "0"}); // editor shown
        start();
    }
    Form2 &editor() { return *editorOf(*form); }
    RichTextBox &text() { return *control<RichTextBox>(editor(), "RTB"); }
    void typeIn()
    {
        editor().activateWindow();
        text().setFocus(Qt::OtherFocusReason);
        QTRY_COMPARE(QApplication::focusWidget(), static_cast<QWidget *>(&text()));
    }
};

} // namespace

class TestBookmarkKeyboard : public QObject {
    Q_OBJECT

private slots:
    void ctrlMInTheTranscriptNamesABookmarkAndTypingGoesOn()
    {
        ListRig rig;
        rig.openAt(QStringLiteral("talk.mp3"), 60000, 12000);
        QVERIFY(rig.editor().isVisible());
        rig.typeIn();
        rig.fakes.inputs.answers << QStringLiteral("Quote");
        QTest::keyClick(&rig.text(), Qt::Key_M, Qt::ControlModifier);

        QCOMPARE(rig.fakes.inputs.asked.size(), 1);
        auto *list = dynamic_cast<Form3 *>(rig.form->bookmarkWindow());
        QVERIFY(list);
        QCOMPARE(list->List1->count(), 1);
        QVERIFY(list->List1->item(0)->text().endsWith(QStringLiteral("Quote")));
        QVERIFY(rig.text().toPlainText().isEmpty()); // no character typed
        QTRY_COMPARE(QApplication::focusWidget(), static_cast<QWidget *>(&rig.text()));
        QTest::keyClicks(&rig.text(), QStringLiteral("go on"));
        QCOMPARE(rig.text().toPlainText(), QStringLiteral("go on"));
    }

    void raiseBringsBackAMinimisedEditorWithTheKeyboard()
    {
        ListRig rig;
        rig.editor().showMinimized();
        QTRY_VERIFY(rig.editor().isMinimized());
        rig.form->raiseWindows();
        QTRY_VERIFY(!rig.editor().isMinimized());
        QVERIFY(rig.editor().isVisible());
        QTRY_COMPARE(QApplication::focusWidget(), static_cast<QWidget *>(&rig.text()));
    }
};

QTEST_MAIN(TestBookmarkKeyboard)
#include "test_bookmark_keyboard.moc"
