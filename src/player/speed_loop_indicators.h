#pragma once

#include "session/playback_speed.h"

#include <QKeySequence>

class QLabel;
class QWidget;

// What the player shows of speed and the loop beside its buttons: the speed
// when it is not 1.0x, and "Loop" while a loop plays.
class SpeedLoopIndicators {
public:
    explicit SpeedLoopIndicators(QWidget *client);
    // `loopKey` is the key that ends the loop, named in the tooltip.
    void show(quillory::PlaybackSpeed speed, bool looping, const QKeySequence &loopKey);

    QLabel *lblVelocita = nullptr;
    QLabel *lblCiclo = nullptr;
};
