// The journal tied to the player and the editor: typing writes the copy, saving
// and a normal end remove it, a restore brings back text and media position,
// and a folder that cannot be written is reported once.
#include "app/recovery_session.h"
#include "editor/rich_text_box.h"
#include "editor/transcript_font.h"
#include "player/test_form1_harness.h"
#include "recovery/recovery_offer.h"
#include "rtf/rtf_writer.h"
#include "support/window_controls.h"

#include <QTemporaryDir>
#include <QTextCursor>
#include <sys/wait.h>
#include <unistd.h>

using namespace quillory;
using namespace quillory::test;

namespace {

QByteArray readFile(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

struct SessionRig {
    SessionRig()
    {
        player.start();
        services = player.fakes.services();
        services.choices = &choices;
        session = std::make_unique<RecoverySession>(*player.form, editor(), services, folder());
        // Short delays keep the test quick; the order of events is the same.
        session->writer().setDelays(5, 20);
        session->writer().setInfoInterval(10);
    }
    QString folder() const { return state.filePath(QStringLiteral("quillory")); }
    Form2 &editor() { return *editorOf(*player.form); }
    RichTextBox &box() { return *control<RichTextBox>(editor(), "RTB"); }
    void type(const QString &text)
    {
        box().setFocus();
        box().moveCursor(QTextCursor::End);
        QTest::keyClicks(&box(), text);
    }
    // Waits until the writes asked for so far are on disk.
    void settle()
    {
        QTRY_VERIFY(!session->writer().writePending());
        session->writer().waitForIdle();
    }
    const RecoveryCopy &copy() { return session->journal().copy(); }

    PlayerRig player;
    QTemporaryDir state;
    FakeChoiceBoxes choices;
    Services services;
    std::unique_ptr<RecoverySession> session;
};

} // namespace

class TestRecoverySession : public QObject {
    Q_OBJECT

private slots:
    void typingKeepsACopyOfTextFormattingAndMediaPosition()
    {
        SessionRig rig;
        const QString media = rig.player.openAt(QStringLiteral("talk.wav"), 600000, 5000);
        rig.type(QStringLiteral("Hello world"));
        QTextCursor cursor(rig.box().document());
        cursor.setPosition(0);
        cursor.setPosition(5, QTextCursor::KeepAnchor);
        rig.box().setTextCursor(cursor);
        rig.box().setSelBold(true);
        rig.box().moveCursor(QTextCursor::End);
        rig.box().setSelBullet(true);
        QTest::keyClick(&rig.box(), Qt::Key_Return);
        rig.type(QStringLiteral("second point "));
        rig.box().insertPlainText(QStringLiteral("\u00e8\u4e2d"));
        rig.settle();

        QVERIFY(rig.session->journal().hasCopy());
        // The copy made from the snapshot on the worker is the editor's own RTF.
        QCOMPARE(readFile(rig.copy().textPath()), writeRtf(*rig.box().document()));
        const RecoveryInfo info = rig.copy().readInfo();
        QVERIFY(info.documentPath.isEmpty());
        QCOMPARE(info.untitledName,
                 rig.editor().UntitledName() + QString::number(rig.editor().UntitledCounter()));
        QCOMPARE(info.mediaPath, media);
        QCOMPARE(info.positionMs, 5000);
        QCOMPARE(info.speed, 1.0);
        QVERIFY(info.savedAt.isValid());

        // Listening on without typing: the position in the copy follows.
        rig.player.engine->advance(3000);
        QTRY_COMPARE(rig.copy().readInfo().positionMs, 8000);
        QCOMPARE(readFile(rig.copy().textPath()), writeRtf(*rig.box().document()));

        // Paused, nothing polls: the copy takes the pause's place, and each
        // move made while paused.
        QVERIFY(rig.session->writer().isFollowingPlayback());
        rig.player.form->cmdPlay_Click();
        QVERIFY(!rig.session->writer().isFollowingPlayback());
        const qint64 paused = qint64(rig.player.form->CurPos());
        QTRY_COMPARE(rig.copy().readInfo().positionMs, paused);
        rig.player.form->cmdAvanz_click();
        QVERIFY(qint64(rig.player.form->CurPos()) > paused);
        QTRY_COMPARE(rig.copy().readInfo().positionMs, qint64(rig.player.form->CurPos()));
        QVERIFY(!rig.session->writer().isFollowingPlayback());
    }

    void changesDuringAWriteAreWrittenRightAfterIt()
    {
        SessionRig rig;
        for (int i = 0; i < 30; ++i) {
            rig.type(QStringLiteral("word%1 ").arg(i));
            QTest::qWait(3);
        }
        rig.settle();
        QVERIFY(rig.session->writer().writesDone() >= 1);
        QCOMPARE(readFile(rig.copy().textPath()), writeRtf(*rig.box().document()));
    }

    void saveNewAndANormalEndRemoveTheCopy()
    {
        SessionRig rig;
        rig.type(QStringLiteral("first"));
        rig.settle();
        QVERIFY(QFile::exists(rig.copy().textPath()));
        const QString saved = rig.player.home.file(QStringLiteral("t.rtf"));
        rig.player.fakes.fileDialogs.choose(saved);
        rig.editor().mnuSalvaConNome_Click();
        QVERIFY(!rig.editor().DocumentModified());
        QVERIFY(QDir(rig.folder()).entryList(QDir::Files).isEmpty());

        // Saved under its path, the copy names that path.
        rig.type(QStringLiteral(" more"));
        rig.settle();
        QCOMPARE(rig.copy().readInfo().documentPath, saved);
        rig.editor().mnuSalva_Click();
        QVERIFY(QDir(rig.folder()).entryList(QDir::Files).isEmpty());

        // New, with the unsaved text given up.
        rig.type(QStringLiteral(" again"));
        rig.settle();
        QVERIFY(QFile::exists(rig.copy().textPath()));
        rig.player.fakes.messages.answers = {MsgResult::No};
        rig.editor().mnuNuovo_Click();
        QVERIFY(QDir(rig.folder()).entryList(QDir::Files).isEmpty());
        rig.settle();
        QVERIFY(QDir(rig.folder()).entryList(QDir::Files).isEmpty());

        // Exit, not saving: the user has answered; the copy goes and no more is written.
        rig.type(QStringLiteral("last"));
        rig.settle();
        QVERIFY(QFile::exists(rig.copy().textPath()));
        rig.player.fakes.messages.answers = {MsgResult::No};
        rig.player.form->mnuEsci_Click();
        QCOMPARE(rig.player.endCount(), 1);
        QVERIFY(QDir(rig.folder()).entryList(QDir::Files).isEmpty());
        rig.box().insertPlainText(QStringLiteral("after the end"));
        QTest::qWait(60);
        QVERIFY(QDir(rig.folder()).entryList(QDir::Files).isEmpty());
    }

    void closingWithTheEditorHiddenKeepsTheUnaskedTextForTheNextStart()
    {
        SessionRig rig;
        rig.type(QStringLiteral("typed, then the editor was hidden"));
        rig.settle();
        rig.editor().hide();
        rig.box().insertPlainText(QStringLiteral(" and one more line"));
        // The close box asks nothing while the editor is hidden; the copy is the
        // only place the text is left, so it is written now and kept.
        rig.player.form->close();
        QCOMPARE(rig.player.endCount(), 1);
        QVERIFY(rig.player.form->endedWithUnaskedText());
        QCOMPARE(readFile(rig.copy().textPath()), writeRtf(*rig.box().document()));
        QVERIFY(QFile::exists(rig.copy().infoPath()));
    }

    void startUpRestoresTextPathAndMediaPosition()
    {
        SessionRig rig;
        const QString media = rig.player.mediaFile(QStringLiteral("lecture.wav"), 900000);
        // What an ended run left: formatted text, its path, the media at 2:03.
        QTextDocument original;
        original.setDefaultFont(TranscriptFont::font()); // as the editor wrote it
        QTextCursor c(&original);
        QTextCharFormat bold;
        bold.setFontWeight(QFont::Bold);
        c.insertText(QStringLiteral("Speaker A: "), bold);
        c.insertText(QStringLiteral("good morning \u00e0 tutti"), QTextCharFormat());
        const QByteArray rtf = writeRtf(original);
        RecoveryInfo info;
        info.documentPath = rig.player.home.file(QStringLiteral("lecture.rtf"));
        info.mediaPath = media;
        info.positionMs = 123000;
        const pid_t child = ::fork();
        if (child == 0)
            ::_exit(0);
        ProcessIdentity ended;
        ended.pid = child;
        ::waitpid(child, nullptr, 0);
        RecoveryJournal left(rig.folder(), ended);
        QVERIFY(left.write(&rtf, info));

        rig.choices.answers = {RecoveryOffer::Restore};
        QVERIFY(rig.session->offerLeftCopies());
        QCOMPARE(rig.choices.asked.size(), 1);
        QCOMPARE(rig.choices.asked[0].title, rig.player.T(1));

        QCOMPARE(rig.box().toPlainText(), original.toPlainText());
        QCOMPARE(writeRtf(*rig.box().document()), rtf);
        QVERIFY(rig.editor().DocumentModified());
        QCOMPARE(rig.editor().DocumentPath(), info.documentPath);
        QVERIFY(rig.editor().windowTitle().endsWith(QStringLiteral("lecture.rtf")));

        QCOMPARE(rig.player.form->mediaPath(), media);
        QCOMPARE(rig.player.form->playState(), PlayState::NotPlaying);
        QVERIFY(!rig.player.form->displayTimerRunning());
        QCOMPARE(rig.player.form->CurPos(), 123000.0);
        rig.player.engine->advance(1000);
        QCOMPARE(rig.player.form->CurPos(), 123000.0);

        // The text is in this run's copy before the old copy goes.
        QVERIFY(!QFile::exists(left.copy().textPath()));
        QCOMPARE(readFile(rig.copy().textPath()), rtf);
        QCOMPARE(rig.copy().readInfo().mediaPath, media);
        QCOMPARE(rig.copy().readInfo().positionMs, 123000);

        // A close now asks about the restored text as about any unsaved text.
        rig.player.fakes.messages.answers = {MsgResult::Cancel};
        rig.player.form->mnuEsci_Click();
        QCOMPARE(rig.player.endCount(), 0);
    }

    void aFolderThatCannotBeWrittenIsReportedOnceAndTypingGoesOn()
    {
        SessionRig rig;
        // The lock's place taken by a folder: every write fails (as root, a
        // read-only folder would not stop us).
        QVERIFY(QDir().mkpath(rig.copy().lockPath()));
        QString typed;
        for (int round = 0; round < 4; ++round) {
            const QString word = QStringLiteral("round%1 ").arg(round);
            rig.type(word);
            typed += word;
            rig.settle();
        }
        QCOMPARE(rig.box().toPlainText(), typed);
        QCOMPARE(rig.player.fakes.messages.shown.size(), 1);
        QVERIFY(rig.player.fakes.messages.shown[0].text.contains(rig.folder()));
        QCOMPARE(rig.player.fakes.messages.shown[0].title, rig.player.T(1));
        QVERIFY(!rig.session->journal().hasCopy());

        // The folder comes back: the copy is written again, without a message.
        QVERIFY(QDir(rig.copy().lockPath()).removeRecursively());
        rig.type(QStringLiteral("ok"));
        rig.settle();
        QVERIFY(rig.session->journal().hasCopy());
        QCOMPARE(rig.player.fakes.messages.shown.size(), 1);
    }
};

QTEST_MAIN(TestRecoverySession)
#include "test_recovery_session.moc"
