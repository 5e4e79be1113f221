#pragma once

#include <QColor>
#include <QLabel>

class QFrame;
class QWidget;

// The player's colours go through palettes, not style sheets: a style sheet
// gives each widget a style of its own, parsed and polished before the first
// frame, and the window's dozen of them cost that frame several milliseconds.
namespace plain_colours {

void setText(QWidget *widget, const QColor &text);
// The widget's whole area in `background`.
void setFill(QWidget *widget, const QColor &background);
// A frame filled with `background` inside a one-pixel line of `border`.
void setBoxed(QFrame *frame, const QColor &background, const QColor &border);

} // namespace plain_colours

// A label on a small rounded patch of colour (the loop and volume tags).
class TagLabel : public QLabel {
public:
    explicit TagLabel(QWidget *parent = nullptr) : QLabel(parent) {}
    void setBackground(const QColor &background);

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    QColor m_background = Qt::transparent;
};
