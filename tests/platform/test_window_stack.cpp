// Where the editor goes under the player and the bookmark list beside it.
#include "platform/geometry/window_stack.h"

#include <QtTest>

using quillory::frameAboveEditor;

class TestWindowStack : public QObject {
    Q_OBJECT
private slots:
    void underThePlayerAlone()
    {
        const QRect player(50, 0, 400, 180);
        QCOMPARE(frameAboveEditor(player, std::nullopt), player);
        // An empty list rectangle (a window never shown) changes nothing.
        QCOMPARE(frameAboveEditor(player, QRect()), player);
    }

    void underWhicheverReachesLower_data()
    {
        QTest::addColumn<QRect>("player");
        QTest::addColumn<QRect>("list");
        QTest::addColumn<int>("editorTop");
        // One menu row: the list is the taller.
        QTest::newRow("list lower") << QRect(50, 0, 400, 180) << QRect(450, 0, 200, 260) << 260;
        // The menu bar wrapped: the player grew past the list by its second row.
        QTest::newRow("player lower") << QRect(50, 0, 400, 214) << QRect(450, 0, 200, 200) << 214;
        QTest::newRow("equal") << QRect(50, 10, 400, 200) << QRect(450, 10, 200, 200) << 210;
    }
    void underWhicheverReachesLower()
    {
        QFETCH(QRect, player);
        QFETCH(QRect, list);
        QFETCH(int, editorTop);
        const QRect above = frameAboveEditor(player, list);
        QCOMPARE(above.x(), player.x());
        QCOMPARE(above.y(), player.y());
        QCOMPARE(above.width(), player.width());
        QCOMPARE(above.y() + above.height(), editorTop);
    }
};

QTEST_GUILESS_MAIN(TestWindowStack)
#include "test_window_stack.moc"
