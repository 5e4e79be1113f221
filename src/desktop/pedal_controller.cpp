#include "pedal_controller.h"

#include "contracts/desktop_player.h"
#include "contracts/player_commands.h"
#include "platform/files/preferences.h"

namespace quillory {

namespace {
PedalAction actionFromText(const QString &text, PedalAction fallback)
{
    const QString t = text.trimmed().toLower();
    if (t == QLatin1String("back"))
        return PedalAction::Back;
    if (t == QLatin1String("play"))
        return PedalAction::Play;
    if (t == QLatin1String("forward"))
        return PedalAction::Forward;
    if (t == QLatin1String("none"))
        return PedalAction::None;
    return fallback;
}

QString actionText(PedalAction action)
{
    switch (action) {
    case PedalAction::Back:
        return QStringLiteral("back");
    case PedalAction::Play:
        return QStringLiteral("play");
    case PedalAction::Forward:
        return QStringLiteral("forward");
    case PedalAction::None:
        break;
    }
    return QStringLiteral("none");
}

constexpr PedalBit AllPedals[] = {PedalLeft, PedalMiddle, PedalRight};
} // namespace

PedalAction PedalSettings::actionOf(PedalBit pedal) const
{
    switch (pedal) {
    case PedalLeft:
        return left;
    case PedalMiddle:
        return middle;
    case PedalRight:
        return right;
    }
    return PedalAction::None;
}

PedalSettings PedalSettings::load(const Preferences &preferences)
{
    PedalSettings s;
    s.left = actionFromText(preferences.text(QStringLiteral("PedalLeft")), s.left);
    s.middle = actionFromText(preferences.text(QStringLiteral("PedalMiddle")), s.middle);
    s.right = actionFromText(preferences.text(QStringLiteral("PedalRight")), s.right);
    s.playToggles = preferences.text(QStringLiteral("PedalPlayMode")).trimmed().toLower() ==
                    QLatin1String("toggle");
    return s;
}

void PedalSettings::store(Preferences &preferences) const
{
    preferences.setText(QStringLiteral("PedalLeft"), actionText(left));
    preferences.setText(QStringLiteral("PedalMiddle"), actionText(middle));
    preferences.setText(QStringLiteral("PedalRight"), actionText(right));
    preferences.setText(QStringLiteral("PedalPlayMode"),
                        playToggles ? QStringLiteral("toggle") : QStringLiteral("hold"));
}

PedalController::PedalController(PlayerCommands &commands, DesktopPlayer &player,
                                 const PedalSettings &settings)
    : m_commands(commands), m_player(player), m_settings(settings)
{
}

void PedalController::setSettings(const PedalSettings &settings)
{
    m_settings = settings;
}

PedalState PedalController::combined() const
{
    PedalState all = 0;
    for (PedalState s : m_states)
        all |= s;
    return all;
}

bool PedalController::actionHeld(PedalState state, PedalAction action) const
{
    for (PedalBit pedal : AllPedals)
        if ((state & pedal) && m_settings.actionOf(pedal) == action)
            return true;
    return false;
}

void PedalController::pedalsChanged(int device, PedalState state)
{
    const PedalState before = combined();
    if (state == 0)
        m_states.remove(device);
    else
        m_states.insert(device, state);
    apply(before, combined());
}

void PedalController::deviceLost(int device)
{
    pedalsChanged(device, 0);
}

void PedalController::apply(PedalState before, PedalState after)
{
    const bool media = m_player.hasMedia();
    // A release first: a foot moving from the play pedal to a jump pedal pauses,
    // then jumps from the paused position.
    const bool playBefore = actionHeld(before, PedalAction::Play);
    const bool playAfter = actionHeld(after, PedalAction::Play);
    if (playBefore && !playAfter && !m_settings.playToggles) {
        if (media && m_player.isPlaying())
            m_commands.playOrPause();
    }
    if (!media)
        return;
    const PedalState pressed = after & ~before;
    // With a held play pedal the sound runs only while a foot holds it: a jump
    // made while paused moves the position and stays paused.
    const bool jumpsStayPaused = !m_settings.playToggles && !m_player.isPlaying();
    for (PedalBit pedal : AllPedals) {
        if (!(pressed & pedal))
            continue;
        switch (m_settings.actionOf(pedal)) {
        case PedalAction::Back:
            if (jumpsStayPaused)
                m_player.jumpKeepingState(false);
            else
                m_commands.jumpBack();
            break;
        case PedalAction::Forward:
            if (jumpsStayPaused)
                m_player.jumpKeepingState(true);
            else
                m_commands.jumpForward();
            break;
        case PedalAction::Play:
        case PedalAction::None:
            break;
        }
    }
    if (!playBefore && playAfter) {
        if (m_settings.playToggles) {
            m_commands.playOrPause();
        } else if (!m_player.isPlaying()) {
            m_commands.playOrPause();
        }
    }
}

} // namespace quillory
