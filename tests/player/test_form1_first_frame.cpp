// The editor's start-up handed to the moment after the player's first frame:
// what the player shows meanwhile, what the editor is once it comes up, and
// that neither typing nor a command given in between is lost.
#include "editor/rich_text_box.h"
#include "player/early_keys.h"
#include "player/picture_preload.h"
#include "support/window_controls.h"
#include "test_form1_harness.h"

#include <QLineEdit>
#include <QMenu>
#include <QTemporaryDir>

using namespace quillory;
using namespace quillory::test;

namespace {

// Collects the deferred steps; the test runs them as the first frame would.
struct FirstFrame {
    std::vector<std::function<void()>> steps;
    void attach(Form1 &form)
    {
        form.setAfterFirstFrame(
            [this](std::function<void()> step) { steps.push_back(std::move(step)); });
    }
    void paint()
    {
        auto due = std::move(steps);
        steps.clear();
        for (auto &step : due)
            step();
    }
};

QString hideEditorCaption(PlayerRig &rig)
{
    return rig.T(85) + QStringLiteral(" ") + rig.T(86);
}

RichTextBox &textOf(Form1 &form)
{
    return *control<RichTextBox>(*editorOf(form), "RTB");
}

} // namespace

class TestForm1FirstFrame : public QObject {
    Q_OBJECT

private slots:
    void theEditorComesUpAfterTheFirstFrameBelowThePlayer()
    {
        PlayerRig rig;
        FirstFrame frame;
        frame.attach(rig.create());
        Form1 &form = rig.start();
        // The player is up; the editor is not even built yet, but the menu
        // already offers to hide it, as it will be shown.
        QVERIFY(form.isVisible());
        QVERIFY(form.editorDue());
        QVERIFY(form.editorIfBuilt() == nullptr);
        QCOMPARE(control<QAction>(form, "mnuMostraNascondi")->text(), hideEditorCaption(rig));
        // The editor, then the master volume: the mixer is not asked before
        // the frame (with a sound server that takes a while).
        QCOMPARE(frame.steps.size(), size_t(2));
        QCOMPARE(rig.fakes.mixer.openCalls, 0);
        QVERIFY(rig.fakes.mixer.sets.isEmpty());

        frame.paint();
        QCOMPARE(rig.fakes.mixer.openCalls, 1);
        QVERIFY(!form.editorDue());
        Form2 *editor = rig.editorWindow.get();
        QCOMPARE(form.editorIfBuilt(), static_cast<TranscriptEditor *>(editor));
        QVERIFY(editor != nullptr);
        QVERIFY(editor->isVisible());
        QCOMPARE(editor->pos(), QPoint(form.x(), form.y() + form.frameGeometry().height()));
        // Loaded as at any start: the language applied, nothing to save.
        QCOMPARE(control<QMenu>(*editor, "mnuFile")->title(), rig.T(2));
        QVERIFY(!editor->DocumentModified());
        QCOMPARE(control<QAction>(form, "mnuMostraNascondi")->text(), hideEditorCaption(rig));
        QCOMPARE(rig.fakes.switcher.switches, 0);
        QVERIFY(!rig.settingsExist());
    }

    void aHiddenEditorIsBuiltAfterTheFirstFrameAndStaysHidden()
    {
        PlayerRig rig;
        rig.writeSettings(QStringLiteral("English.lng||0|5|3|1||1").split(QLatin1Char('|')));
        FirstFrame frame;
        frame.attach(rig.create());
        Form1 &form = rig.start();
        QVERIFY(form.editorIfBuilt() == nullptr);
        QCOMPARE(control<QAction>(form, "mnuMostraNascondi")->text(),
                 rig.T(84) + QStringLiteral(" ") + rig.T(86));
        QTest::keyClicks(&form, QStringLiteral("abc"));
        frame.paint();
        QVERIFY(form.editorIfBuilt() != nullptr);
        QVERIFY(!editorOf(form)->isVisible());
        // With no editor to type into, the player drops typing as always.
        QCOMPARE(textOf(form).toPlainText(), QString());
    }

    void charactersTypedBeforeTheEditorIsUpGoIntoIt()
    {
        PlayerRig rig;
        FirstFrame frame;
        frame.attach(rig.create());
        Form1 &form = rig.start();
        QTest::keyClicks(&form, QStringLiteral("Hello, "));
        QTest::keyClick(&form, Qt::Key_Return);
        QTest::keyClicks(&form, QStringLiteral("worlds"));
        QTest::keyClick(&form, Qt::Key_Backspace);
        frame.paint();
        QCOMPARE(textOf(form).toPlainText(), QStringLiteral("Hello, \nworld"));
        QVERIFY(editorOf(form)->DocumentModified());
        // The editor took the focus for what follows.
        QCOMPARE(editorOf(form)->focusWidget(), static_cast<QWidget *>(&textOf(form)));
        QCOMPARE(rig.fakes.switcher.switches, 0);
    }

    void escapeBeforeTheEditorIsUpAsksAboutWhatWasTyped()
    {
        PlayerRig rig;
        FirstFrame frame;
        frame.attach(rig.create());
        Form1 &form = rig.start();
        QTest::keyClicks(&form, QStringLiteral("ab"));
        rig.fakes.messages.answers = {MsgResult::No};
        QTest::keyClick(&form, Qt::Key_Escape);
        // The typing is the editor's text, so Exit asks about it, then ends.
        QCOMPARE(rig.fakes.messages.shown.size(), 1);
        QCOMPARE(rig.fakes.messages.shown.first().buttons, MsgButtons::YesNoCancel);
        QCOMPARE(textOf(form).toPlainText(), QStringLiteral("ab"));
        QCOMPARE(rig.endCount(), 1);
        frame.paint();
        QVERIFY(!editorOf(form)->isVisible());
        QVERIFY(!form.isVisible());
    }

    void escapeBeforeTheEditorIsUpEndsAtOnceWithoutTyping()
    {
        PlayerRig rig;
        FirstFrame frame;
        frame.attach(rig.create());
        Form1 &form = rig.start();
        QTest::keyClick(&form, Qt::Key_Escape);
        QVERIFY(rig.fakes.messages.shown.isEmpty());
        QCOMPARE(rig.endCount(), 1);
        frame.paint();
        QVERIFY(!editorOf(form)->isVisible());
    }

    // A command that needs the editor does not wait for the first frame: it
    // completes the editor's start-up first, exactly once.
    void whatNeedsTheEditorBringsItUpAtOnce()
    {
        PlayerRig rig;
        FirstFrame frame;
        frame.attach(rig.create());
        Form1 &form = rig.start();
        QTest::keyClicks(&form, QStringLiteral("x"));
        control<QAction>(form, "mnuTitoloCompleto")
            ->trigger(); // toggles the option and saves the settings
        QVERIFY(!form.editorDue());
        QVERIFY(editorOf(form)->isVisible());
        QCOMPARE(rig.settingsLines().value(7), QStringLiteral("0"));
        QCOMPARE(rig.fakes.switcher.switches, 0);
        Form2 *editor = editorOf(form);
        frame.paint();
        QCOMPARE(editorOf(form), editor);
        QVERIFY(editor->isVisible());
        QCOMPARE(textOf(form).toPlainText(), QStringLiteral("x"));
    }

    void aFileGivenAtTheStartOpensBeforeTheEditorIsUp()
    {
        PlayerRig rig;
        FirstFrame frame;
        frame.attach(rig.create());
        const QString file = rig.mediaFile(QStringLiteral("talk.wav"), 125000);
        Form1 &form = rig.start(file);
        QCOMPARE(form.mediaPath(), file);
        QCOMPARE(form.fileLabelText(), file + QStringLiteral(" - 2:05"));
        QCOMPARE(form.playState(), PlayState::Playing);
        // Opening returned the focus to the editor, which therefore came up.
        QVERIFY(editorOf(form)->isVisible());
        QCOMPARE(rig.fakes.switcher.switches, 0);
        frame.paint();
        QVERIFY(editorOf(form)->isVisible());
    }

    // What the start-up decodes ahead is what the player then shows.
    void theFirstFramePicturesAreTheShippedOnes()
    {
        PlayerRig rig;
        const QStringList pictures = Form1::firstFramePictures();
        QCOMPARE(pictures.size(), 8);
        for (const QString &path : pictures) {
            QVERIFY2(path.startsWith(rig.home.file(QStringLiteral("Files/"))), qPrintable(path));
            QVERIFY2(!QImage(path).isNull(), qPrintable(path));
        }
    }

    void preloadedPicturesAreThoseOnDiskAndOthersAreReadAsAsked()
    {
        QTemporaryDir folder;
        const QString red = folder.filePath(QStringLiteral("red.png"));
        const QString blue = folder.filePath(QStringLiteral("blue.bmp"));
        const QString later = folder.filePath(QStringLiteral("later.png"));
        QImage image(7, 5, QImage::Format_RGB32);
        image.fill(Qt::red);
        QVERIFY(image.save(red));
        image.fill(Qt::blue);
        QVERIFY(image.save(blue));
        PicturePreload::start({red, blue, folder.filePath(QStringLiteral("missing.jpg"))});
        QCOMPARE(PicturePreload::read(blue).pixelColor(3, 2), QColor(Qt::blue));
        QCOMPARE(PicturePreload::read(red).pixelColor(0, 0), QColor(Qt::red));
        QCOMPARE(PicturePreload::read(red).size(), QSize(7, 5));
        QVERIFY(PicturePreload::read(folder.filePath(QStringLiteral("missing.jpg"))).isNull());
        // A picture nobody named ahead is read when asked, as it is then.
        image.fill(Qt::green);
        QVERIFY(image.save(later));
        QCOMPARE(PicturePreload::read(later).pixelColor(1, 1), QColor(Qt::green));
        image.fill(Qt::yellow);
        QVERIFY(image.save(later));
        QCOMPARE(PicturePreload::read(later).pixelColor(1, 1), QColor(Qt::yellow));
        PicturePreload::finish();
    }

    void typingIsToldFromCommands()
    {
        QVERIFY(EarlyKeys::isTyping(Qt::Key_A, Qt::NoModifier, QStringLiteral("a")));
        QVERIFY(EarlyKeys::isTyping(Qt::Key_A, Qt::ShiftModifier, QStringLiteral("A")));
        QVERIFY(EarlyKeys::isTyping(Qt::Key_Space, Qt::NoModifier, QStringLiteral(" ")));
        QVERIFY(EarlyKeys::isTyping(Qt::Key_Agrave, Qt::NoModifier, QStringLiteral("à")));
        QVERIFY(EarlyKeys::isTyping(Qt::Key_Return, Qt::NoModifier, QStringLiteral("\r")));
        QVERIFY(EarlyKeys::isTyping(Qt::Key_Backspace, Qt::NoModifier, QStringLiteral("\b")));
        QVERIFY(!EarlyKeys::isTyping(Qt::Key_Escape, Qt::NoModifier, QStringLiteral("\x1b")));
        QVERIFY(!EarlyKeys::isTyping(Qt::Key_F5, Qt::NoModifier, QString()));
        QVERIFY(!EarlyKeys::isTyping(Qt::Key_S, Qt::ControlModifier, QStringLiteral("\x13")));
        QVERIFY(!EarlyKeys::isTyping(Qt::Key_X, Qt::AltModifier, QStringLiteral("x")));
        QVERIFY(!EarlyKeys::isTyping(Qt::Key_Left, Qt::NoModifier, QString()));
    }

    void heldKeysAreTypedInOrderOnlyFromTheirWindow()
    {
        QWidget window;
        auto *own = new QLineEdit(&window);
        QWidget elsewhere;
        auto *other = new QLineEdit(&elsewhere);
        QLineEdit target;
        auto early = std::make_unique<EarlyKeys>(&window);
        QTest::keyClicks(own, QStringLiteral("ab"));
        QTest::keyClicks(other, QStringLiteral("cd"));
        QTest::keyClick(own, Qt::Key_Backspace);
        QTest::keyClicks(own, QStringLiteral("e"));
        QCOMPARE(own->text(), QString());
        QCOMPARE(other->text(), QStringLiteral("cd"));
        HeldKeys keys = early->takeKeys();
        QVERIFY(early->isEmpty());
        QCOMPARE(keys.count(), 4);
        early.reset();
        keys.replayInto(&target);
        QCOMPARE(target.text(), QStringLiteral("ae"));
        QVERIFY(keys.isEmpty());
        // Once it is gone, typing reaches the window again.
        QTest::keyClicks(own, QStringLiteral("f"));
        QCOMPARE(own->text(), QStringLiteral("f"));
    }
};

QTEST_MAIN(TestForm1FirstFrame)
#include "test_form1_first_frame.moc"
