// The media control string interface on the simulated device: command parsing,
// aliases, quoting, ranges and replies.
#include "media_status.h"
#include "platform/media/media_control.h"
#include "platform/media/simulated_media_engine.h"

#include <QTemporaryDir>
#include <QtTest>

using namespace quillory;

namespace {

QString openCommand(const QString &path)
{
    return "open \"" + path + "\" ALIAS wav1";
}

} // namespace

class TestMediaControl : public QObject {
    Q_OBJECT

private:
    SimulatedMediaEngine *m_engine = nullptr;
    std::unique_ptr<MediaControl> m_control;
    QTemporaryDir m_dir;

    QString status(const char *what) { return testmedia::statusReply(*m_control, what); }

private slots:
    void init()
    {
        auto engine = std::make_unique<SimulatedMediaEngine>();
        m_engine = engine.get();
        m_engine->setDefaultLength(10000);
        m_control = std::make_unique<MediaControl>(std::move(engine));
        QVERIFY(m_dir.isValid());
    }

    void openAndStatusReplies()
    {
        m_engine->setLength("/media/lecture one.mp3", 605000);
        QCOMPARE(m_control->sendString(openCommand("/media/lecture one.mp3")), 0u);
        QCOMPARE(m_engine->openPath(), QStringLiteral("/media/lecture one.mp3"));
        QCOMPARE(status("length"), QStringLiteral("605000"));
        QCOMPARE(status("position"), QStringLiteral("0"));
        QCOMPARE(status("mode"), QStringLiteral("stopped"));
        QCOMPARE(m_control->sendString("play wav1"), 0u);
        m_engine->advance(1234);
        QCOMPARE(status("mode"), QStringLiteral("playing"));
        QCOMPARE(status("position"), QStringLiteral("1234"));
    }

    void replyIsCutAndTerminated()
    {
        m_engine->setLength("/m.wav", 605000);
        QCOMPARE(m_control->sendString(openCommand("/m.wav")), 0u);
        char reply[4] = {'x', 'x', 'x', 'x'};
        QCOMPARE(m_control->sendString("status wav1 length", reply, sizeof reply), 0u);
        QCOMPARE(QByteArray(reply), QByteArray("605"));
    }

    void extraBlanksAndCase()
    {
        m_engine->setLength("/m.wav", 10000);
        QCOMPARE(m_control->sendString(openCommand("/m.wav")), 0u);
        // The bar click sends two blanks before the number.
        QCOMPARE(m_control->sendString("play wav1 from  1234"), 0u);
        QCOMPARE(status("position"), QStringLiteral("1234"));
        QCOMPARE(m_control->sendString("  STOP   WAV1 "), 0u);
        QCOMPARE(status("mode"), QStringLiteral("stopped"));
        QCOMPARE(m_control->sendString("Seek Wav1 To Start"), 0u);
        QCOMPARE(status("position"), QStringLiteral("0"));
    }

    void pathWithQuoteOpensLiterally_data()
    {
        QTest::addColumn<QString>("name");
        QTest::newRow("quote in name") << "say \"hi\".wav";
        QTest::newRow("alias text after quote") << "a\" ALIAS wav2 x.wav";
        QTest::newRow("command after quote") << "b\" close all \".wav";
        QTest::newRow("trailing quote") << "c.wav\"";
    }

    void pathWithQuoteOpensLiterally()
    {
        QFETCH(QString, name);
        const QString path = m_dir.filePath(name);
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.close();

        QCOMPARE(m_control->sendString(openCommand(path)), 0u);
        QCOMPARE(m_engine->openPath(), path);
        QCOMPARE(m_engine->openCount(), 1);
        QCOMPARE(m_control->alias(), QStringLiteral("wav1"));
        QVERIFY(m_engine->isOpen());
        QCOMPARE(m_control->sendString("status wav2 length"),
                 toCode(MediaError::InvalidDeviceName));
    }

    void unknownAliasAndCommands()
    {
        QCOMPARE(m_control->sendString("status wav1 position"),
                 toCode(MediaError::InvalidDeviceName));
        m_engine->setLength("/m.wav", 10000);
        QCOMPARE(m_control->sendString(openCommand("/m.wav")), 0u);
        QCOMPARE(m_control->sendString("play wav2"), toCode(MediaError::InvalidDeviceName));
        QCOMPARE(m_control->sendString("rewind wav1"), toCode(MediaError::UnrecognizedCommand));
        QCOMPARE(m_control->sendString(""), toCode(MediaError::UnrecognizedCommand));
        QCOMPARE(m_control->sendString("play"), toCode(MediaError::MissingParameter));
        QCOMPARE(m_control->sendString("play wav1 from"), toCode(MediaError::MissingParameter));
        QCOMPARE(m_control->sendString("status wav1 volume"),
                 toCode(MediaError::UnrecognizedKeyword));
        QCOMPARE(m_control->sendString("open \"/other.wav\" ALIAS wav1"),
                 toCode(MediaError::DuplicateAlias));
    }

    void outOfRangeChangesNothing()
    {
        m_engine->setLength("/m.wav", 10000);
        QCOMPARE(m_control->sendString(openCommand("/m.wav")), 0u);
        QCOMPARE(m_control->sendString("play wav1 from 4000"), 0u);
        QCOMPARE(m_control->sendString("stop wav1"), 0u);
        QCOMPARE(m_control->sendString("play wav1 from 10001"), toCode(MediaError::OutOfRange));
        QCOMPARE(m_control->sendString("play wav1 from -5"), toCode(MediaError::OutOfRange));
        QCOMPARE(m_control->sendString("play wav1 from 12a"), toCode(MediaError::OutOfRange));
        QCOMPARE(m_control->sendString("play wav1 from 99999999999999999999"),
                 toCode(MediaError::ParameterOverflow));
        QCOMPARE(status("position"), QStringLiteral("4000"));
        QCOMPARE(status("mode"), QStringLiteral("stopped"));
        QCOMPARE(m_control->sendString("play wav1 from 10000"), 0u);
        QCOMPARE(status("position"), status("length"));
    }

    void closeAllForgetsAlias()
    {
        m_engine->setLength("/m.wav", 10000);
        QCOMPARE(m_control->sendString(openCommand("/m.wav")), 0u);
        QCOMPARE(m_control->sendString("close all"), 0u);
        QVERIFY(!m_engine->isOpen());
        QCOMPARE(m_control->sendString("status wav1 length"),
                 toCode(MediaError::InvalidDeviceName));
        QCOMPARE(m_control->sendString("close all"), 0u);
        QCOMPARE(m_control->sendString(openCommand("/m.wav")), 0u);
        QCOMPARE(m_engine->openCount(), 2);
    }

    void failedOpenLeavesNothingOpen()
    {
        m_engine->setOpenError("/bad.mp3", MediaError::InvalidFile);
        QCOMPARE(m_control->sendString(openCommand("/bad.mp3")), toCode(MediaError::InvalidFile));
        QCOMPARE(m_control->sendString(openCommand(m_dir.filePath("missing.wav"))),
                 toCode(MediaError::FileNotFound));
        QVERIFY(m_control->alias().isEmpty());
        char text[127];
        QVERIFY(m_control->errorString(toCode(MediaError::FileNotFound), text, sizeof text));
        QCOMPARE(QString::fromUtf8(text), mediaErrorText(toCode(MediaError::FileNotFound)));
        QVERIFY(!m_control->errorString(12345, text, sizeof text));
    }
};

QTEST_GUILESS_MAIN(TestMediaControl)
#include "tst_media_control.moc"
