#pragma once

#include "player/speed_loop_indicators.h"
#include "session/playback_keys.h"

#include <QObject>
#include <functional>

class QAction;
class QMenu;
class QWidget;
namespace quillory {
class PlayerSession;
}

// Playback speed with the pitch kept, and the loop over the last seconds heard:
// their items at the end of the Playback menu, their keys, and the indicators
// beside the buttons.
class SpeedLoopMenu : public QObject {
    Q_OBJECT
public:
    // The items join `playbackMenu`; the loop item is enabled with `play`, as it
    // needs an open file. `returnFocus` hands the keyboard back after a command.
    SpeedLoopMenu(quillory::PlayerSession &session, QMenu *playbackMenu, QAction *play,
                  QWidget *client, std::function<void()> returnFocus);

    // The keys, the loop's length and the speed of the last run.
    void loadSettings();
    void applyLanguage();

    void slower();
    void faster();
    void normalSpeed();
    void toggleLoop();

private:
    void showSpeedAndLoop();
    void changeSpeed(quillory::PlaybackSpeed speed);

    quillory::PlayerSession &m_session;
    std::function<void()> m_returnFocus;
    QAction *m_slower = nullptr;
    QAction *m_faster = nullptr;
    QAction *m_normal = nullptr;
    QAction *m_loop = nullptr;
    SpeedLoopIndicators m_indicators;
    quillory::PlaybackKeys m_keys;
};
