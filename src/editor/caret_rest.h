#pragma once

#include <QObject>
#include <QTimer>

// A caret that blinks for ever wakes the program twice a second while the
// user only listens. As on the desktop, it stops blinking (and stays shown)
// after some seconds without a key or a click anywhere in the program, and
// blinks again at the next one. A user who turned blinking off keeps it off.
class CaretRest : public QObject {
    Q_OBJECT
public:
    static constexpr int DefaultRestAfterMs = 10000;

    explicit CaretRest(int restAfterMs = DefaultRestAfterMs, QObject *parent = nullptr);
    ~CaretRest() override;

    bool isResting() const { return m_resting; }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void rest();
    void wake();

    int m_flashTime;
    bool m_resting = false;
    QTimer m_idle;
};
