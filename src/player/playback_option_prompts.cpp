#include "playback_option_prompts.h"

#include "i18n/language_table.h"
#include "platform/text/numeric_text.h"
#include "session/player_session.h"

#include <algorithm>

using namespace quillory;

PlaybackOptionPrompts::PlaybackOptionPrompts(QWidget *owner, const Services &services,
                                             const LanguageTable &language, PlayerSession &session)
    : m_owner(owner), m_services(services), m_language(language), m_session(session)
{
}

template <typename T> T PlaybackOptionPrompts::clampWithWarning(T value, T low, T high) const
{
    // Entry 40 is the minimum sentence, entry 33 the maximum one; the bound follows.
    auto warn = [this](int entry, T bound) {
        m_services.messages->show(m_owner, m_language.T(entry) + QStringLiteral(" %1.").arg(bound),
                                  MsgButtons::Ok, MsgIcon::Exclamation, m_language.T(1));
    };
    if (value < low) {
        warn(40, low);
        value = low;
    }
    if (value > high) {
        warn(33, high);
        value = high;
    }
    return value;
}

void PlaybackOptionPrompts::askJumpSeconds()
{
    std::int32_t jump = std::max<std::int32_t>(m_session.jumpSeconds(), 2);
    const QString answer =
        m_services.inputs->ask(m_owner, m_language.T(34), m_language.T(35), QString::number(jump));
    // An empty, cancelled or unreadable answer keeps the value.
    if (std::optional<double> value = parseWholeNumber(answer))
        if (std::optional<std::int32_t> seconds = toInt32HalfEven(*value))
            jump = *seconds;
    m_session.setJumpSeconds(clampWithWarning<std::int32_t>(jump, 2, 60));
}

void PlaybackOptionPrompts::askPauseRewindSeconds()
{
    std::int16_t rewind = std::max<std::int16_t>(m_session.pauseRewindSeconds(), 0);
    const QString answer = m_services.inputs->ask(m_owner, m_language.T(31), m_language.T(32),
                                                  QString::number(rewind));
    // The numeric prefix counts: an empty or cancelled answer reads as 0.
    if (std::optional<std::int16_t> seconds = toInt16HalfEven(numericPrefix(answer)))
        rewind = *seconds;
    m_session.setPauseRewindSeconds(clampWithWarning<std::int16_t>(rewind, 0, 20));
}
