// The player window on the real libmpv device, on small generated files: the
// rules that the simulated device checks exactly must also hold on real media.
#include "editor/form2.h"
#include "media_fixtures.h"
#include "platform/mpv/mpv_media_engine.h"
#include "player/form1.h"
#include "session/player_session.h"
#include "support/fakes.h"
#include "support/program_home.h"

#include <QtTest>

using namespace quillory;

class TestPlayerOnLibmpv : public QObject {
    Q_OBJECT

    struct Rig {
        test::ProgramHome home;
        test::FakeServices fakes;
        MpvMediaEngine *engine = nullptr;
        std::unique_ptr<MediaControl> media;
        std::unique_ptr<PlayerSession> session;
        std::unique_ptr<Form1> form;
        std::unique_ptr<Form2> editor;
        Rig()
        {
            MpvEngineOptions options;
            options.audioOutput = "sdl"; // with SDL_AUDIODRIVER=dummy: exact positions
            auto owned = std::make_unique<MpvMediaEngine>(options);
            engine = owned.get();
            media = std::make_unique<MediaControl>(std::move(owned));
            home.write("Quillory.ini", "English.lng\r\n\r\n0\r\n2\r\n3\r\n0\r\n\r\n1\r\n");
            session = std::make_unique<PlayerSession>(*media);
            form = std::make_unique<Form1>(*session, fakes.services());
            form->setEditorFactory([this] {
                editor = std::make_unique<Form2>(form->commands(), form->languageTable(),
                                                 fakes.services());
                return editor.get();
            });
            form->Form_Load(QString());
        }
    };

    // Opens `path` as the window does, without waiting for the device, and
    // waits for the file to play.
    static bool openAndWait(Form1 &form, const QString &path)
    {
        bool opened = false;
        form.OpenMediaFile(path, [&opened] { opened = true; });
        return QTest::qWaitFor([&opened] { return opened; }, 10000);
    }

private slots:
    void initTestCase() { qputenv("SDL_AUDIODRIVER", "dummy"); }

    void endOfMediaLeavesTheFilePausedAtTheStart()
    {
        Rig rig;
        const QString wav = rig.home.file("short.wav");
        QVERIFY(testmedia::writeClickWav(wav, 1));
        QVERIFY(openAndWait(*rig.form, wav));
        QVERIFY(rig.fakes.messages.shown.isEmpty());
        QCOMPARE(rig.form->playState(), PlayState::Playing);
        QVERIFY(rig.form->displayTimerRunning());
        QTRY_VERIFY_WITH_TIMEOUT(!rig.form->displayTimerRunning(), 10000);
        QCOMPARE(rig.form->playState(), PlayState::NotPlaying);
        QCOMPARE(rig.form->CurPos(), 0.0);
        QCOMPARE(rig.form->timeText(), QStringLiteral("0:00 / 0:01"));
        QCOMPARE(rig.form->fileLabelText(), QStringLiteral("short.wav - 0:01"));
    }

    void pauseRewindsExactlyAndJumpsMoveExactly()
    {
        Rig rig;
        const QString wav = rig.home.file("ten.wav");
        QVERIFY(testmedia::writeClickWav(wav, 10));
        QVERIFY(openAndWait(*rig.form, wav));
        rig.form->cmdPlay_Click(); // pause at about 0: rewinds to 0
        QCOMPARE(rig.form->CurPos(), 0.0);
        rig.form->cmdAvanz_click(); // plays from 2000
        rig.form->cmdAvanz_click(); // from about 4000
        QTest::qWait(300);
        rig.form->cmdPlay_Click(); // NotPlaying: "play", timer on
        QCOMPARE(rig.form->playState(), PlayState::Playing);
        const double before = rig.form->CurPos();
        QVERIFY2(before >= 4000, qPrintable(QString::number(before, 'f', 3)));
        rig.form->cmdPlay_Click(); // pause: 3 s back from wherever it was
        const double paused = rig.form->CurPos();
        QVERIFY2(paused >= before - 3000 && paused <= before - 3000 + 1000,
                 qPrintable(QStringLiteral("%1 -> %2").arg(before).arg(paused)));
        QCOMPARE(double(qint64(paused)), paused); // whole milliseconds
        // Paused means still: the position does not move.
        QTest::qWait(200);
        QCOMPARE(rig.form->CurPos(), paused);
        // A jump back from the paused position lands exactly JumpSeconds earlier.
        rig.form->cmdIndietro_Click();
        rig.media->sendString(QStringLiteral("stop wav1"));
        QVERIFY(std::abs(rig.form->CurPos() - std::max(0.0, paused - 2000)) <= 500);
    }

    void failedOpenReportsTheDeviceText()
    {
        Rig rig;
        rig.home.write("notes.mp3", "this is not audio");
        QSignalSpy ended(rig.form.get(), &Form1::programEnded);
        rig.form->OpenMediaFile(rig.home.file("notes.mp3"));
        QTRY_COMPARE_WITH_TIMEOUT(rig.fakes.messages.shown.size(), 1, 10000);
        QCOMPARE(rig.fakes.messages.shown.first().text,
                 mediaErrorText(toCode(MediaError::InvalidFile)));
        QCOMPARE(ended.count(), 1);
    }

    void withoutLibmpvAnOpenReportsItAndEnds()
    {
        test::ProgramHome home;
        test::FakeServices fakes;
        MpvEngineOptions options;
        options.libraryName = "libquillory-no-such-mpv.so.2";
        options.startLater = true;
        MediaControl media(std::make_unique<MpvMediaEngine>(options));
        PlayerSession session(media);
        Form1 form(session, fakes.services());
        std::unique_ptr<Form2> editor;
        form.setEditorFactory([&] {
            editor =
                std::make_unique<Form2>(form.commands(), form.languageTable(), fakes.services());
            return editor.get();
        });
        form.Form_Load(QString()); // the window comes up without the engine
        QVERIFY(fakes.messages.shown.isEmpty());
        const QString wav = home.file("short.wav");
        QVERIFY(testmedia::writeClickWav(wav, 1));
        QSignalSpy ended(&form, &Form1::programEnded);
        form.OpenMediaFile(wav);
        QCOMPARE(fakes.messages.shown.size(), 1);
        QCOMPARE(fakes.messages.shown.first().text,
                 mediaErrorText(toCode(MediaError::DeviceNotInstalled)));
        QCOMPARE(ended.count(), 1);
    }
};

QTEST_MAIN(TestPlayerOnLibmpv)
#include "test_player_on_libmpv.moc"
