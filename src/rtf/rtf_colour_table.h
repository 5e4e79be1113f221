#pragma once

#include "rtf/rtf_keywords.h"

#include <QByteArrayView>
#include <QColor>

#include <vector>

namespace quillory {

// The colour table (\colortbl) of an RTF file: colours by number, each entry
// ended by ";". An entry without \red, \green or \blue is the default colour.
class RtfColourTable {
public:
    // A control word inside the table.
    void controlWord(Keyword keyword, const RtfToken &token);
    // Text inside the table.
    void text(QByteArrayView bytes);

    // Invalid for the default colour and for a number the table lacks.
    QColor colour(int number) const;

private:
    std::vector<QColor> m_colours;
    int m_red = 0, m_green = 0, m_blue = 0;
    bool m_colourSet = false;
};

} // namespace quillory
