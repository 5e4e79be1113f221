// The speed steps, the loop's stretch and the speed and loop keys, with what a
// damaged or hand-edited Preferences.ini makes of them.
#include "platform/files/preferences.h"
#include "platform/files/text_file.h"
#include "session/playback_keys.h"
#include "session/playback_speed.h"

#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

using namespace quillory;

namespace {

Preferences preferencesWith(const QTemporaryDir &dir, const QStringList &lines)
{
    const QString path = dir.filePath(QStringLiteral("Preferences.ini"));
    if (!writeTextLines(path, lines))
        qFatal("cannot write %s", qPrintable(path));
    Preferences preferences(path);
    preferences.load();
    return preferences;
}

} // namespace

class TestPlaybackSpeed : public QObject {
    Q_OBJECT

private slots:
    void stepsStayOnTheGridAndWithinTheRange()
    {
        PlaybackSpeed speed;
        QVERIFY(speed.isNormal());
        QCOMPARE(speed.label(), QStringLiteral("1.00x"));
        // Ten steps down and ten up land exactly on normal speed again.
        for (int i = 0; i < 10; ++i)
            speed = speed.slower();
        QCOMPARE(speed.label(), QStringLiteral("0.50x"));
        QCOMPARE(speed.factor(), 0.5);
        for (int i = 0; i < 10; ++i)
            speed = speed.faster();
        QVERIFY(speed.isNormal());
        for (int i = 0; i < 100; ++i)
            speed = speed.slower();
        QVERIFY(speed.isSlowest());
        QCOMPARE(speed.label(), QStringLiteral("0.25x"));
        for (int i = 0; i < 100; ++i)
            speed = speed.faster();
        QVERIFY(speed.isFastest());
        QCOMPARE(speed.factor(), 3.0);
        QCOMPARE(speed.slower().label(), QStringLiteral("2.95x"));
    }

    void nearestSnapsToSteps_data()
    {
        QTest::addColumn<double>("factor");
        QTest::addColumn<QString>("label");
        QTest::newRow("on a step") << 0.75 << "0.75x";
        QTest::newRow("between steps") << 0.77 << "0.75x";
        QTest::newRow("rounds up") << 0.78 << "0.80x";
        QTest::newRow("below the range") << 0.1 << "0.25x";
        QTest::newRow("above the range") << 7.0 << "3.00x";
        QTest::newRow("negative") << -2.0 << "0.25x";
        QTest::newRow("not a number") << std::nan("") << "1.00x";
        QTest::newRow("infinite") << HUGE_VAL << "1.00x";
    }
    void nearestSnapsToSteps()
    {
        QFETCH(double, factor);
        QFETCH(QString, label);
        QCOMPARE(PlaybackSpeed::nearest(factor).label(), label);
    }

    void storedSpeedReadsBackAndBadValuesGiveNormal_data()
    {
        QTest::addColumn<QString>("line");
        QTest::addColumn<QString>("label");
        QTest::newRow("half") << "speed.value=0.5"
                              << "0.50x";
        QTest::newRow("as written") << "speed.value=1.35"
                                    << "1.35x";
        QTest::newRow("off the grid") << "speed.value=1.333"
                                      << "1.35x";
        QTest::newRow("comma") << "speed.value=0,5"
                               << "1.00x";
        QTest::newRow("words") << "speed.value=fast"
                               << "1.00x";
        QTest::newRow("empty") << "speed.value="
                               << "1.00x";
        QTest::newRow("too slow") << "speed.value=0.1"
                                  << "1.00x";
        QTest::newRow("too fast") << "speed.value=3.5"
                                  << "1.00x";
        QTest::newRow("nan") << "speed.value=nan"
                             << "1.00x";
        QTest::newRow("inf") << "speed.value=inf"
                             << "1.00x";
        QTest::newRow("missing") << "other.key=2"
                                 << "1.00x";
    }
    void storedSpeedReadsBackAndBadValuesGiveNormal()
    {
        QFETCH(QString, line);
        QFETCH(QString, label);
        QTemporaryDir dir;
        const Preferences preferences = preferencesWith(dir, {line});
        QCOMPARE(PlaybackSpeed::fromPreferences(preferences).label(), label);
    }

    void storeWritesTwoDecimals()
    {
        QTemporaryDir dir;
        Preferences preferences = preferencesWith(dir, {});
        PlaybackSpeed::nearest(0.55).store(preferences);
        QCOMPARE(preferences.text(QStringLiteral("speed.value")), QStringLiteral("0.55"));
        QCOMPARE(PlaybackSpeed::fromPreferences(preferences).label(), QStringLiteral("0.55x"));
    }

    void aBinaryPreferencesFileGivesDefaults()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("Preferences.ini"));
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly));
        QByteArray noise;
        for (int i = 0; i < 4096; ++i)
            noise.append(char((i * 7919 + 13) % 256));
        noise.insert(100, "\nspeed.value=\xff\xfe\x00 2\n");
        file.write(noise);
        file.close();
        Preferences preferences(path);
        preferences.load();
        QVERIFY(PlaybackSpeed::fromPreferences(preferences).isNormal());
        QCOMPARE(LoopRange::secondsFromPreferences(preferences), 5);
        const PlaybackKeys keys = PlaybackKeys::fromPreferences(preferences);
        QCOMPARE(keys.sequence(PlaybackKey::Loop), QKeySequence(Qt::Key_F4));
    }

    void loopRangeIsTheSecondsBeforeThePosition_data()
    {
        QTest::addColumn<double>("position");
        QTest::addColumn<int>("seconds");
        QTest::addColumn<qint64>("from");
        QTest::addColumn<qint64>("to");
        QTest::addColumn<bool>("playable");
        QTest::newRow("mid file") << 20000.0 << 5 << qint64(15000) << qint64(20000) << true;
        QTest::newRow("exactly N") << 5000.0 << 5 << qint64(0) << qint64(5000) << true;
        QTest::newRow("clamped at 0") << 3200.0 << 5 << qint64(0) << qint64(3200) << true;
        QTest::newRow("a minute") << 125000.0 << 60 << qint64(65000) << qint64(125000) << true;
        QTest::newRow("at the start") << 0.0 << 5 << qint64(0) << qint64(0) << false;
        QTest::newRow("too short") << 200.0 << 5 << qint64(0) << qint64(200) << false;
        QTest::newRow("no position") << std::nan("") << 5 << qint64(0) << qint64(0) << false;
    }
    void loopRangeIsTheSecondsBeforeThePosition()
    {
        QFETCH(double, position);
        QFETCH(int, seconds);
        QFETCH(qint64, from);
        QFETCH(qint64, to);
        QFETCH(bool, playable);
        const LoopRange range = LoopRange::before(position, seconds);
        QCOMPARE(qint64(range.fromMs), from);
        QCOMPARE(qint64(range.toMs), to);
        QCOMPARE(range.isPlayable(), playable);
    }

    void loopSecondsOutOfRangeGiveTheDefault_data()
    {
        QTest::addColumn<QString>("line");
        QTest::addColumn<int>("seconds");
        QTest::newRow("ten") << "loop.seconds=10" << 10;
        QTest::newRow("one") << "loop.seconds=1" << 1;
        QTest::newRow("sixty") << "loop.seconds=60" << 60;
        QTest::newRow("zero") << "loop.seconds=0" << 5;
        QTest::newRow("sixty-one") << "loop.seconds=61" << 5;
        QTest::newRow("negative") << "loop.seconds=-3" << 5;
        QTest::newRow("fraction") << "loop.seconds=2.5" << 5;
        QTest::newRow("words") << "loop.seconds=five" << 5;
    }
    void loopSecondsOutOfRangeGiveTheDefault()
    {
        QFETCH(QString, line);
        QFETCH(int, seconds);
        QTemporaryDir dir;
        QCOMPARE(LoopRange::secondsFromPreferences(preferencesWith(dir, {line})), seconds);
    }

    void defaultKeysMatchExactly()
    {
        const PlaybackKeys keys;
        QCOMPARE(keys.keyFor(Qt::Key_F10, Qt::NoModifier), PlaybackKey::SpeedDown);
        QCOMPARE(keys.keyFor(Qt::Key_F12, Qt::NoModifier), PlaybackKey::SpeedUp);
        QCOMPARE(keys.keyFor(Qt::Key_F12, Qt::ShiftModifier), PlaybackKey::SpeedReset);
        QCOMPARE(keys.keyFor(Qt::Key_F4, Qt::NoModifier), PlaybackKey::Loop);
        // A keypad flag is no modifier the user chose.
        QCOMPARE(keys.keyFor(Qt::Key_F4, Qt::KeypadModifier), PlaybackKey::Loop);
        QCOMPARE(keys.keyFor(Qt::Key_F12, Qt::ControlModifier), PlaybackKey::None);
        QCOMPARE(keys.keyFor(Qt::Key_F10, Qt::ShiftModifier), PlaybackKey::None);
        QCOMPARE(keys.keyFor(Qt::Key_F5, Qt::NoModifier), PlaybackKey::None);
        QCOMPARE(keys.keyFor(Qt::Key_A, Qt::NoModifier), PlaybackKey::None);
    }

    void configuredKeysAndTheirFallbacks()
    {
        QTemporaryDir dir;
        const PlaybackKeys keys = PlaybackKeys::fromPreferences(
            preferencesWith(dir, {"keys.speedDown=Alt+Down", "keys.speedUp=Meta+Up",
                                  "keys.speedReset=F5", // the player's play key: refused
                                  "keys.loop=Alt+F3"}));
        QCOMPARE(keys.keyFor(Qt::Key_Down, Qt::AltModifier), PlaybackKey::SpeedDown);
        QCOMPARE(keys.keyFor(Qt::Key_Up, Qt::MetaModifier), PlaybackKey::SpeedUp);
        QCOMPARE(keys.keyFor(Qt::Key_Down, Qt::NoModifier), PlaybackKey::None);
        QCOMPARE(keys.keyFor(Qt::Key_F10, Qt::NoModifier), PlaybackKey::None);
        QCOMPARE(keys.keyFor(Qt::Key_F12, Qt::ShiftModifier), PlaybackKey::SpeedReset);
        QCOMPARE(keys.keyFor(Qt::Key_F5, Qt::NoModifier), PlaybackKey::None);
        QCOMPARE(keys.keyFor(Qt::Key_F3, Qt::AltModifier), PlaybackKey::Loop);
        QCOMPARE(keys.sequence(PlaybackKey::Loop), QKeySequence(Qt::ALT | Qt::Key_F3));
    }

    void unusableKeyTextsGiveDefaults_data()
    {
        QTest::addColumn<QString>("text");
        QTest::newRow("garbage") << "Hyper+Banana";
        QTest::newRow("two keys") << "F2, F3";
        QTest::newRow("a letter that types") << "L";
        QTest::newRow("shifted letter") << "Shift+L";
        QTest::newRow("editor formatting") << "Ctrl+B";
        QTest::newRow("menu letter") << "Alt+F";
        QTest::newRow("caret key") << "Home";
        QTest::newRow("selecting caret key") << "Ctrl+Shift+Down";
        QTest::newRow("close media") << "Ctrl+F4";
        QTest::newRow("help with a modifier") << "Shift+F1";
        QTest::newRow("a modifier alone") << "Ctrl";
    }
    void unusableKeyTextsGiveDefaults()
    {
        QFETCH(QString, text);
        QTemporaryDir dir;
        const PlaybackKeys keys =
            PlaybackKeys::fromPreferences(preferencesWith(dir, {"keys.loop=" + text}));
        QCOMPARE(keys.sequence(PlaybackKey::Loop), QKeySequence(Qt::Key_F4));
    }

    void oneKeyForTwoCommandsKeepsTheSecondOnItsDefault()
    {
        QTemporaryDir dir;
        const PlaybackKeys keys = PlaybackKeys::fromPreferences(
            preferencesWith(dir, {"keys.speedUp=F3", "keys.loop=F3"}));
        QCOMPARE(keys.keyFor(Qt::Key_F3, Qt::NoModifier), PlaybackKey::SpeedUp);
        QCOMPARE(keys.keyFor(Qt::Key_F4, Qt::NoModifier), PlaybackKey::Loop);
    }
};

QTEST_GUILESS_MAIN(TestPlaybackSpeed)
#include "test_playback_speed.moc"
