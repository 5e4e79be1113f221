#pragma once

// An editor window on fakes: the player it drives, the platform services and a
// temporary program folder.

#include "editor/form2.h"
#include "editor/formatting_bar.h"
#include "editor/rich_text_box.h"
#include "support/fake_dialogs.h"
#include "support/fakes.h"
#include "support/program_home.h"
#include "support/window_controls.h"

#include <QComboBox>
#include <QLabel>
#include <QMenu>
#include <QTextCursor>

namespace quillory::test {

// Records the player commands the editor's keys reach.
class FakePlayer : public PlayerCommands {
public:
    QStringList calls;
    QString folder;
    QString language = QStringLiteral("English.lng");
    void playOrPause() override { calls << "play"; }
    void jumpForward() override { calls << "forward"; }
    void jumpBack() override { calls << "back"; }
    void quitProgram() override { calls << "exit"; }
    void toggleBookmarkList() override { calls << "bookmarks"; }
    void addNamedBookmark() override { calls << "add bookmark"; }
    void toggleFullTitle() override { calls << "fullpath"; }
    void showHelp() override { calls << "help"; }
    void openSoundSettings() override { calls << "audio"; }
    QString languageFile() const override { return language; }
    QString editorFolder() const override { return folder; }
    void setEditorFolder(const QString &f) override { folder = f; }
    // The editor alone has no media open.
    bool hasMedia() override { return false; }
    qint64 mediaPositionMs() override { return 0; }
    void playFromMediaPosition(qint64 ms) override
    {
        calls << QStringLiteral("playFrom %1").arg(ms);
    }
    void slowDown() override { calls << "slower"; }
    void speedUp() override { calls << "faster"; }
    void normalSpeed() override { calls << "normal speed"; }
    void toggleLoop() override { calls << "loop"; }
};

struct EditorRig {
    ProgramHome home;
    FakeServices fakes;
    FakeColorDialogs colours;
    FakePrintSystem printers;
    FakePlayer player;
    LanguageTable language;
    std::unique_ptr<Form2> editor;

    explicit EditorRig(const QString &languageFile = QStringLiteral("English.lng"))
    {
        player.language = languageFile;
        language.load(LanguageTable::pathOf(languageFile));
        Services services = fakes.services();
        services.colorDialogs = &colours;
        services.printing = &printers;
        editor = std::make_unique<Form2>(player, language, services);
        editor->Form_Load();
    }
    // The editor's controls by their names.
    template <class T> T *part(const QString &name) { return control<T>(*editor, name); }
    RichTextBox &rtb() { return *part<RichTextBox>(QStringLiteral("RTB")); }
    QAction *menuItem(const QString &name) { return part<QAction>(name); }
    QMenu *menu(const QString &name) { return part<QMenu>(name); }
    ClickArea *clickArea(int index)
    {
        return part<ClickArea>(QStringLiteral("Label2_%1").arg(index));
    }
    QLabel *letter(int index) { return part<QLabel>(QStringLiteral("Label3_%1").arg(index)); }
    QComboBox *fontBox() { return part<QComboBox>(QStringLiteral("Combo1")); }
    QComboBox *sizeBox() { return part<QComboBox>(QStringLiteral("Combo2")); }
    QLabel *page() { return part<QLabel>(QStringLiteral("Label1")); }
    void type(const QString &text)
    {
        QTextCursor c = rtb().textCursor();
        c.movePosition(QTextCursor::End);
        c.insertText(text);
        rtb().setTextCursor(c);
    }
    void select(int start, int length)
    {
        rtb().setSelStart(start);
        rtb().setSelLength(length);
    }
};

} // namespace quillory::test
