// Opening without waiting for the device, on the simulated device whose open
// takes a set time on its clock: the engine's openAsync and the "open" command
// sent through MediaControl::sendOpenAsync.
#include "media_status.h"
#include "platform/media/media_control.h"
#include "platform/media/simulated_media_engine.h"

#include <QtTest>
#include <optional>

using namespace quillory;

namespace {

QString openCommand(const QString &path)
{
    return "open \"" + path + "\" ALIAS wav1";
}

// The codes one sendOpenAsync told, in order.
struct Replies {
    QList<std::uint32_t> codes;
    std::function<void(std::uint32_t)> recorder()
    {
        return [this](std::uint32_t code) { codes << code; };
    }
};

} // namespace

class TestMediaControlOpenAsync : public QObject {
    Q_OBJECT

private:
    SimulatedMediaEngine *m_engine = nullptr;
    std::unique_ptr<MediaControl> m_control;
    const QString m_path = QStringLiteral("/media/lecture.wav");
    const QString m_other = QStringLiteral("/media/other.wav");

    std::uint32_t send(const QString &command) { return m_control->sendString(command); }
    QString status(const char *what) { return testmedia::statusReply(*m_control, what); }

private slots:
    void init()
    {
        auto engine = std::make_unique<SimulatedMediaEngine>();
        m_engine = engine.get();
        m_engine->setLength(m_path, 30000);
        m_engine->setLength(m_other, 45000);
        m_engine->setOpenDelay(200);
        m_control = std::make_unique<MediaControl>(std::move(engine));
    }

    void theEngineOpensWhenItsClockHasRun()
    {
        std::optional<MediaError> told;
        m_engine->openAsync(m_path, [&told](MediaError e) { told = e; });
        QVERIFY(m_engine->isOpening());
        QVERIFY(!m_engine->isOpen());
        m_engine->advance(199);
        QVERIFY(!told);
        m_engine->advance(1);
        QCOMPARE(told, std::optional<MediaError>(MediaError::None));
        QVERIFY(!m_engine->isOpening());
        QVERIFY(m_engine->isOpen());
        QCOMPARE(m_engine->lengthMs(), std::int64_t(30000));
        QCOMPARE(m_engine->positionMs(), std::int64_t(0));
        QVERIFY(!m_engine->isPlaying());
        // The clock then moves playback as before.
        QCOMPARE(m_engine->play(), MediaError::None);
        m_engine->advance(500);
        QCOMPARE(m_engine->positionMs(), std::int64_t(500));
    }

    void withoutADelayTheEngineOpensAtOnce()
    {
        m_engine->setOpenDelay(0);
        std::optional<MediaError> told;
        m_engine->setOpenError(m_other, MediaError::InvalidFile);
        m_engine->openAsync(m_other, [&told](MediaError e) { told = e; });
        QCOMPARE(told, std::optional<MediaError>(MediaError::InvalidFile));
        QVERIFY(!m_engine->isOpening());
        QVERIFY(!m_engine->isOpen());
    }

    void theAliasAnswersOnceTheDeviceHasTheFile()
    {
        Replies replies;
        m_control->sendOpenAsync(openCommand(m_path), replies.recorder());
        QVERIFY(m_control->isOpening());
        QVERIFY(replies.codes.isEmpty());
        QVERIFY(m_control->alias().isEmpty());
        QCOMPARE(status("length"), QStringLiteral("error 263"));
        m_engine->advance(200);
        QCOMPARE(replies.codes, QList<std::uint32_t>{0u});
        QVERIFY(!m_control->isOpening());
        QCOMPARE(m_control->alias(), QStringLiteral("wav1"));
        QCOMPARE(status("length"), QStringLiteral("30000"));
        QCOMPARE(send("play wav1 from 1000"), 0u);
        QCOMPARE(status("mode"), QStringLiteral("playing"));
    }

    void refusalsAreTheSynchronousOpensCodes()
    {
        Replies replies;
        // Parsed and refused at once, as sendString refuses them.
        m_control->sendOpenAsync(QStringLiteral("open \"") + m_path + "\"", replies.recorder());
        m_control->sendOpenAsync(QStringLiteral("status wav1 length"), replies.recorder());
        QCOMPARE(replies.codes, (QList<std::uint32_t>{toCode(MediaError::MissingParameter),
                                                      toCode(MediaError::UnrecognizedCommand)}));
        QVERIFY(!m_control->isOpening());
        // The device's own refusal comes when its open ends.
        replies.codes.clear();
        m_engine->setOpenError(m_other, MediaError::InvalidFile);
        m_control->sendOpenAsync(openCommand(m_other), replies.recorder());
        m_engine->advance(200);
        QCOMPARE(replies.codes, QList<std::uint32_t>{toCode(MediaError::InvalidFile)});
        QVERIFY(m_control->alias().isEmpty());
        // With the alias open, a second open is refused at once.
        replies.codes.clear();
        QCOMPARE(send(openCommand(m_path)), 0u);
        m_control->sendOpenAsync(openCommand(m_other), replies.recorder());
        QCOMPARE(replies.codes, QList<std::uint32_t>{toCode(MediaError::DuplicateAlias)});
        QCOMPARE(status("length"), QStringLiteral("30000"));
    }

    void aCloseOrAnotherOpenAbandonsIt_data()
    {
        QTest::addColumn<QString>("interruption");
        QTest::newRow("close all") << "close all";
        QTest::newRow("close the alias") << "close wav1";
        QTest::newRow("a blocking open") << "open";
    }
    void aCloseOrAnotherOpenAbandonsIt()
    {
        QFETCH(QString, interruption);
        Replies abandoned;
        m_control->sendOpenAsync(openCommand(m_path), abandoned.recorder());
        if (interruption == QLatin1String("open"))
            QCOMPARE(send(openCommand(m_other)), 0u);
        else
            QCOMPARE(send(interruption), 0u);
        QVERIFY(!m_control->isOpening());
        m_engine->advance(1000);
        QVERIFY(abandoned.codes.isEmpty());
        QCOMPARE(status("length"), interruption == QLatin1String("open")
                                       ? QStringLiteral("45000")
                                       : QStringLiteral("error 263"));
    }

    void aSecondAsynchronousOpenReplacesTheFirst()
    {
        Replies first, second;
        m_control->sendOpenAsync(openCommand(m_path), first.recorder());
        m_engine->advance(100);
        m_control->sendOpenAsync(openCommand(m_other), second.recorder());
        m_engine->advance(150); // the first would have ended here
        QVERIFY(second.codes.isEmpty());
        m_engine->advance(50);
        QVERIFY(first.codes.isEmpty());
        QCOMPARE(second.codes, QList<std::uint32_t>{0u});
        QCOMPARE(status("length"), QStringLiteral("45000"));
    }
};

QTEST_GUILESS_MAIN(TestMediaControlOpenAsync)
#include "tst_media_control_open_async.moc"
