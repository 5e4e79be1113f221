#pragma once

#include <QKeySequence>
#include <Qt>
#include <array>

namespace quillory {

class Preferences;

// The keys of the speed and loop commands, the same in the player and in the
// transcript. Each can be changed in Preferences.ini as a key sequence in
// portable text ("keys.speedUp=Ctrl+F12"); a value that is no single key, or a
// key the player's own tables already use, gives the default.
enum class PlaybackKey { None, SpeedDown, SpeedUp, SpeedReset, Loop };

class PlaybackKeys {
public:
    // F10 slower, F12 faster, Shift+F12 normal speed, F4 loop.
    PlaybackKeys();
    static PlaybackKeys fromPreferences(const Preferences &preferences);

    // The command of a key press. Modifiers must match exactly, so that F12 and
    // Shift+F12 stay apart.
    PlaybackKey keyFor(int key, Qt::KeyboardModifiers modifiers) const;
    QKeySequence sequence(PlaybackKey command) const;

    static QKeySequence defaultSequence(PlaybackKey command);
    static const char *preferenceKey(PlaybackKey command);
    // Keys that the player's and the editor's own tables take.
    static bool isReserved(const QKeyCombination &combination);

private:
    static int indexOf(PlaybackKey command);
    std::array<QKeyCombination, 4> m_keys;
};

} // namespace quillory
