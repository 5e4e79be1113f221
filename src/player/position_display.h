#pragma once

#include "session/position_readout.h"

#include <QObject>

class QLabel;
class QWidget;

// Draws the position on the time text and the bar's fill, touching them only
// when what they show changes. While the window is hidden or minimised nothing
// is drawn; what changed meanwhile is drawn once it is shown again.
class PositionDisplay : public QObject {
    Q_OBJECT
public:
    PositionDisplay(QWidget *window, QLabel *timeText, QWidget *fill);

    void show(double positionMs, double lengthMs);
    // "0:00 / 0:00", as with no media.
    void clear();
    // The fill's width for the last position, drawn or not.
    double fillTwips() const { return m_readout.fillTwips(); }
    // Media time until the display would change from `positionMs`; infinite
    // while the window is hidden or minimised.
    double msUntilChange(double positionMs, double lengthMs) const;

signals:
    // The window is seen again: what it shows may be a moment old.
    void shownAgain();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    bool windowShown() const;
    void drawChanges();

    QWidget *m_window;
    QLabel *m_timeText;
    QWidget *m_fill;
    quillory::PositionReadout m_readout;
    bool m_textChanged = false;
    bool m_fillChanged = false;
};
