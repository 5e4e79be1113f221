#include "session/playback_keys.h"

#include "platform/files/preferences.h"

namespace quillory {

namespace {

constexpr std::array<PlaybackKey, 4> Commands = {PlaybackKey::SpeedDown, PlaybackKey::SpeedUp,
                                                 PlaybackKey::SpeedReset, PlaybackKey::Loop};

constexpr Qt::KeyboardModifiers Significant =
    Qt::ControlModifier | Qt::ShiftModifier | Qt::AltModifier | Qt::MetaModifier;

QKeyCombination normalised(int key, Qt::KeyboardModifiers modifiers)
{
    return QKeyCombination(modifiers & Significant, static_cast<Qt::Key>(key));
}

} // namespace

PlaybackKeys::PlaybackKeys()
{
    for (PlaybackKey command : Commands)
        m_keys[static_cast<size_t>(indexOf(command))] = defaultSequence(command)[0];
}

int PlaybackKeys::indexOf(PlaybackKey command)
{
    return static_cast<int>(command) - 1;
}

QKeySequence PlaybackKeys::defaultSequence(PlaybackKey command)
{
    switch (command) {
    case PlaybackKey::SpeedDown:
        return QKeySequence(Qt::Key_F10);
    case PlaybackKey::SpeedUp:
        return QKeySequence(Qt::Key_F12);
    case PlaybackKey::SpeedReset:
        return QKeySequence(Qt::SHIFT | Qt::Key_F12);
    case PlaybackKey::Loop:
        return QKeySequence(Qt::Key_F4);
    case PlaybackKey::None:
        break;
    }
    return QKeySequence();
}

const char *PlaybackKeys::preferenceKey(PlaybackKey command)
{
    switch (command) {
    case PlaybackKey::SpeedDown:
        return "keys.speedDown";
    case PlaybackKey::SpeedUp:
        return "keys.speedUp";
    case PlaybackKey::SpeedReset:
        return "keys.speedReset";
    case PlaybackKey::Loop:
        return "keys.loop";
    case PlaybackKey::None:
        break;
    }
    return "";
}

bool PlaybackKeys::isReserved(const QKeyCombination &combination)
{
    const int key = combination.key();
    const Qt::KeyboardModifiers held = combination.keyboardModifiers();
    // Esc and these function keys act in the editor whatever modifiers are held.
    for (int taken : {int(Qt::Key_Escape), int(Qt::Key_F1), int(Qt::Key_F5), int(Qt::Key_F6),
                      int(Qt::Key_F7), int(Qt::Key_F8), int(Qt::Key_F9), int(Qt::Key_F11)})
        if (key == taken)
            return true;
    // A plain or shifted character would no longer type; Alt letters open the
    // menus; Ctrl letters format, undo or are the menus' shortcuts.
    const bool character = key >= Qt::Key_Space && key <= Qt::Key_AsciiTilde;
    if (character && (held & (Qt::ControlModifier | Qt::MetaModifier)) == Qt::NoModifier)
        return true;
    if (character && held == Qt::ControlModifier)
        return true;
    if (key == Qt::Key_F4 && held == Qt::ControlModifier) // closes the media file
        return true;
    // Keys that edit, or move and select with the caret (with Alt or Meta they do
    // neither).
    const bool editing = (held & (Qt::AltModifier | Qt::MetaModifier)) == Qt::NoModifier;
    switch (key) {
    case Qt::Key_Tab:
    case Qt::Key_Backtab:
    case Qt::Key_Backspace:
    case Qt::Key_Return:
    case Qt::Key_Enter:
    case Qt::Key_Delete:
    case Qt::Key_Insert:
    case Qt::Key_Home:
    case Qt::Key_End:
    case Qt::Key_Left:
    case Qt::Key_Right:
    case Qt::Key_Up:
    case Qt::Key_Down:
    case Qt::Key_PageUp:
    case Qt::Key_PageDown:
        return editing;
    default:
        break;
    }
    return key == Qt::Key_unknown || key == 0 || key == Qt::Key_Shift || key == Qt::Key_Control ||
           key == Qt::Key_Alt || key == Qt::Key_Meta;
}

PlaybackKeys PlaybackKeys::fromPreferences(const Preferences &preferences)
{
    PlaybackKeys keys;
    for (PlaybackKey command : Commands) {
        const QString text = preferences.text(QLatin1String(preferenceKey(command)));
        if (text.isEmpty())
            continue;
        const QKeySequence chosen = QKeySequence::fromString(text, QKeySequence::PortableText);
        if (chosen.count() != 1)
            continue;
        const QKeyCombination combination =
            normalised(chosen[0].key(), chosen[0].keyboardModifiers());
        if (isReserved(combination))
            continue;
        keys.m_keys[static_cast<size_t>(indexOf(command))] = combination;
    }
    // Two commands on one key: the later ones keep their defaults, unless that
    // is taken too, in which case the key does only the first command.
    for (size_t i = 1; i < keys.m_keys.size(); ++i)
        for (size_t j = 0; j < i; ++j)
            if (keys.m_keys[i] == keys.m_keys[j])
                keys.m_keys[i] = defaultSequence(Commands[i])[0];
    return keys;
}

PlaybackKey PlaybackKeys::keyFor(int key, Qt::KeyboardModifiers modifiers) const
{
    const QKeyCombination pressed = normalised(key, modifiers);
    for (size_t i = 0; i < m_keys.size(); ++i)
        if (m_keys[i] == pressed)
            return Commands[i];
    return PlaybackKey::None;
}

QKeySequence PlaybackKeys::sequence(PlaybackKey command) const
{
    if (command == PlaybackKey::None)
        return QKeySequence();
    return QKeySequence(m_keys[static_cast<size_t>(indexOf(command))]);
}

} // namespace quillory
