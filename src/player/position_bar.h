#pragma once

#include <QLabel>

// The time text over the progress fill; moving over it reports the pointer's
// horizontal position in twips, clicking it reports a click.
class PositionBar : public QLabel {
    Q_OBJECT
public:
    explicit PositionBar(QWidget *parent = nullptr);
    QString tag; // the mouse-over time: " " + milliseconds

signals:
    void mouseMoved(int buttons, int shift, double xTwips, double yTwips);
    void clicked();

protected:
    void mouseMoveEvent(QMouseEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;

private:
    bool m_pressed = false;
};
