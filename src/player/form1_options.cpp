// Playback options: the jump length and the rewind on pause.
#include "form1.h"
#include "platform/text/numeric_text.h"

#include <algorithm>

using namespace quillory;

template <typename T> void Form1::clampWithWarning(T *value, T low, T high)
{
    // Entry 40 is the minimum sentence, entry 33 the maximum one; the bound follows.
    auto warn = [this](int entry, T bound) {
        m_services.messages->show(this, m_language.T(entry) + QStringLiteral(" %1.").arg(bound),
                                  MsgButtons::Ok, MsgIcon::Exclamation, m_language.T(1));
    };
    if (*value < low) {
        warn(40, low);
        *value = low;
    }
    if (*value > high) {
        warn(33, high);
        *value = high;
    }
}

void Form1::mnuSalto_Click()
{
    std::int32_t jump = std::max<std::int32_t>(m_session.jumpSeconds(), 2);
    const QString answer =
        m_services.inputs->ask(this, m_language.T(34), m_language.T(35), QString::number(jump));
    // An empty, cancelled or unreadable answer keeps the value.
    if (std::optional<double> value = parseWholeNumber(answer))
        if (std::optional<std::int32_t> seconds = toInt32HalfEven(*value))
            jump = *seconds;
    clampWithWarning<std::int32_t>(&jump, 2, 60);
    m_session.setJumpSeconds(jump);
    SaveSettings();
}

void Form1::mnuSecIndietro_Click()
{
    std::int16_t rewind = std::max<std::int16_t>(m_session.pauseRewindSeconds(), 0);
    const QString answer =
        m_services.inputs->ask(this, m_language.T(31), m_language.T(32), QString::number(rewind));
    // The numeric prefix counts: an empty or cancelled answer reads as 0.
    if (std::optional<std::int16_t> seconds = toInt16HalfEven(numericPrefix(answer)))
        rewind = *seconds;
    clampWithWarning<std::int16_t>(&rewind, 0, 20);
    m_session.setPauseRewindSeconds(rewind);
    SaveSettings();
}
