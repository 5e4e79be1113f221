#include "media_fixtures.h"
#include "platform/files/preferences.h"
#include "platform/files/program_folder.h"
#include "platform/mpv/mpv_media_engine.h"
#include "video/mpv_video_renderer.h"
#include "video/video_view.h"
#include "video/video_window.h"

#include <QApplication>
#include <QFile>
#include <QLineEdit>
#include <QTemporaryDir>
#include <QtTest>

using namespace quillory;

namespace {

// The colour in the middle of the top and of the bottom half of the picture.
struct Halves {
    QColor top, bottom;
};

Halves halvesOf(const QImage &image)
{
    return {image.pixelColor(image.width() / 2, image.height() / 4),
            image.pixelColor(image.width() / 2, image.height() * 3 / 4)};
}

bool near(const QColor &colour, int red, int green, int blue)
{
    constexpr int Tolerance = 48; // colour conversion and scaling blur a little
    return qAbs(colour.red() - red) <= Tolerance && qAbs(colour.green() - green) <= Tolerance &&
           qAbs(colour.blue() - blue) <= Tolerance;
}

QString describe(const Halves &halves)
{
    return halves.top.name() + QLatin1Char('/') + halves.bottom.name();
}

} // namespace

// A 2 s video, red over green in the first second and blue in the second, with
// sound; an MP3, an MP3 with cover art and a video whose codec nobody knows.
class TestVideoWindow : public QObject {
    Q_OBJECT

private:
    QTemporaryDir m_dir;
    std::shared_ptr<MpvVideoRenderer> m_renderer;
    std::unique_ptr<MpvMediaEngine> m_engine;
    std::unique_ptr<VideoWindow> m_window;

    QString media(const char *name) const { return m_dir.filePath(QString::fromLatin1(name)); }
    Halves shown() const { return halvesOf(m_window->view()->grab().toImage()); }

    bool openFile(const char *name)
    {
        const MediaError error = m_engine->open(media(name));
        if (error != MediaError::None)
            qWarning() << "open" << name << int(error);
        return error == MediaError::None;
    }

private slots:
    void initTestCase()
    {
        QVERIFY(m_dir.isValid());
        ProgramFolder::set(m_dir.path()); // preferences go to the temporary folder
        if (!testmedia::ffmpegAvailable())
            QSKIP("ffmpeg is not installed");
        QVERIFY(testmedia::runFfmpeg({"-f",
                                      "lavfi",
                                      "-i",
                                      "color=c=red:s=320x240:r=25:d=1",
                                      "-f",
                                      "lavfi",
                                      "-i",
                                      "color=c=blue:s=320x240:r=25:d=1",
                                      "-f",
                                      "lavfi",
                                      "-i",
                                      "sine=frequency=440:duration=2",
                                      "-filter_complex",
                                      "[0:v]drawbox=x=0:y=120:w=320:h=120:color=lime:t=fill[a];[a]["
                                      "1:v]concat=n=2:v=1:a=0[v]",
                                      "-map",
                                      "[v]",
                                      "-map",
                                      "2:a",
                                      "-c:v",
                                      "libx264",
                                      "-preset",
                                      "ultrafast",
                                      "-g",
                                      "5",
                                      "-pix_fmt",
                                      "yuv420p",
                                      "-c:a",
                                      "aac",
                                      media("picture.mp4")}));
        QVERIFY(testmedia::runFfmpeg({"-f", "lavfi", "-i", "sine=frequency=440:duration=2", "-c:a",
                                      "libmp3lame", media("tone.mp3")}));
        QVERIFY(testmedia::runFfmpeg(
            {"-f", "lavfi", "-i", "color=c=yellow:s=64x64", "-frames:v", "1", media("cover.png")}));
        QVERIFY(testmedia::runFfmpeg({"-i", media("tone.mp3"), "-i", media("cover.png"), "-map",
                                      "0", "-map", "1", "-c", "copy", "-id3v2_version", "3",
                                      "-disposition:v", "attached_pic", media("cover.mp3")}));
        // A Matroska file whose video codec id no decoder knows (same length as
        // the real one, so the file stays well formed).
        QVERIFY(
            testmedia::runFfmpeg({"-i", media("picture.mp4"), "-c", "copy", media("unknown.mkv")}));
        QFile file(media("unknown.mkv"));
        QVERIFY(file.open(QIODevice::ReadWrite));
        QByteArray bytes = file.readAll();
        QVERIFY(bytes.contains("V_MPEG4/ISO/AVC"));
        bytes.replace("V_MPEG4/ISO/AVC", "V_QUILLORY/NONE");
        QVERIFY(file.seek(0) && file.write(bytes) == bytes.size());
        file.close();

        const bool expectOpenGL = qEnvironmentVariableIsSet("QUILLORY_TEST_EXPECT_OPENGL");
        m_renderer = std::make_shared<MpvVideoRenderer>();
        MpvEngineOptions options;
        options.audioOutput = "null";
        options.videoHost = m_renderer;
        m_engine = std::make_unique<MpvMediaEngine>(options);
        QVERIFY(m_engine->isReady());
        QVERIFY2(m_renderer->output() != MpvVideoRenderer::Output::None,
                 qPrintable(m_renderer->outputProblem()));
        if (expectOpenGL)
            QCOMPARE(m_renderer->output(), MpvVideoRenderer::Output::OpenGL);
        qInfo("picture output: %s",
              m_renderer->output() == MpvVideoRenderer::Output::OpenGL ? "OpenGL" : "software");
        m_window = std::make_unique<VideoWindow>(*m_renderer, [] { return QList<QWidget *>(); });
    }

    void cleanupTestCase()
    {
        m_window.reset();
        m_engine.reset(); // frees the render context before the player
        if (m_renderer)
            QCOMPARE(m_renderer->output(), MpvVideoRenderer::Output::None);
        m_renderer.reset();
    }

    void windowIsAFocuslessCompanion()
    {
        QCOMPARE(m_window->objectName(), QStringLiteral("frmVideo"));
        QVERIFY(!m_window->accessibleName().isEmpty());
        QVERIFY(m_window->windowFlags() & Qt::WindowDoesNotAcceptFocus);
        QVERIFY(m_window->windowFlags() & Qt::WindowStaysOnTopHint);
        QVERIFY(m_window->testAttribute(Qt::WA_ShowWithoutActivating));
        QVERIFY(!m_window->isVisible());
    }

    void videoOpensTheWindowAndAudioClosesIt()
    {
        QLineEdit typing;
        typing.show();
        typing.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&typing));

        QVERIFY(openFile("picture.mp4"));
        QTRY_VERIFY(m_window->isVisible());
        QVERIFY(m_window->notice().isEmpty());
        // Typing goes on where it was.
        QTRY_COMPARE(QApplication::activeWindow(), &typing);
        QTest::keyClicks(&typing, "abc");
        QCOMPARE(typing.text(), QStringLiteral("abc"));

        QVERIFY(openFile("tone.mp3"));
        QTRY_VERIFY(!m_window->isVisible());
        QVERIFY(openFile("picture.mp4"));
        QTRY_VERIFY(m_window->isVisible());
        QVERIFY(openFile("cover.mp3"));
        QTRY_VERIFY(!m_window->isVisible());
        // Cover art stays hidden for good, not only until its frame arrives.
        QTest::qWait(300);
        QVERIFY(!m_window->isVisible());
        QVERIFY(!m_renderer->picture().present);

        QVERIFY(openFile("picture.mp4"));
        QTRY_VERIFY(m_window->isVisible());
        m_engine->close();
        QTRY_VERIFY(!m_window->isVisible());
    }

    void pauseAndSeekShowTheirFrame()
    {
        QVERIFY(openFile("picture.mp4"));
        QTRY_VERIFY(m_window->isVisible());
        m_window->resize(320, 240);
        QCOMPARE(m_engine->seekTo(1500), MediaError::None);
        QTRY_VERIFY2(near(shown().top, 0, 0, 255) && near(shown().bottom, 0, 0, 255),
                     qPrintable(describe(shown())));
        // Back into the first second: red over green, the right way up.
        QCOMPARE(m_engine->seekTo(500), MediaError::None);
        QCOMPARE(m_engine->positionMs(), 500); // not the frame's time (520 at 25 frames/s)
        QTRY_VERIFY2(near(shown().top, 255, 0, 0) && near(shown().bottom, 0, 255, 0),
                     qPrintable(describe(shown())));
        // Play on into the blue second, pause there, rewind into the first.
        QCOMPARE(m_engine->playFrom(900), MediaError::None);
        QTRY_VERIFY(m_engine->positionMs() > 1200);
        QCOMPARE(m_engine->stop(), MediaError::None);
        QVERIFY(!m_engine->isPlaying());
        QTRY_VERIFY2(near(shown().top, 0, 0, 255), qPrintable(describe(shown())));
        const std::int64_t paused = m_engine->positionMs();
        QCOMPARE(m_engine->playFrom(paused - 1000), MediaError::None);
        QCOMPARE(m_engine->stop(), MediaError::None);
        QCOMPARE(m_engine->positionMs(), paused - 1000);
        QTRY_VERIFY2(near(shown().top, 255, 0, 0) && near(shown().bottom, 0, 255, 0),
                     qPrintable(describe(shown())));
        // The end of the media is where it is for sound alone: the length.
        QCOMPARE(m_engine->playFrom(1800), MediaError::None);
        QTRY_VERIFY(!m_engine->isPlaying());
        QCOMPARE(m_engine->positionMs(), m_engine->lengthMs());
        QVERIFY(near(shown().top, 0, 0, 255));
    }

    void hidingKeepsTheSound()
    {
        QVERIFY(openFile("picture.mp4"));
        QTRY_VERIFY(m_window->isVisible());
        QCOMPARE(m_engine->playFrom(0), MediaError::None);
        m_window->setVideoShown(false);
        QVERIFY(!m_window->isVisible());
        QTRY_VERIFY(!m_renderer->picture().selected); // no decoding while hidden
        QVERIFY(m_engine->isPlaying());
        QTRY_VERIFY(m_engine->positionMs() > 300);
        QCOMPARE(m_engine->stop(), MediaError::None);
        QCOMPARE(Preferences::shared().flag("video.show", true), false);
        // A video opened meanwhile stays hidden too.
        QVERIFY(openFile("picture.mp4"));
        QTest::qWait(200);
        QVERIFY(!m_window->isVisible());

        QCOMPARE(m_engine->seekTo(1500), MediaError::None);
        m_window->setVideoShown(true);
        QTRY_VERIFY(m_window->isVisible());
        QTRY_VERIFY2(near(shown().top, 0, 0, 255), qPrintable(describe(shown())));
        QCOMPARE(m_engine->positionMs(), 1500);
        QVERIFY(Preferences::shared().text("video.geometry").count(QLatin1Char(',')) == 3);
    }

    void undecodablePictureKeepsTheSound()
    {
        QVERIFY(openFile("unknown.mkv"));
        QTRY_VERIFY(m_window->isVisible());
        QTRY_VERIFY(!m_window->notice().isEmpty());
        QCOMPARE(m_window->notice().count(QLatin1Char('\n')), 0);
        QCOMPARE(m_engine->playFrom(0), MediaError::None);
        QTRY_VERIFY(m_engine->positionMs() > 300);
        QCOMPARE(m_engine->stop(), MediaError::None);
        // The next good file shows its picture without the notice.
        QVERIFY(openFile("picture.mp4"));
        QTRY_VERIFY(m_window->notice().isEmpty());
        QTRY_VERIFY(m_window->isVisible());
    }

    void closesWithThePlayer()
    {
        QVERIFY(openFile("picture.mp4"));
        QTRY_VERIFY(m_window->isVisible());
        m_window->hideWithPlayer();
        m_window->startCloseTimer();
        QVERIFY(!m_window->isVisible());
        QCOMPARE(m_engine->seekTo(0), MediaError::None);
        QTest::qWait(100);
        QVERIFY(!m_window->isVisible());
    }
};

QTEST_MAIN(TestVideoWindow)
#include "test_video_window.moc"
