#pragma once

#include <functional>

class QWidget;

// Runs `action` once, from the event loop, right after `window` has first been
// painted (or after `fallbackMs` if it never is, e.g. when it stays hidden).
// Work that would compete with putting the window on screen waits for this.
void afterFirstPaint(QWidget *window, std::function<void()> action, int fallbackMs = 1000);
