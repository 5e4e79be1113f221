#pragma once

#include "desktop/pedal_models.h"

#include <QHash>
#include <QString>

class PlayerCommands;

namespace quillory {

class DesktopPlayer;
class Preferences;

enum class PedalAction { None, Back, Play, Forward };

// Which command each pedal runs, and whether the play pedal plays only while it
// is held (the classic transcription pedal) or starts and pauses on each press.
struct PedalSettings {
    PedalAction left = PedalAction::Back;
    PedalAction middle = PedalAction::Play;
    PedalAction right = PedalAction::Forward;
    bool playToggles = false;

    PedalAction actionOf(PedalBit pedal) const;
    // Keys "PedalLeft", "PedalMiddle", "PedalRight" (back, play, forward, none)
    // and "PedalPlayMode" (hold, toggle); anything else gives the default.
    static PedalSettings load(const Preferences &preferences);
    void store(Preferences &preferences) const;
};

// Turns the pedal states of the connected foot controls into the player's
// commands: a jump on each press of a back or forward pedal; with a held play
// pedal, play on press and pause (with the player's rewind) on release, and a
// jump while paused stays paused.
class PedalController {
public:
    PedalController(PlayerCommands &commands, DesktopPlayer &player,
                    const PedalSettings &settings = PedalSettings());

    void setSettings(const PedalSettings &settings);
    const PedalSettings &settings() const { return m_settings; }

    // The pedals now down on one device.
    void pedalsChanged(int device, PedalState state);
    // A device went away: whatever it held is released.
    void deviceLost(int device);

    PedalState combined() const;

private:
    bool actionHeld(PedalState state, PedalAction action) const;
    void apply(PedalState before, PedalState after);

    PlayerCommands &m_commands;
    DesktopPlayer &m_player;
    PedalSettings m_settings;
    QHash<int, PedalState> m_states;
};

} // namespace quillory
