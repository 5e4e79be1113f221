#pragma once

#include <QObject>
#include <functional>

class QWidget;

// A strip under the player's designed controls (the waveform): it spans the
// client area's width, and the client area grows by its height while it is
// shown, so the window and the editor below it make room.
class StripBelowControls : public QObject {
public:
    // `resized` runs after the client area changed height (the window places
    // the editor again).
    StripBelowControls(QWidget *client, QWidget *strip, std::function<void()> resized);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void fit();

    QWidget *m_client;
    QWidget *m_strip;
    int m_designHeight;
    std::function<void()> m_resized;
};
