// The player's speed and loop keys in the transcript, beside the function keys of
// the editor's own table (which keep their rows; these keys are none of theirs).
#include "form2.h"

#include "platform/files/preferences.h"

using namespace quillory;

void Form2::loadPlaybackKeys()
{
    m_playbackKeys = PlaybackKeys::fromPreferences(Preferences::shared());
}

bool Form2::playbackKeyDown(int key, Qt::KeyboardModifiers modifiers)
{
    switch (m_playbackKeys.keyFor(key, modifiers)) {
    case PlaybackKey::None:
        return false;
    case PlaybackKey::SpeedDown:
        m_player.slowDown();
        return true;
    case PlaybackKey::SpeedUp:
        m_player.speedUp();
        return true;
    case PlaybackKey::SpeedReset:
        m_player.normalSpeed();
        return true;
    case PlaybackKey::Loop:
        m_player.toggleLoop();
        return true;
    }
    return false;
}
