#pragma once

#include <QLabel>

// A picture that reports the pointer over it as the volume slider wants it: the
// button (press, release) or buttons held (move) as 1 left, 2 right, 4 middle, and
// the pointer's position within the picture in twips. Moves are reported with or
// without a button held; while one is held the picture keeps the pointer.
class MouseImage : public QLabel {
    Q_OBJECT
public:
    explicit MouseImage(QWidget *parent = nullptr);

    static int buttonState(Qt::MouseButtons buttons);

signals:
    void mouseDown(int button, double xTwips, double yTwips);
    void mouseMove(int button, double xTwips, double yTwips);
    void mouseUp(int button, double xTwips, double yTwips);

protected:
    void mousePressEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
};
