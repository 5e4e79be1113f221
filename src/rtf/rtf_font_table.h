#pragma once

#include "rtf/rtf_keywords.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QHash>
#include <QString>

namespace quillory {

// The font table (\fonttbl) of an RTF file: each font's family and the code
// page of its text. The document's code page is passed in, as the words that
// set it may come before or after the table.
class RtfFontTable {
public:
    // A control word inside the table.
    void controlWord(Keyword keyword, const RtfToken &token, int documentCodePage);
    // Text and \'hh bytes inside the table: font names, each ended by ";".
    void text(QByteArrayView bytes, int documentCodePage);
    void byte(char byte);
    // A group of the table ends: the entry open in it is complete.
    void finishEntry(int documentCodePage);

    // The code page of the font's text: its own, or documentCodePage when it sets none.
    int codePage(int font, int documentCodePage) const;
    // The font's family; empty for a font the table lacks or leaves unnamed.
    QString family(int font) const;

private:
    struct Entry {
        QString family;
        int codePage = 0; // 0: the document's code page
    };

    void startEntry(int number, int documentCodePage);
    void decodeName(int documentCodePage);

    QHash<int, Entry> m_fonts;
    bool m_entryOpen = false;
    int m_number = 0;
    Entry m_entry;
    QByteArray m_nameBytes; // not yet decoded
    QString m_name;
};

} // namespace quillory
