#pragma once

#include <QFrame>
#include <QWidget>

// The editor's icon strip (new, open, save, print, the letter stretch,
// alignment, size steps, colour, bullets). Drawn from vector shapes at the
// screen's own resolution, so it stays sharp at any scale; the part beyond the
// window's cut is not shown.
class IconStrip : public QWidget {
    Q_OBJECT
public:
    explicit IconStrip(QWidget *parent = nullptr);
    // The strip's full design size in pixels; the widget shows its left part.
    static QSize designSize() { return {556, 26}; }

protected:
    void paintEvent(QPaintEvent *event) override;
};

// An invisible click area over one icon; a thin frame marks it while the mouse
// is over it (the window decides, through its hover handler).
class ClickArea : public QFrame {
    Q_OBJECT
public:
    ClickArea(int index, QWidget *parent = nullptr);
    int index() const { return m_index; }
    bool hasBorder() const { return frameShape() != QFrame::NoFrame; }
    void setBorder(bool on);

signals:
    void clicked(int index);
    void mouseMoved(int index);

protected:
    void mousePressEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;

private:
    int m_index;
    bool m_pressed = false;
};
