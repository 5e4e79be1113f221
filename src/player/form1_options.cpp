// Playback options: the jump length and the rewind on pause.
#include "form1.h"
#include "platform/text/numeric_text.h"

using namespace quillory;

template <typename T> void Form1::clampWithWarning(T *value, T low, T high)
{
    // Entry 40 is the minimum sentence, entry 33 the maximum one; the bound follows.
    auto warn = [this](int entry, T bound) {
        m_services.messages->show(this,
                                  m_language.T(entry) + QStringLiteral(" %1.").arg(bound),
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
    if (m_settings.jumpSeconds < 2)
        m_settings.jumpSeconds = 2;
    const QString answer = m_services.inputs->ask(this, m_language.T(34), m_language.T(35),
                                                  QString::number(m_settings.jumpSeconds));
    // An empty, cancelled or unreadable answer keeps the value.
    if (std::optional<double> value = parseWholeNumber(answer))
        if (std::optional<std::int32_t> seconds = toInt32HalfEven(*value))
            m_settings.jumpSeconds = *seconds;
    clampWithWarning<std::int32_t>(&m_settings.jumpSeconds, 2, 60);
    SaveSettings();
}

void Form1::mnuSecIndietro_Click()
{
    if (m_settings.pauseRewindSeconds < 0)
        m_settings.pauseRewindSeconds = 0;
    const QString answer = m_services.inputs->ask(this, m_language.T(31), m_language.T(32),
                                                  QString::number(m_settings.pauseRewindSeconds));
    // The numeric prefix counts: an empty or cancelled answer reads as 0.
    if (std::optional<std::int16_t> seconds = toInt16HalfEven(numericPrefix(answer)))
        m_settings.pauseRewindSeconds = *seconds;
    clampWithWarning<std::int16_t>(&m_settings.pauseRewindSeconds, 0, 20);
    SaveSettings();
}
