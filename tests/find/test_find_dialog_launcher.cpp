// The dialog as the editor opens it beside a real player window: created once,
// laid out by the editor's tag, closed with the player.
#include "editor/rich_text_box.h"
#include "find/find_dialog_launcher.h"
#include "find/frm_find.h"
#include "player/test_form1_harness.h"
#include "support/window_controls.h"

#include <QComboBox>
#include <QPushButton>

using namespace quillory;
using namespace quillory::test;

class TestFindDialogLauncher : public QObject {
    Q_OBJECT

private slots:
    void opensOnceAndClosesWithThePlayer()
    {
        PlayerRig rig;
        Form1 &form = rig.start();
        Form2 *editor = editorOf(form);
        editor->show();
        QString tag;
        int created = 0;
        FindDialogLauncher launcher({editor->searchedText(), editor, [&tag] { return tag; },
                                     [editor] { editor->focusEditor(); }},
                                    form.languageTable(), rig.fakes.services(),
                                    [&](CompanionWindow *window) {
                                        ++created;
                                        form.addCompanionWindow(window);
                                    });
        QVERIFY(!launcher.dialog());
        launcher.open();
        frmFind *dialog = launcher.dialog();
        QVERIFY(dialog);
        QCOMPARE(dialog->parentWidget(), editor);
        QVERIFY(dialog->isVisible());
        QVERIFY(!dialog->isReplaceMode());
        QVERIFY(!dialog->cmdReplaceAll->isEnabled());

        tag = QStringLiteral("1");
        launcher.open();
        QCOMPARE(launcher.dialog(), dialog);
        QCOMPARE(created, 1);
        QVERIFY(dialog->isReplaceMode());
        QVERIFY(dialog->cmdReplaceAll->isEnabled());
        QCOMPARE(dialog->windowTitle(), rig.T(59) + QStringLiteral("..."));

        // Find works on the editor's text.
        auto *text = control<RichTextBox>(*editor, "RTB");
        text->setText(QStringLiteral("one two"));
        dialog->cboFind->setEditText(QStringLiteral("two"));
        dialog->cmdFind_Click();
        QCOMPARE(text->SelStart(), 4);

        editor->setDocumentModified(false); // no question on closing
        QVERIFY(!form.Form_Unload());
        QVERIFY(!dialog->isVisible());
        QVERIFY(dialog->Timer1.isActive());
        QTRY_VERIFY(!dialog->isLoaded());
    }

    void withoutAnEditorWindowTheLauncherOwnsTheDialog()
    {
        ProgramHome home;
        LanguageTable language;
        FakeServices fakes;
        RichTextBox box;
        FindDialogLauncher launcher({&box, nullptr, [] { return QString(); }, {}}, language,
                                    fakes.services(), {});
        launcher.open();
        QVERIFY(launcher.dialog());
        QVERIFY(!launcher.dialog()->parent());
        // Destroyed with the launcher; the sanitizer build would see a leak otherwise.
    }
};

QTEST_MAIN(TestFindDialogLauncher)
#include "test_find_dialog_launcher.moc"
