// Pieces of the program's start-up: the steps that wait for the player's first
// paint, and the fonts' set-up on a worker.
#include "app/first_paint.h"
#include "app/font_warm_up.h"

#include <QFontDatabase>
#include <QFontMetrics>
#include <QtTest>

class TestStartup : public QObject {
    Q_OBJECT

private slots:
    void stepsWaitForTheFirstPaintThenRunInOrder()
    {
        QWidget window;
        window.resize(120, 80);
        auto *steps = new FirstPaintSteps(&window);
        QList<int> ran;
        steps->add([&] { ran << 1; });
        steps->add([&] {
            ran << 2;
            // Added once the paint is past: runs at once, inside this step.
            steps->add([&] { ran << 3; });
            ran << 4;
        });
        QCoreApplication::processEvents();
        QVERIFY(ran.isEmpty());
        QVERIFY(!steps->painted());
        window.show();
        QTRY_COMPARE(ran, (QList<int>{1, 2, 3, 4}));
        QVERIFY(steps->painted());
        steps->add([&] { ran << 5; });
        QCOMPARE(ran.last(), 5);
        QCoreApplication::processEvents();
        QCOMPARE(ran.size(), 5);
    }

    void stepsOfAWindowNeverShownRunAfterTheFallback()
    {
        QWidget window;
        auto *steps = new FirstPaintSteps(&window, 30);
        int runs = 0;
        steps->add([&] { ++runs; });
        QTRY_COMPARE(runs, 1);
        window.show();
        QTest::qWait(50);
        QCOMPARE(runs, 1);
    }

    void stepsGoWithTheirWindow()
    {
        int runs = 0;
        {
            QWidget window;
            auto *steps = new FirstPaintSteps(&window, 10);
            steps->add([&] { ++runs; });
        }
        QTest::qWait(40);
        QCOMPARE(runs, 0);
    }

    void fontsAreAsQtFindsThemAfterTheWarmUp()
    {
        FontWarmUp fonts;
        fonts.wait();
        fonts.wait();
        const QFont font = QApplication::font();
        QVERIFY(QFontMetrics(font).horizontalAdvance(QStringLiteral("Riproduzione")) > 0);
        QVERIFY(QFontDatabase::families().contains(QFontInfo(font).family()));
    }

    // Destroyed without a wait (the program ending early), it still ends.
    void warmUpEndsWithTheProgram() { FontWarmUp fonts; }
};

QTEST_MAIN(TestStartup)
#include "test_startup.moc"
