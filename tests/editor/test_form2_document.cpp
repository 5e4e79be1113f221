#include "editor/form2.h"
#include "editor/rich_text_box.h"
#include "support/fakes.h"
#include "support/program_home.h"
#include "support/window_controls.h"

#include <QTextCursor>
#include <QtTest>
#include <unistd.h>

using namespace quillory;

namespace {

// Records the player commands the editor's keys reach.
class FakePlayer : public PlayerCommands {
public:
    QStringList calls;
    QString folder;
    void playOrPause() override { calls << "play"; }
    void jumpForward() override { calls << "forward"; }
    void jumpBack() override { calls << "back"; }
    void quitProgram() override { calls << "exit"; }
    void toggleBookmarkList() override { calls << "bookmarks"; }
    void toggleFullTitle() override { calls << "fullpath"; }
    void showHelp() override { calls << "help"; }
    void openSoundSettings() override { calls << "audio"; }
    QString languageFile() const override { return QStringLiteral("English.lng"); }
    QString editorFolder() const override { return folder; }
    void setEditorFolder(const QString &f) override { folder = f; }
    bool hasMedia() override { return false; }
    qint64 mediaPositionMs() override { return 0; }
    void playFromMediaPosition(qint64) override { calls << "playFrom"; }
};

} // namespace

class TestForm2Document : public QObject {
    Q_OBJECT

    std::unique_ptr<test::ProgramHome> home;
    std::unique_ptr<test::FakeServices> fakes;
    std::unique_ptr<FakePlayer> player;
    LanguageTable language;
    test::FakeChoiceBoxes choices;
    std::unique_ptr<Form2> editor;

    RichTextBox *box() { return control<RichTextBox>(*editor, "RTB"); }
    void type(const QString &text)
    {
        QTextCursor c = box()->textCursor();
        c.movePosition(QTextCursor::End);
        c.insertText(text);
    }
    QString caption() const { return editor->windowTitle(); }

private slots:
    void init()
    {
        home = std::make_unique<test::ProgramHome>();
        fakes = std::make_unique<test::FakeServices>();
        player = std::make_unique<FakePlayer>();
        language = LanguageTable();
        QVERIFY(language.load(LanguageTable::pathOf("English.lng")));
        Services services = fakes->services();
        services.choices = &choices;
        choices = test::FakeChoiceBoxes();
        editor = std::make_unique<Form2>(*player, language, services);
        editor->Form_Load();
    }
    void cleanup() { editor.reset(); }

    // Another program's save between two of ours is asked about, never written over unasked.
    void saveOverAFileChangedOnDiskAsksFirst()
    {
        const QString path = home->file("t.rtf");
        type("ours");
        fakes->fileDialogs.choose(path);
        editor->mnuSalvaConNome_Click();
        type(" again");
        editor->mnuSalva_Click(); // unchanged on disk: no question
        QVERIFY(choices.asked.isEmpty());
        QVERIFY(!editor->DocumentModified());

        home->write("t.rtf", "theirs");
        type(" more");
        choices.answers = {2}; // Cancel
        editor->mnuSalva_Click();
        QCOMPARE(choices.asked.size(), 1);
        QVERIFY(choices.asked[0].text.contains(path));
        QCOMPARE(home->read("t.rtf"), QByteArray("theirs"));
        QVERIFY(editor->DocumentModified());

        choices.answers = {1}; // Save anyway
        editor->mnuSalva_Click();
        QVERIFY(home->read("t.rtf").startsWith("{\\rtf1"));
        QVERIFY(!editor->DocumentModified());

        home->write("t.rtf", "theirs again");
        type("!");
        choices.answers = {0}; // Reload: the file's text replaces ours
        editor->mnuSalva_Click();
        QCOMPARE(choices.asked.size(), 3);
        QCOMPARE(box()->Text(), QStringLiteral("theirs again"));
        QVERIFY(!editor->DocumentModified());
        QCOMPARE(home->read("t.rtf"), QByteArray("theirs again"));
    }

    void startsUntitledAndUnmodified()
    {
        QVERIFY(!editor->DocumentModified());
        QCOMPARE(editor->UntitledCounter(), std::int16_t(1));
        QCOMPARE(editor->UntitledName(), language.T(97) + " ");
        QCOMPARE(caption(), language.T(96) + " - " + language.T(97) + " 1");
        type("x");
        QVERIFY(editor->DocumentModified());
    }

    void saveAsWritesRtfAndReopensIdentically()
    {
        type("Intervista");
        QTextCursor c(box()->document());
        c.setPosition(0);
        c.setPosition(5, QTextCursor::KeepAnchor);
        QTextCharFormat bold;
        bold.setFontWeight(QFont::Bold);
        c.mergeCharFormat(bold);
        const QString path = home->file("docs/first.rtf");
        QDir().mkpath(home->file("docs"));
        fakes->fileDialogs.choose(path);
        editor->mnuSalvaConNome_Click();

        const FileDialogRequest &r = fakes->fileDialogs.requests.last();
        QVERIFY(!r.openMode);
        QCOMPARE(r.initialFileName, language.T(97) + " 1"); // proposes the untitled name
        QCOMPARE(r.filterPairs.mid(0, 4), (QStringList{"File RTF", "*.rtf", "File TXT", "*.txt"}));
        QVERIFY(home->read("docs/first.rtf").startsWith("{\\rtf"));
        QVERIFY(!editor->DocumentModified());
        QCOMPARE(editor->DocumentPath(), path);
        QCOMPARE(caption(), language.T(96) + " - first.rtf");
        QCOMPARE(editor->recentDocuments().caption(0), path);
        QCOMPARE(player->folder, QDir(home->file("docs")).canonicalPath());

        editor->mnuNuovo_Click();
        QCOMPARE(box()->Text(), QString());
        editor->OpenDocument(path);
        QCOMPARE(box()->Text(), QStringLiteral("Intervista"));
        QTextCursor check(box()->document());
        check.setPosition(2);
        QVERIFY(check.charFormat().fontWeight() >= QFont::Bold);
        check.setPosition(8);
        QVERIFY(check.charFormat().fontWeight() < QFont::Bold);
        QVERIFY(!editor->DocumentModified());
    }

    void saveWithoutChangesBeepsAndWritesNothing()
    {
        const QString path = home->file("t.rtf");
        type("a");
        fakes->fileDialogs.choose(path);
        editor->mnuSalvaConNome_Click();
        const QDateTime written = QFileInfo(path).lastModified();
        QFile::remove(path);
        editor->mnuSalva_Click();
        QCOMPARE(fakes->messages.beeps, 1);
        QVERIFY(!QFileInfo::exists(path));
        Q_UNUSED(written);

        type("b");
        editor->mnuSalva_Click();
        QCOMPARE(fakes->messages.beeps, 2);
        QVERIFY(QFileInfo::exists(path));
        QVERIFY(!editor->DocumentModified());
    }

    void saveOnUntitled()
    {
        editor->mnuSalva_Click(); // nothing changed: nothing at all
        QVERIFY(fakes->fileDialogs.requests.isEmpty());
        QCOMPARE(fakes->messages.beeps, 0);
        type("x");
        editor->mnuSalva_Click(); // changed: Save As (cancelled here)
        QCOMPARE(fakes->fileDialogs.requests.size(), 1);
        QVERIFY(editor->DocumentModified());
    }

    void saveAsOverAnExistingFile()
    {
        home->write("old.rtf", "keep");
        type("new text");
        fakes->fileDialogs.choose(home->file("old.rtf"));
        fakes->messages.answers = {MsgResult::No};
        editor->mnuSalvaConNome_Click();
        QCOMPARE(home->read("old.rtf"), QByteArray("keep"));
        QVERIFY(editor->DocumentModified());
        QCOMPARE(fakes->messages.shown.last().text, language.T(53) + "\n\n" + language.T(54));

        fakes->fileDialogs.choose(home->file("old.rtf"));
        fakes->messages.answers = {MsgResult::Yes};
        editor->mnuSalvaConNome_Click();
        QVERIFY(home->read("old.rtf").startsWith("{\\rtf"));
        QVERIFY(!editor->DocumentModified());
    }

    void failedSaveKeepsEverythingAndSaysSo()
    {
        type("precious");
        // A path whose folder does not exist cannot be written, whoever runs the test.
        const QString path = home->file("no/such/folder/t.rtf");
        fakes->fileDialogs.choose(path);
        const QString before = caption();
        editor->mnuSalvaConNome_Click();
        QVERIFY(editor->DocumentModified());
        QCOMPARE(caption(), before);
        QVERIFY(editor->DocumentPath().isEmpty());
        QVERIFY(!RecentList::isShown(editor->recentDocuments().caption(0)));
        QCOMPARE(fakes->messages.shown.size(), 1);
        QVERIFY(fakes->messages.shown.first().text.contains(path));
    }

    void failedSaveOverAnExistingFileLeavesItWhole()
    {
        if (geteuid() == 0)
            QSKIP("root ignores folder permissions");
        home->write("ro/t.rtf", "original");
        type("x");
        fakes->fileDialogs.choose(home->file("ro/t.rtf"));
        fakes->messages.answers = {MsgResult::Yes};
        QFile::setPermissions(home->file("ro"), QFile::ReadOwner | QFile::ExeOwner);
        editor->mnuSalvaConNome_Click();
        QFile::setPermissions(home->file("ro"),
                              QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        QCOMPARE(home->read("ro/t.rtf"), QByteArray("original"));
        QVERIFY(editor->DocumentModified());
    }

    void openMissingOrUnreadableKeepsTheDocument()
    {
        type("mine");
        editor->OpenDocument(home->file("gone.rtf"));
        QCOMPARE(fakes->messages.shown.last().text, language.T(98));
        QCOMPARE(box()->Text(), QStringLiteral("mine"));
        QVERIFY(editor->DocumentPath().isEmpty());

        QDir().mkpath(home->file("afolder.rtf"));
        editor->OpenDocument(home->file("afolder.rtf")); // a folder counts as missing
        QCOMPARE(box()->Text(), QStringLiteral("mine"));
        editor->OpenDocument("   "); // only blanks: nothing
        QCOMPARE(box()->Text(), QStringLiteral("mine"));
    }

    void damagedRtfShowsWhatCouldBeRead()
    {
        home->write("cut.rtf", "{\\rtf1\\ansi {\\b Half a sen");
        editor->OpenDocument(home->file("cut.rtf"));
        QVERIFY(box()->Text().startsWith("Half a sen"));
        QCOMPARE(fakes->messages.shown.size(), 1);
        QCOMPARE(editor->DocumentPath(), home->file("cut.rtf"));
    }

    void plainTextFilesOpenAsText()
    {
        home->write("notes.txt", "caff\xe8\r\nriga due\r\n");
        editor->OpenDocument(home->file("notes.txt"));
        QCOMPARE(box()->Text(), QString::fromUtf8("caffè\nriga due"));
    }

    void newCommandQuestionsAndCounter()
    {
        type("draft");
        fakes->messages.answers = {MsgResult::Cancel};
        editor->mnuNuovo_Click();
        QCOMPARE(box()->Text(), QStringLiteral("draft"));
        QCOMPARE(editor->UntitledCounter(), std::int16_t(1));
        QCOMPARE(fakes->messages.shown.last().text, language.T(99));

        fakes->messages.answers = {MsgResult::No};
        editor->mnuNuovo_Click();
        QCOMPARE(box()->Text(), QString());
        QVERIFY(!editor->DocumentModified());
        editor->mnuNuovo_Click();
        QCOMPARE(editor->UntitledCounter(), std::int16_t(3));
        QCOMPARE(caption(), language.T(96) + " - " + language.T(97) + " 3");
    }

    void openCommandAsksFirst()
    {
        home->write("other.rtf", "{\\rtf1 other}");
        type("draft");
        fakes->messages.answers = {MsgResult::Cancel};
        editor->mnuApri_Click();
        QVERIFY(fakes->fileDialogs.requests.isEmpty());
        fakes->messages.answers = {MsgResult::No};
        fakes->fileDialogs.choose(home->file("other.rtf"));
        editor->mnuApri_Click();
        QCOMPARE(fakes->fileDialogs.requests.last().title, language.T(52));
        QVERIFY(fakes->fileDialogs.requests.last().openMode);
        // Every format the editor reads is shown at first, subtitles included.
        QCOMPARE(fakes->fileDialogs.requests.last().filterPairs.mid(0, 2),
                 (QStringList{"Transcripts", "*.rtf;*.txt;*.srt;*.vtt"}));
        QCOMPARE(box()->Text(), QStringLiteral("other"));
    }

    void changeEventFiresOncePerChange()
    {
        QSignalSpy spy(box(), &RichTextBox::Change);
        box()->setTextRTF("{\\rtf1 {\\b one} two\\par three}");
        QCOMPARE(spy.count(), 1);
        type("x");
        QCOMPARE(spy.count(), 2);
        box()->setText(QString());
        QCOMPARE(spy.count(), 3);
    }

    void functionKeysReachThePlayer()
    {
        const QList<int> keys = {Qt::Key_F5, Qt::Key_F6,  Qt::Key_F7,
                                 Qt::Key_F8, Qt::Key_F11, Qt::Key_Escape};
        for (int key : keys)
            QTest::keyClick(box(), static_cast<Qt::Key>(key), Qt::ShiftModifier);
        QCOMPARE(player->calls,
                 (QStringList{"play", "back", "forward", "bookmarks", "fullpath", "exit"}));
        QCOMPARE(box()->Text(), QString()); // none of them reached the text
        QTest::keyClicks(box(), "ab");
        QCOMPARE(box()->Text(), QStringLiteral("ab"));
    }
};

QTEST_MAIN(TestForm2Document)
#include "test_form2_document.moc"
