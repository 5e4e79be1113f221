#include "first_paint.h"

#include <QEvent>
#include <QPointer>
#include <QTimer>
#include <QWidget>

namespace {

class FirstPaintWatch : public QObject {
public:
    FirstPaintWatch(QWidget *window, std::function<void()> action, int fallbackMs)
        : QObject(window), m_action(std::move(action))
    {
        window->installEventFilter(this);
        QTimer::singleShot(fallbackMs, this, [this] { fire(); });
    }

    bool eventFilter(QObject *, QEvent *event) override
    {
        // The paint is still to happen: run after it, at the next loop turn.
        if (event->type() == QEvent::Paint)
            QTimer::singleShot(0, this, [this] { fire(); });
        return false;
    }

private:
    void fire()
    {
        if (!m_action)
            return;
        auto action = std::move(m_action);
        m_action = nullptr;
        deleteLater();
        action();
    }

    std::function<void()> m_action;
};

} // namespace

void afterFirstPaint(QWidget *window, std::function<void()> action, int fallbackMs)
{
    new FirstPaintWatch(window, std::move(action), fallbackMs); // owned by the window
}

FirstPaintSteps::FirstPaintSteps(QWidget *window, int fallbackMs) : QObject(window)
{
    afterFirstPaint(
        window, [this] { runAll(); }, fallbackMs);
}

void FirstPaintSteps::add(std::function<void()> step)
{
    if (m_painted)
        step();
    else
        m_steps.push_back(std::move(step));
}

void FirstPaintSteps::runAll()
{
    m_painted = true;
    // A step added by one of these runs at once.
    std::vector<std::function<void()>> steps;
    steps.swap(m_steps);
    for (auto &step : steps)
        step();
}
