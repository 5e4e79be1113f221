#pragma once

#include <QHash>
#include <QList>
#include <QMenuBar>

// A menu bar that wraps: menus that do not fit the window's width move to a
// second row (a third, ...) below the first instead of hiding behind an
// overflow arrow, and the bar grows by those rows. The first row is this bar
// itself; each further row is a plain menu bar laid over the lower part of it.
class WrappingMenuBar : public QMenuBar {
    Q_OBJECT
public:
    explicit WrappingMenuBar(QWidget *parent = nullptr);

    // Rows needed for `width`, and the rows in use now.
    int rowsForWidth(int width) const;
    int rowCount() const { return static_cast<int>(m_extraRows.size()) + 1; }
    // The bar that shows `menuAction` now (this bar or a further row).
    QMenuBar *rowOf(QAction *menuAction) const;
    // Every menu in order, wherever it is shown.
    const QList<QAction *> &menuActions() const { return m_order; }

    int heightForWidth(int width) const override;

    // The menu after (or before) `current` in reading order, across the rows,
    // from the last back to the first; hidden and disabled menus are passed.
    QAction *neighbour(QAction *current, bool forward) const;

protected:
    void actionEvent(QActionEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    void changeEvent(QEvent *event) override;
    void showEvent(QShowEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    QList<QList<QAction *>> splitIntoRows(int width) const;
    int itemWidth(QAction *action) const;
    int oneRowHeight() const;
    void relayout();
    // Left or Right on the first or last menu of a row goes to the
    // neighbouring row's menu, as if the rows were one bar.
    bool crossRows(QMenuBar *row, int key);

    // Watches the menus' captions. The base class drops every connection from an
    // action to the bar whenever the action leaves it, so this is a separate object.
    QObject m_watcher;
    QList<QAction *> m_order;
    QList<QMenuBar *> m_extraRows;
    // Each caption measured once: a window builds and retitles its menus one at
    // a time, and each step lays the rows out again.
    mutable QHash<QAction *, int> m_widths;
    bool m_moving = false;
};
