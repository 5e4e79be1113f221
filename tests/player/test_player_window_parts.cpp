// The player window's parts with a rule of their own, each without the window:
// the media file prompt, the option questions, the unsaved-transcript question
// and the caption that tells whether the editor was shown.
#include "contracts/transcript_editor.h"
#include "i18n/language_table.h"
#include "platform/media/media_control.h"
#include "platform/media/simulated_media_engine.h"
#include "player/media_file_prompt.h"
#include "player/playback_option_prompts.h"
#include "player/player_help_menu.h"
#include "player/unsaved_transcript_question.h"
#include "session/player_session.h"
#include "support/fakes.h"
#include "support/program_home.h"

#include <QMimeData>
#include <QUrl>
#include <QtTest>
#include <memory>

using namespace quillory;
using namespace quillory::test;

namespace {

LanguageTable numberedEntries()
{
    LanguageTable language;
    for (int entry : {1, 25, 26, 31, 32, 33, 34, 35, 36, 37, 40, 41, 75, 98})
        language.setEntry(entry, QStringLiteral("entry%1").arg(entry));
    return language;
}

class FakeEditor : public TranscriptEditor {
public:
    bool unsaved = true;
    bool saveSucceeds = true;
    int saves = 0;
    QWidget *asWidget() override { return nullptr; }
    void loadAtStart() override {}
    void loadRecentDocuments() override {}
    void focusText() override {}
    void placeBelow(const QRect &) override {}
    bool hasUnsavedChanges() const override { return unsaved; }
    QString untitledTitle() const override { return QStringLiteral("Untitled1"); }
    void saveAs() override
    {
        ++saves;
        if (saveSucceeds)
            unsaved = false;
    }
    void applyLanguage() override {}
    QWidget *textArea() override { return nullptr; }
};

struct SessionRig {
    SessionRig()
        : engine(new SimulatedMediaEngine), media(std::unique_ptr<MediaEngine>(engine)),
          session(media)
    {
    }
    SimulatedMediaEngine *engine; // owned by media
    MediaControl media;
    PlayerSession session;
};

} // namespace

class TestPlayerWindowParts : public QObject {
    Q_OBJECT
private slots:
    void editorShownIsReadFromTheShowHideCaption()
    {
        // Words that differ in their first three characters: the prefix decides.
        QVERIFY(PlayerHelpMenu::editorWasShown(QStringLiteral("Hide text editor"),
                                               QStringLiteral("Show"), QStringLiteral("Hide")));
        QVERIFY(!PlayerHelpMenu::editorWasShown(QStringLiteral("Show text editor"),
                                                QStringLiteral("Show"), QStringLiteral("Hide")));
        // Words that begin alike: the whole word the caption begins with decides,
        // the longer one when the caption begins with both.
        const QString show = QStringLiteral("Show");
        const QString hide = QStringLiteral("Show no more");
        QVERIFY(PlayerHelpMenu::editorWasShown(QStringLiteral("Show no more editor"), show, hide));
        QVERIFY(!PlayerHelpMenu::editorWasShown(QStringLiteral("Show editor"), show, hide));
        QVERIFY(!PlayerHelpMenu::editorWasShown(QStringLiteral("Shower editor"), show, hide));
    }

    void droppedNamesAndDrags()
    {
        QCOMPARE(MediaFilePrompt::withoutPadding(QStringLiteral("/a/b.wav") + QString(3, QChar(0))),
                 QStringLiteral("/a/b.wav"));
        QVERIFY(MediaFilePrompt::withoutPadding(QString(511, QChar(0))).isEmpty());

        QVERIFY(MediaFilePrompt::firstLocalFile(nullptr).isEmpty());
        QMimeData text;
        text.setText(QStringLiteral("/a/b.wav"));
        QVERIFY(MediaFilePrompt::firstLocalFile(&text).isEmpty());
        QMimeData urls;
        urls.setUrls({QUrl(QStringLiteral("https://example.org/x.mp3")),
                      QUrl::fromLocalFile(QStringLiteral("/a/first.wav")),
                      QUrl::fromLocalFile(QStringLiteral("/a/second.wav"))});
        QCOMPARE(MediaFilePrompt::firstLocalFile(&urls), QStringLiteral("/a/first.wav"));
    }

    void onlyAnOrdinaryFileIsOpened()
    {
        ProgramHome home(false);
        home.write(QStringLiteral("talk.wav"), "RIFF");
        const QString file = home.file(QStringLiteral("talk.wav"));
        FakeServices fakes;
        const LanguageTable language = numberedEntries();
        const MediaFilePrompt prompt(nullptr, fakes.services(), language);

        QCOMPARE(prompt.fileToOpen(file), file);
        QVERIFY(fakes.fileDialogs.requests.isEmpty());

        QVERIFY(prompt.fileToOpen(home.file(QStringLiteral("gone.wav"))).isEmpty());
        QVERIFY(prompt.fileToOpen(home.path()).isEmpty()); // a folder
        QCOMPARE(fakes.messages.shown.size(), 2);
        QCOMPARE(fakes.messages.shown[0].text, QStringLiteral("entry98"));
        QCOMPARE(fakes.messages.shown[0].title, QStringLiteral("entry1"));

        // No name: the open dialog asks, offering the media patterns first.
        QVERIFY(prompt.fileToOpen(QString()).isEmpty()); // cancelled
        fakes.fileDialogs.choose(file);
        QCOMPARE(prompt.fileToOpen(QString()), file);
        QCOMPARE(fakes.fileDialogs.requests.size(), 2);
        const FileDialogRequest &asked = fakes.fileDialogs.requests[1];
        QCOMPARE(asked.title, QStringLiteral("entry25"));
        QCOMPARE(asked.filterPairs.value(0), QStringLiteral("entry41"));
        QVERIFY(asked.filterPairs.value(1).contains(QStringLiteral("*.flac")));
        QCOMPARE(asked.filterPairs.value(3), QStringLiteral("*.*"));
        QCOMPARE(fakes.messages.shown.size(), 2);

        prompt.tellDropFailed();
        QCOMPARE(fakes.messages.shown.last().text, QStringLiteral("entry36"));
        QCOMPARE(fakes.messages.shown.last().title, QStringLiteral("entry37"));
    }

    void jumpLengthIsKeptBetweenTwoAndSixtySeconds()
    {
        SessionRig rig;
        FakeServices fakes;
        const LanguageTable language = numberedEntries();
        PlaybackOptionPrompts prompts(nullptr, fakes.services(), language, rig.session);
        rig.session.setJumpSeconds(5);

        fakes.inputs.answers = {QStringLiteral("12"), QString(), QStringLiteral("90"),
                                QStringLiteral("1"), QStringLiteral("many")};
        prompts.askJumpSeconds();
        QCOMPARE(rig.session.jumpSeconds(), 12);
        QCOMPARE(fakes.inputs.asked[0].defaultText, QStringLiteral("5"));
        prompts.askJumpSeconds(); // cancelled: kept
        QCOMPARE(rig.session.jumpSeconds(), 12);
        QVERIFY(fakes.messages.shown.isEmpty());
        prompts.askJumpSeconds();
        QCOMPARE(rig.session.jumpSeconds(), 60);
        QCOMPARE(fakes.messages.shown.last().text, QStringLiteral("entry33 60."));
        prompts.askJumpSeconds();
        QCOMPARE(rig.session.jumpSeconds(), 2);
        QCOMPARE(fakes.messages.shown.last().text, QStringLiteral("entry40 2."));
        prompts.askJumpSeconds(); // unreadable: kept
        QCOMPARE(rig.session.jumpSeconds(), 2);
        QCOMPARE(fakes.messages.shown.size(), 2);
        QCOMPARE(fakes.inputs.asked[0].prompt, QStringLiteral("entry34"));
        QCOMPARE(fakes.inputs.asked[0].title, QStringLiteral("entry35"));
    }

    void pauseRewindIsKeptBetweenNoneAndTwentySeconds()
    {
        SessionRig rig;
        FakeServices fakes;
        const LanguageTable language = numberedEntries();
        PlaybackOptionPrompts prompts(nullptr, fakes.services(), language, rig.session);
        rig.session.setPauseRewindSeconds(3);

        fakes.inputs.answers = {QStringLiteral("7 seconds"), QStringLiteral("25"), QString()};
        prompts.askPauseRewindSeconds();
        QCOMPARE(rig.session.pauseRewindSeconds(), std::int16_t(7));
        QCOMPARE(fakes.inputs.asked[0].defaultText, QStringLiteral("3"));
        prompts.askPauseRewindSeconds();
        QCOMPARE(rig.session.pauseRewindSeconds(), std::int16_t(20));
        QCOMPARE(fakes.messages.shown.last().text, QStringLiteral("entry33 20."));
        prompts.askPauseRewindSeconds(); // an empty answer reads as none
        QCOMPARE(rig.session.pauseRewindSeconds(), std::int16_t(0));
        QCOMPARE(fakes.messages.shown.size(), 1);
        QCOMPARE(fakes.inputs.asked[0].prompt, QStringLiteral("entry31"));
    }

    void unsavedTranscriptAnswers()
    {
        FakeServices fakes;
        const LanguageTable language = numberedEntries();
        const UnsavedTranscriptQuestion question(nullptr, fakes.services(), language);
        using Answer = UnsavedTranscriptQuestion::Answer;
        FakeEditor editor;

        fakes.messages.answers = {MsgResult::Cancel, MsgResult::No};
        QCOMPARE(question.ask(editor, QStringLiteral("Quillory")), Answer::Cancelled);
        QCOMPARE(question.ask(editor, QStringLiteral("Quillory")), Answer::GoOn);
        QCOMPARE(editor.saves, 0);
        QCOMPARE(fakes.messages.shown[0].text, QStringLiteral("entry75 Untitled1?"));
        QCOMPARE(fakes.messages.shown[0].title, QStringLiteral("Quillory"));
        QCOMPARE(fakes.messages.shown[0].buttons, MsgButtons::YesNoCancel);

        editor.saveSucceeds = false;
        fakes.messages.answers = {MsgResult::Yes};
        QCOMPARE(question.ask(editor, QStringLiteral("Quillory")), Answer::NotSaved);
        editor.saveSucceeds = true;
        fakes.messages.answers = {MsgResult::Yes};
        QCOMPARE(question.ask(editor, QStringLiteral("Quillory")), Answer::GoOn);
        QCOMPARE(editor.saves, 2);
        QVERIFY(!editor.hasUnsavedChanges());
    }
};

QTEST_MAIN(TestPlayerWindowParts)
#include "test_player_window_parts.moc"
