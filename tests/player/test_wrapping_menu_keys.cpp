// The wrapped menu bar walked with Left and Right as one bar: from the last
// menu of a row to the first of the next, back again, and round from the last
// row to the first.
#include "player/wrapping_menu_bar.h"

#include <QMainWindow>
#include <QMenu>
#include <QtTest>

class TestWrappingMenuKeys : public QObject {
    Q_OBJECT
private:
    QMainWindow m_window;
    WrappingMenuBar *m_bar = nullptr;
    QList<QMenu *> m_menus;

    // The menu open now, and the row that opened it.
    QMenu *openMenu() const
    {
        for (QMenu *menu : m_menus)
            if (menu->isVisible())
                return menu;
        return nullptr;
    }
    void press(int key)
    {
        QMenu *menu = openMenu();
        QVERIFY(menu);
        QTest::keyClick(menu, Qt::Key(key));
    }

private slots:
    void initTestCase()
    {
        m_bar = new WrappingMenuBar(&m_window);
        m_window.setMenuBar(m_bar);
        for (const char *title : {"&Riproduzione", "&Visualizza", "&Segnalibri", "&Impostazioni",
                                  "&Strumenti", "&Lingua", "&Guida"}) {
            QMenu *menu = m_bar->addMenu(QString::fromLatin1(title));
            menu->addAction(QStringLiteral("Voce"));
            m_menus << menu;
        }
        m_window.resize(260, 200);
        m_window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&m_window));
        QTRY_VERIFY(m_bar->rowCount() >= 2);
    }

    void rightAndLeftCrossTheRows()
    {
        // The last menu of the first row.
        QList<QAction *> first = m_bar->actions();
        QVERIFY(!first.isEmpty());
        QAction *lastOfFirst = first.last();
        const qsizetype at = m_bar->menuActions().indexOf(lastOfFirst);
        QAction *firstOfSecond = m_bar->menuActions().at(at + 1);
        QVERIFY(m_bar->rowOf(firstOfSecond) != m_bar);

        m_bar->setActiveAction(lastOfFirst);
        QTRY_COMPARE(openMenu(), lastOfFirst->menu());
        press(Qt::Key_Right);
        QTRY_COMPARE(openMenu(), firstOfSecond->menu());
        QCOMPARE(m_bar->rowOf(firstOfSecond)->activeAction(), firstOfSecond);
        QVERIFY(!lastOfFirst->menu()->isVisible());

        press(Qt::Key_Left);
        QTRY_COMPARE(openMenu(), lastOfFirst->menu());
        QCOMPARE(m_bar->activeAction(), lastOfFirst);
        lastOfFirst->menu()->hide();
        m_bar->setActiveAction(nullptr);
    }

    void theLastMenuLeadsBackToTheFirst()
    {
        QAction *last = m_bar->menuActions().last();
        QAction *first = m_bar->menuActions().first();
        QMenuBar *lastRow = m_bar->rowOf(last);
        QVERIFY(lastRow != m_bar);
        lastRow->setActiveAction(last);
        QTRY_COMPARE(openMenu(), last->menu());
        press(Qt::Key_Right);
        QTRY_COMPARE(openMenu(), first->menu());
        press(Qt::Key_Left);
        QTRY_COMPARE(openMenu(), last->menu());
        last->menu()->hide();
    }

    void neighboursPassHiddenMenus()
    {
        const QList<QAction *> &order = m_bar->menuActions();
        order.at(1)->setVisible(false);
        QCOMPARE(m_bar->neighbour(order.at(0), true), order.at(2));
        QCOMPARE(m_bar->neighbour(order.at(2), false), order.at(0));
        QCOMPARE(m_bar->neighbour(order.at(0), false), order.last());
        order.at(1)->setVisible(true);
        QCOMPARE(m_bar->neighbour(nullptr, true), nullptr);
    }
};

QTEST_MAIN(TestWrappingMenuKeys)
#include "test_wrapping_menu_keys.moc"
