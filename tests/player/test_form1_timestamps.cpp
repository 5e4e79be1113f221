#include "editor/rich_text_box.h"
#include "editor/timestamp_dialog.h"
#include "editor/timestamps.h"
#include "platform/files/preferences.h"
#include "support/window_controls.h"
#include "test_form1_harness.h"

#include <QDialogButtonBox>
#include <QLineEdit>
#include <QMenuBar>
#include <QRadioButton>
#include <QTemporaryDir>
#include <QTextBlock>

using namespace quillory;
using test::PlayerRig;

namespace {

constexpr qint64 Hour = 3600000;

// The player on the simulated device with its editor, a rewind of 3 s on pause,
// and the preferences store of this rig's program folder.
struct StampRig : PlayerRig {
    StampRig()
    {
        Preferences::shared() = Preferences(home.file(QStringLiteral("Preferences.ini")));
        Preferences::shared().load();
        start();
        form->setPauseRewindSeconds(3);
    }
    Form2 &editor() { return *test::editorOf(*form); }
    RichTextBox &rtb() { return *control<RichTextBox>(editor(), "RTB"); }
    QAction *item(const char *name) { return control<QAction>(editor(), name); }
    QString text() { return rtb().Text(); }
    void choose(int format, const QString &offset)
    {
        Preferences::shared().setInteger(QStringLiteral("timestamp.format"), format);
        Preferences::shared().setText(QStringLiteral("timestamp.offset"), offset);
    }
    void typeAtEnd(const QString &words)
    {
        QTextCursor c = rtb().textCursor();
        c.movePosition(QTextCursor::End);
        c.insertText(words);
        rtb().setTextCursor(c);
    }
    void pressTimestampKey() { QTest::keyClick(&rtb(), Qt::Key_F2); }
    qint64 position() const { return engine->positionMs(); }
    // The viewport point over the middle of the character at a document position.
    QPoint pointOver(int position)
    {
        QTextCursor before(rtb().document());
        before.setPosition(position);
        QTextCursor after(rtb().document());
        after.setPosition(position + 1);
        const QRect a = rtb().cursorRect(before);
        const QRect b = rtb().cursorRect(after);
        return QPoint((a.center().x() + b.center().x()) / 2, a.center().y());
    }
};

} // namespace

// Timestamps written from the player's position and clicked to play from there.
class TestForm1Timestamps : public QObject {
    Q_OBJECT
private slots:
    void insertThenCtrlClickPlaysFromThere_data()
    {
        QTest::addColumn<int>("format");
        QTest::addColumn<QString>("offset");
        QTest::addColumn<QString>("stamp");
        QTest::addColumn<qint64>("shown");
        QTest::newRow("m:ss") << 0 << ""
                              << "[01:23]" << qint64(83000);
        QTest::newRow("h:mm:ss") << 1 << ""
                                 << "[0:01:23]" << qint64(83000);
        QTest::newRow("tenths") << 2 << ""
                                << "[00:01:23.4]" << qint64(83400);
        QTest::newRow("hash") << 3 << ""
                              << "#00:01:23-4#" << qint64(83400);
        QTest::newRow("m:ss offset") << 0 << "10:02:00"
                                     << "[603:23]" << qint64(83000);
        QTest::newRow("h:mm:ss offset") << 1 << "10:02:00"
                                        << "[10:03:23]" << qint64(83000);
        QTest::newRow("tenths offset") << 2 << "10:02:00"
                                       << "[10:03:23.4]" << qint64(83400);
        QTest::newRow("hash offset") << 3 << "10:02:00"
                                     << "#10:03:23-4#" << qint64(83400);
    }
    void insertThenCtrlClickPlaysFromThere()
    {
        QFETCH(int, format);
        QFETCH(QString, offset);
        QFETCH(QString, stamp);
        QFETCH(qint64, shown);
        StampRig rig;
        rig.choose(format, offset);
        rig.openAt(QStringLiteral("talk.mp3"), 600000, 83456);
        rig.typeAtEnd(QStringLiteral("Anna: "));
        rig.pressTimestampKey();
        QCOMPARE(rig.text(), QStringLiteral("Anna: ") + stamp);
        QCOMPARE(rig.rtb().textCursor().position(), int(rig.text().size()));

        // Playing on: resumes at the timestamp less the rewind, as a bookmark does.
        rig.engine->advance(60000);
        QVERIFY(rig.editor().playTimestampAt(8));
        QCOMPARE(rig.form->playState(), PlayState::Playing);
        QVERIFY(rig.engine->isPlaying());
        QCOMPARE(rig.position(), shown - 3000);

        // Paused: stays paused there.
        rig.engine->advance(30000);
        rig.form->cmdPlay_Click();
        QVERIFY(rig.editor().playTimestampAt(int(rig.text().size()) - 1));
        QCOMPARE(rig.form->playState(), PlayState::NotPlaying);
        QVERIFY(!rig.engine->isPlaying());
        QCOMPARE(rig.position(), shown - 3000);
        QCOMPARE(rig.fakes.messages.beeps, 0);
    }

    void insertTakesTheCaretsFormatAndIsOneUndoStep()
    {
        StampRig rig;
        rig.openAt(QStringLiteral("talk.mp3"), 600000, 5000);
        rig.typeAtEnd(QStringLiteral("one two"));
        // "two" selected and bold at the caret: the stamp replaces it, in bold.
        QTextCursor c = rig.rtb().textCursor();
        c.setPosition(4);
        c.setPosition(7, QTextCursor::KeepAnchor);
        rig.rtb().setTextCursor(c);
        rig.rtb().setSelBold(true);
        const int steps = rig.editor().UndoIndex();
        rig.pressTimestampKey();
        QCOMPARE(rig.text(), QStringLiteral("one [00:05]"));
        rig.rtb().setSelStart(4);
        rig.rtb().setSelLength(7);
        QCOMPARE(rig.rtb().SelBold(), std::optional<bool>(true));
        QCOMPARE(rig.editor().UndoIndex(), steps + 1);
        QVERIFY(rig.editor().DocumentModified());
        rig.editor().mnuAnnulla_Click();
        QCOMPARE(rig.text(), QStringLiteral("one two"));
    }

    void withoutMediaNothingIsWrittenOrPlayed()
    {
        StampRig rig;
        rig.typeAtEnd(QStringLiteral("x [00:05] y"));
        rig.pressTimestampKey();
        QCOMPARE(rig.text(), QStringLiteral("x [00:05] y"));
        QCOMPARE(rig.fakes.messages.beeps, 1);
        // A timestamp is still one: the click is taken, but there is nothing to play.
        QVERIFY(rig.editor().playTimestampAt(3));
        QCOMPARE(rig.fakes.messages.beeps, 2);
        QVERIFY(!control<PictureButton>(*rig.form, "cmdPlay")->isEnabled());
        QVERIFY(!rig.form->displayTimerRunning());
    }

    void malformedOnesAreOrdinaryText()
    {
        StampRig rig;
        rig.openAt(QStringLiteral("talk.mp3"), 600000, 50000);
        rig.typeAtEnd(QStringLiteral("[01:60] [0:61:00] #00:01:23.4# [01:23 (01:23) [1:2]"));
        for (int i = 0; i < rig.text().size(); ++i)
            QVERIFY2(!rig.editor().playTimestampAt(i), qPrintable(QString::number(i)));
        QCOMPARE(rig.position(), qint64(50000));
        QCOMPARE(rig.fakes.messages.beeps, 0);
    }

    void outsideTheRecordingBeeps()
    {
        StampRig rig;
        rig.choose(1, QStringLiteral("10:00:00"));
        rig.openAt(QStringLiteral("talk.mp3"), 120000, 50000);
        // Before the recording started, and past its end.
        rig.typeAtEnd(QStringLiteral("[9:59:59] [10:05:00] [10:01:00]"));
        QVERIFY(rig.editor().playTimestampAt(1));
        QVERIFY(rig.editor().playTimestampAt(12));
        QCOMPARE(rig.fakes.messages.beeps, 2);
        QCOMPARE(rig.position(), qint64(50000));
        QVERIFY(rig.editor().playTimestampAt(23));
        QCOMPARE(rig.position(), qint64(60000 - 3000));
    }

    void badPreferencesGiveTheDefaults()
    {
        StampRig rig;
        Preferences::shared().setText(QStringLiteral("timestamp.format"), QStringLiteral("9"));
        Preferences::shared().setText(QStringLiteral("timestamp.offset"), QStringLiteral("banana"));
        Preferences::shared().setText(QStringLiteral("keys.timestamp"), QStringLiteral("F5"));
        rig.openAt(QStringLiteral("talk.mp3"), 600000, 83456);
        rig.pressTimestampKey();
        QCOMPARE(rig.text(), QStringLiteral("[01:23]"));
        QVERIFY(rig.editor().playTimestampAt(0));
        QCOMPARE(rig.position(), qint64(80000));
    }

    void anotherKeyFromThePreferences()
    {
        StampRig rig;
        Preferences::shared().setText(QStringLiteral("keys.timestamp"), QStringLiteral("Ctrl+T"));
        rig.openAt(QStringLiteral("talk.mp3"), 600000, 7000);
        rig.pressTimestampKey();
        QCOMPARE(rig.text(), QString());
        QTest::keyClick(&rig.rtb(), Qt::Key_T, Qt::ControlModifier);
        QCOMPARE(rig.text(), QStringLiteral("[00:07]"));
    }

    void savedAsRtfAndReopenedStillPlays()
    {
        QTemporaryDir folder;
        const QString path = folder.filePath(QStringLiteral("transcript.rtf"));
        {
            StampRig rig;
            rig.choose(3, QString());
            rig.openAt(QStringLiteral("talk.mp3"), 600000, 83456);
            rig.typeAtEnd(QStringLiteral("Q: why?\nA: "));
            rig.rtb().setSelItalic(true);
            rig.pressTimestampKey();
            QVERIFY(rig.rtb().SaveFile(path));
        }
        StampRig rig;
        rig.openAt(QStringLiteral("talk.mp3"), 600000, 200000);
        rig.editor().OpenDocument(path);
        const QTextBlock second = rig.rtb().document()->findBlockByNumber(1);
        QCOMPARE(second.text(), QStringLiteral("A: #00:01:23-4#"));
        // Read back whatever format is chosen now.
        rig.choose(0, QString());
        QVERIFY(rig.editor().playTimestampAt(second.position() + 5));
        QCOMPARE(rig.position(), qint64(80400));
    }

    void ctrlClickWithTheMouse()
    {
        StampRig rig;
        rig.openAt(QStringLiteral("talk.mp3"), 600000, 83456);
        rig.typeAtEnd(QStringLiteral("Anna: "));
        rig.pressTimestampKey();
        rig.typeAtEnd(QStringLiteral(" said so"));
        rig.editor().show();
        QVERIFY(QTest::qWaitForWindowExposed(&rig.editor()));
        rig.engine->advance(20000);
        rig.form->cmdPlay_Click(); // paused at 100456 - 3000
        const qint64 before = rig.position();
        QTextCursor caret = rig.rtb().textCursor();
        caret.setPosition(2);
        rig.rtb().setTextCursor(caret);
        QWidget *viewport = rig.rtb().viewport();

        // Ctrl+click on a word: an ordinary click, the caret moves.
        QTest::mouseClick(viewport, Qt::LeftButton, Qt::ControlModifier, rig.pointOver(17));
        QCOMPARE(rig.position(), before);
        QVERIFY(rig.rtb().textCursor().position() != 2);

        // A plain click on the timestamp moves the caret and plays nothing.
        QTest::mouseClick(viewport, Qt::LeftButton, Qt::NoModifier, rig.pointOver(9));
        QCOMPARE(rig.position(), before);
        const int caretAfterPlainClick = rig.rtb().textCursor().position();
        QVERIFY(caretAfterPlainClick >= 9 && caretAfterPlainClick <= 10);

        // Ctrl+click on it plays from there, paused as it was; the caret stays.
        QTest::mouseClick(viewport, Qt::LeftButton, Qt::ControlModifier, rig.pointOver(7));
        QCOMPARE(rig.position(), qint64(80000));
        QCOMPARE(rig.form->playState(), PlayState::NotPlaying);
        QCOMPARE(rig.rtb().textCursor().position(), caretAfterPlainClick);

        // With Ctrl held the pointer is a hand over the timestamp, only there.
        auto hover = [&](int position, Qt::KeyboardModifiers modifiers) {
            const QPoint at = rig.pointOver(position);
            QMouseEvent move(QEvent::MouseMove, at, viewport->mapToGlobal(at), Qt::NoButton,
                             Qt::NoButton, modifiers);
            QApplication::sendEvent(viewport, &move);
            return viewport->cursor().shape();
        };
        QCOMPARE(hover(8, Qt::ControlModifier), Qt::PointingHandCursor);
        QCOMPARE(hover(8, Qt::NoModifier), Qt::IBeamCursor);
        QCOMPARE(hover(8, Qt::ControlModifier), Qt::PointingHandCursor);
        QCOMPARE(hover(17, Qt::ControlModifier), Qt::IBeamCursor);

        // Past the end of the line there is no character: nothing happens.
        QTest::mouseClick(viewport, Qt::LeftButton, Qt::ControlModifier,
                          QPoint(viewport->width() - 5, rig.pointOver(7).y()));
        QCOMPARE(rig.position(), qint64(80000));
        QCOMPARE(rig.fakes.messages.beeps, 0);
    }

    void settingsDialogStoresTheChoice()
    {
        StampRig rig;
        QVERIFY(rig.editor().menuBar()->actions().contains(
            control<QMenu>(rig.editor(), "mnuTimestamp")->menuAction()));
        QCOMPARE(rig.item("mnuInserisciTimestamp")->shortcut(), QKeySequence(Qt::Key_F2));
        rig.item("mnuImpostaTimestamp")->trigger();
        auto *dialog = rig.editor().findChild<TimestampDialog *>();
        QVERIFY(dialog);
        QVERIFY(dialog->optFormat[0]->isChecked());
        QCOMPARE(dialog->optFormat[3]->text(), QStringLiteral("#00:01:23-4#"));
        QCOMPARE(dialog->txtOffset->text(), QStringLiteral("00:00:00"));
        QPushButton *ok = dialog->buttons->button(QDialogButtonBox::Ok);
        dialog->optFormat[2]->setChecked(true);
        dialog->txtOffset->setText(QStringLiteral("10:61:00"));
        QVERIFY(!ok->isEnabled());
        dialog->txtOffset->setText(QStringLiteral("10:02:00"));
        QVERIFY(ok->isEnabled());
        ok->click();
        QCOMPARE(rig.fakes.messages.shown.size(), 0);
        QStringList lines;
        QVERIFY(readTextLines(rig.home.file(QStringLiteral("Preferences.ini")), &lines));
        QVERIFY(lines.contains(QStringLiteral("timestamp.format=2")));
        QVERIFY(lines.contains(QStringLiteral("timestamp.offset=10:02:00")));

        rig.openAt(QStringLiteral("talk.mp3"), 600000, 1000);
        rig.item("mnuInserisciTimestamp")->trigger();
        QCOMPARE(rig.text(), QStringLiteral("[10:02:01.0]"));
    }
};

QTEST_MAIN(TestForm1Timestamps)
#include "test_form1_timestamps.moc"
