#pragma once

#include <QObject>
#include <functional>
#include <vector>

class QWidget;

// Runs `action` once, from the event loop, right after `window` has first been
// painted (or after `fallbackMs` if it never is, e.g. when it stays hidden).
// Work that would compete with putting the window on screen waits for this.
void afterFirstPaint(QWidget *window, std::function<void()> action, int fallbackMs = 1000);

// Steps that wait for `window`'s first paint (as above), run then in the order
// they were added; a step added after that runs at once. A child of `window`.
class FirstPaintSteps : public QObject {
public:
    explicit FirstPaintSteps(QWidget *window, int fallbackMs = 1000);
    void add(std::function<void()> step);
    bool painted() const { return m_painted; }

private:
    void runAll();

    std::vector<std::function<void()>> m_steps;
    bool m_painted = false;
};
