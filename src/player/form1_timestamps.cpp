// The player's side of the transcript's timestamps: the position to write down
// and playing from a timestamp the user clicked.
#include "form1.h"

#include <algorithm>
#include <cmath>

using namespace quillory;

bool Form1::hasMedia()
{
    return m_session.hasMedia();
}

qint64 Form1::mediaPositionMs()
{
    return static_cast<qint64>(std::floor(std::max(0.0, m_session.position())));
}

qint64 Form1::mediaLengthMs()
{
    const std::optional<double> length = m_session.length();
    return length ? static_cast<qint64>(std::max(0.0, *length)) : 0;
}

void Form1::playFromMediaPosition(qint64 ms)
{
    if (!m_session.playFromTimestamp(ms))
        m_services.messages->beep();
}
