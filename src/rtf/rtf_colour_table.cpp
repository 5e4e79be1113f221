#include "rtf/rtf_colour_table.h"

#include <algorithm>

namespace quillory {

void RtfColourTable::controlWord(Keyword keyword, const RtfToken &token)
{
    const int value = std::clamp(token.parameter, 0, 255);
    switch (keyword) {
    case Keyword::Red:
        m_red = value;
        break;
    case Keyword::Green:
        m_green = value;
        break;
    case Keyword::Blue:
        m_blue = value;
        break;
    default:
        return;
    }
    m_colourSet = true;
}

void RtfColourTable::text(QByteArrayView bytes)
{
    for (char c : bytes) {
        if (c != ';')
            continue;
        m_colours.push_back(m_colourSet ? QColor(m_red, m_green, m_blue) : QColor());
        m_red = m_green = m_blue = 0;
        m_colourSet = false;
    }
}

QColor RtfColourTable::colour(int number) const
{
    if (number < 0 || std::size_t(number) >= m_colours.size())
        return QColor();
    return m_colours[std::size_t(number)];
}

} // namespace quillory
