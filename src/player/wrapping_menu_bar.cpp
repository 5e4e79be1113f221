#include "wrapping_menu_bar.h"

#include <QActionEvent>
#include <QKeyEvent>
#include <QStyle>
#include <QStyleOptionMenuItem>

WrappingMenuBar::WrappingMenuBar(QWidget *parent) : QMenuBar(parent)
{
    // A global (desktop) menu has no rows to wrap.
    setNativeMenuBar(false);
    installEventFilter(this);
}

QAction *WrappingMenuBar::neighbour(QAction *current, bool forward) const
{
    const qsizetype count = m_order.size();
    const qsizetype at = m_order.indexOf(current);
    if (at < 0 || count == 0)
        return nullptr;
    for (qsizetype step = 1; step <= count; ++step) {
        QAction *next = m_order.at(((forward ? at + step : at - step) % count + count) % count);
        if (next->isVisible() && next->isEnabled() && !next->isSeparator())
            return next;
    }
    return nullptr;
}

bool WrappingMenuBar::crossRows(QMenuBar *row, int key)
{
    QAction *current = row->activeAction();
    if (!current || rowCount() < 2)
        return false;
    const bool forward = (key == Qt::Key_Right) == (layoutDirection() == Qt::LeftToRight);
    QAction *next = neighbour(current, forward);
    QMenuBar *target = next ? rowOf(next) : nullptr;
    // Within a row the bar's own handling does the same.
    if (!target || target == row)
        return false;
    row->setActiveAction(nullptr);
    // Opens the menu, as the bar does when a menu was open.
    target->setActiveAction(next);
    target->setFocus(Qt::ShortcutFocusReason);
    return true;
}

bool WrappingMenuBar::eventFilter(QObject *watched, QEvent *event)
{
    // An open menu hands its Left and Right keys to the bar that opened it.
    if (event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent *>(event)->key();
        auto *row = qobject_cast<QMenuBar *>(watched);
        if (row && (key == Qt::Key_Left || key == Qt::Key_Right) &&
            (row == this || m_extraRows.contains(row)))
            return crossRows(row, key);
    }
    return QMenuBar::eventFilter(watched, event);
}

int WrappingMenuBar::itemWidth(QAction *action) const
{
    if (!action->isVisible() || action->isSeparator())
        return 0;
    const auto known = m_widths.constFind(action);
    if (known != m_widths.cend())
        return *known;
    // Measured the way the menu bar measures its own items.
    const QSize text = fontMetrics().size(Qt::TextShowMnemonic, action->text());
    QStyleOptionMenuItem option;
    initStyleOption(&option, action);
    const QSize item = style()->sizeFromContents(QStyle::CT_MenuBarItem, &option, text, this);
    const int width =
        item.width() + style()->pixelMetric(QStyle::PM_MenuBarItemSpacing, nullptr, this);
    m_widths.insert(action, width);
    return width;
}

QList<QList<QAction *>> WrappingMenuBar::splitIntoRows(int width) const
{
    const int frame = style()->pixelMetric(QStyle::PM_MenuBarPanelWidth, nullptr, this);
    const int margin = style()->pixelMetric(QStyle::PM_MenuBarHMargin, nullptr, this);
    const int spacing = style()->pixelMetric(QStyle::PM_MenuBarItemSpacing, nullptr, this);
    // A few pixels to spare, so that rounding never brings back the overflow arrow.
    const int room = width - 2 * frame - 2 * margin - spacing - 4;
    QList<QList<QAction *>> rows(1);
    int used = 0;
    for (QAction *action : m_order) {
        const int w = itemWidth(action);
        if (w > 0 && used > 0 && used + w > room) {
            rows.append(QList<QAction *>());
            used = 0;
        }
        rows.last().append(action);
        used += w;
    }
    return rows;
}

int WrappingMenuBar::rowsForWidth(int width) const
{
    return static_cast<int>(splitIntoRows(width).size());
}

int WrappingMenuBar::oneRowHeight() const
{
    int h = QMenuBar::heightForWidth(width());
    if (h <= 0)
        h = QMenuBar::sizeHint().height();
    return h;
}

int WrappingMenuBar::heightForWidth(int width) const
{
    return oneRowHeight() * rowsForWidth(width);
}

QMenuBar *WrappingMenuBar::rowOf(QAction *menuAction) const
{
    if (actions().contains(menuAction))
        return const_cast<WrappingMenuBar *>(this);
    for (QMenuBar *row : m_extraRows)
        if (row->actions().contains(menuAction))
            return row;
    return nullptr;
}

void WrappingMenuBar::actionEvent(QActionEvent *event)
{
    if (!m_moving) {
        QAction *action = event->action();
        if (event->type() == QEvent::ActionAdded && !m_order.contains(action)) {
            const qsizetype before = m_order.indexOf(event->before());
            m_order.insert(before < 0 ? m_order.size() : before, action);
            connect(action, &QAction::changed, &m_watcher, [this, action] {
                m_widths.remove(action);
                relayout();
            });
        } else if (event->type() == QEvent::ActionRemoved) {
            m_order.removeAll(action);
            m_widths.remove(action);
            disconnect(action, nullptr, &m_watcher, nullptr);
        }
    }
    QMenuBar::actionEvent(event);
    if (!m_moving && event->type() != QEvent::ActionChanged)
        relayout();
}

void WrappingMenuBar::resizeEvent(QResizeEvent *event)
{
    QMenuBar::resizeEvent(event);
    relayout();
}

void WrappingMenuBar::changeEvent(QEvent *event)
{
    QMenuBar::changeEvent(event);
    if (event->type() == QEvent::FontChange || event->type() == QEvent::StyleChange) {
        m_widths.clear();
        relayout();
    }
}

void WrappingMenuBar::showEvent(QShowEvent *event)
{
    QMenuBar::showEvent(event);
    relayout();
}

void WrappingMenuBar::relayout()
{
    // Rows are laid out for the width the bar has on screen; while a window is
    // built its bar has no real width yet (heightForWidth needs no rows).
    if (m_moving)
        return;
    if (!isVisible()) {
        updateGeometry();
        return;
    }
    const QList<QList<QAction *>> rows = splitIntoRows(width());
    const int oldRows = rowCount();
    m_moving = true;
    while (m_extraRows.size() < rows.size() - 1) {
        auto *row = new QMenuBar(this);
        row->setNativeMenuBar(false);
        row->setObjectName(QStringLiteral("menuBarRow%1").arg(m_extraRows.size() + 2));
        row->setAccessibleName(row->objectName());
        row->installEventFilter(this);
        m_extraRows.append(row);
    }
    for (int i = 0; i < rows.size(); ++i) {
        QMenuBar *bar = i == 0 ? static_cast<QMenuBar *>(this) : m_extraRows.at(i - 1);
        if (bar->actions() == rows.at(i))
            continue;
        for (QAction *action : bar->actions())
            bar->removeAction(action);
        for (QAction *action : rows.at(i)) {
            if (QMenuBar *holder = rowOf(action))
                holder->removeAction(action);
            bar->addAction(action);
        }
    }
    while (m_extraRows.size() > rows.size() - 1) {
        QMenuBar *row = m_extraRows.takeLast();
        for (QAction *action : row->actions())
            row->removeAction(action);
        delete row;
    }
    m_moving = false;

    const int h = oneRowHeight();
    for (int i = 0; i < m_extraRows.size(); ++i) {
        m_extraRows.at(i)->setGeometry(0, h * (i + 1), width(), h);
        m_extraRows.at(i)->show();
    }
    if (rowCount() != oldRows)
        updateGeometry();
}
