// Playback options: the jump length and the rewind on pause.
#include "form1.h"
#include "platform/text/numeric_text.h"

using namespace quillory;

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
    auto warn = [this](const QString &text) {
        m_services.messages->show(this, text, MsgButtons::Ok, MsgIcon::Exclamation,
                                  m_language.T(1));
    };
    if (m_settings.jumpSeconds < 2) {
        warn(m_language.T(40) + QStringLiteral(" 2."));
        m_settings.jumpSeconds = 2;
    }
    if (m_settings.jumpSeconds > 60) {
        warn(m_language.T(33) + QStringLiteral(" 60."));
        m_settings.jumpSeconds = 60;
    }
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
    auto warn = [this](const QString &text) {
        m_services.messages->show(this, text, MsgButtons::Ok, MsgIcon::Exclamation,
                                  m_language.T(1));
    };
    if (m_settings.pauseRewindSeconds < 0) {
        warn(m_language.T(40) + QStringLiteral(" 0."));
        m_settings.pauseRewindSeconds = 0;
    }
    if (m_settings.pauseRewindSeconds > 20) {
        warn(m_language.T(33) + QStringLiteral(" 20."));
        m_settings.pauseRewindSeconds = 20;
    }
    SaveSettings();
}
