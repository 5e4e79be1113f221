// The libmpv device's asynchronous open: it returns before mpv has loaded the
// file, and tells the same outcome as the blocking open from the event loop.
#include "media_fixtures.h"
#include "platform/mpv/mpv_media_engine.h"

#include <QFile>
#include <QTemporaryDir>
#include <QtTest>
#include <optional>

using namespace quillory;

namespace {

constexpr int Seconds = 4;

// What one openAsync told, and how often.
struct Outcome {
    std::optional<MediaError> error;
    int calls = 0;
    MediaEngine::OpenDone recorder()
    {
        return [this](MediaError e) {
            error = e;
            ++calls;
        };
    }
};

MpvEngineOptions sdlOutput()
{
    MpvEngineOptions options;
    options.audioOutput = "sdl";
    return options;
}

} // namespace

class TestMpvOpenAsync : public QObject {
    Q_OBJECT

private:
    QTemporaryDir m_dir;

    QString media(const QString &name) const { return m_dir.filePath(name); }

private slots:
    void initTestCase()
    {
        qputenv("SDL_AUDIODRIVER", "dummy");
        QVERIFY(m_dir.isValid());
        QVERIFY(testmedia::writeClickWav(media("clicks.wav"), Seconds));
        QVERIFY(testmedia::writeClickWav(media("other.wav"), Seconds + 2));
        QFile text(media("not media.mp3"));
        QVERIFY(text.open(QIODevice::WriteOnly));
        text.write(QByteArray(4096, 'x'));
        text.close();
        MpvMediaEngine probe;
        if (!probe.isReady())
            QSKIP("libmpv is not available");
    }

    void opensWithoutBlockingAndTellsOnce()
    {
        MpvMediaEngine engine(sdlOutput());
        Outcome outcome;
        engine.openAsync(media("clicks.wav"), outcome.recorder());
        // mpv has only been asked: nothing is open, nothing told yet.
        QCOMPARE(outcome.calls, 0);
        QVERIFY(engine.isOpening());
        QVERIFY(!engine.isOpen());
        QCOMPARE(engine.positionMs(), std::int64_t(0));
        QTRY_COMPARE(outcome.calls, 1);
        QCOMPARE(*outcome.error, MediaError::None);
        QVERIFY(!engine.isOpening());
        QVERIFY(engine.isOpen());
        QCOMPARE(engine.lengthMs(), std::int64_t(Seconds * 1000));
        QCOMPARE(engine.positionMs(), std::int64_t(0));
        QVERIFY(!engine.isPlaying());
        // The opened file plays as one opened by the blocking call does.
        QCOMPARE(engine.playFrom(1000), MediaError::None);
        QTRY_VERIFY(engine.positionMs() > 1100);
        QCOMPARE(outcome.calls, 1);
    }

    void errorsAreTheBlockingOpensErrors_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<MediaError>("expected");
        QTest::addColumn<bool>("atOnce");
        QTest::newRow("missing") << "missing.wav" << MediaError::FileNotFound << true;
        QTest::newRow("folder") << "" << MediaError::InvalidFile << true;
        QTest::newRow("text as mp3") << "not media.mp3" << MediaError::InvalidFile << false;
    }
    void errorsAreTheBlockingOpensErrors()
    {
        QFETCH(QString, name);
        QFETCH(MediaError, expected);
        QFETCH(bool, atOnce);
        const QString path = name.isEmpty() ? m_dir.path() : media(name);
        MpvMediaEngine engine(sdlOutput());
        QCOMPARE(engine.open(path), expected);
        Outcome outcome;
        engine.openAsync(path, outcome.recorder());
        QCOMPARE(outcome.calls, atOnce ? 1 : 0);
        QTRY_COMPARE(outcome.calls, 1);
        QCOMPARE(*outcome.error, expected);
        QVERIFY(!engine.isOpen());
        QVERIFY(!engine.isOpening());
    }

    void aCloseAbandonsTheOpen()
    {
        MpvMediaEngine engine(sdlOutput());
        Outcome abandoned;
        engine.openAsync(media("clicks.wav"), abandoned.recorder());
        engine.close();
        QVERIFY(!engine.isOpening());
        // A later open is told; the abandoned one never is.
        Outcome later;
        engine.openAsync(media("other.wav"), later.recorder());
        QTRY_COMPARE(later.calls, 1);
        QCOMPARE(*later.error, MediaError::None);
        QCOMPARE(engine.lengthMs(), std::int64_t((Seconds + 2) * 1000));
        QCOMPARE(abandoned.calls, 0);
    }

    void aSecondOpenReplacesTheFirst()
    {
        MpvMediaEngine engine(sdlOutput());
        Outcome first, second;
        engine.openAsync(media("clicks.wav"), first.recorder());
        engine.openAsync(media("other.wav"), second.recorder());
        QTRY_COMPARE(second.calls, 1);
        QCOMPARE(*second.error, MediaError::None);
        QCOMPARE(engine.lengthMs(), std::int64_t((Seconds + 2) * 1000));
        QCOMPARE(first.calls, 0);
        // The blocking open after it is not disturbed by anything left over.
        QCOMPARE(engine.open(media("clicks.wav")), MediaError::None);
        QCOMPARE(engine.lengthMs(), std::int64_t(Seconds * 1000));
        QCoreApplication::processEvents();
        QCOMPARE(second.calls, 1);
    }
};

QTEST_GUILESS_MAIN(TestMpvOpenAsync)
#include "tst_mpv_open_async.moc"
