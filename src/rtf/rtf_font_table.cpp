#include "rtf/rtf_font_table.h"

#include "rtf/code_page.h"
#include "rtf/plain_text.h"

namespace quillory {

void RtfFontTable::controlWord(Keyword keyword, const RtfToken &token, int documentCodePage)
{
    switch (keyword) {
    case Keyword::Font:
        startEntry(token.parameter, documentCodePage);
        break;
    case Keyword::FontCharset:
        m_entry.codePage = CodePage::forCharset(token.parameter, 0);
        break;
    case Keyword::FontCodePage:
        if (token.parameter > 0)
            m_entry.codePage = token.parameter;
        break;
    case Keyword::Unicode:
        if (m_entryOpen) {
            decodeName(documentCodePage);
            m_name += QChar(static_cast<char16_t>(token.parameter & 0xFFFF));
        }
        break;
    default:
        break;
    }
}

void RtfFontTable::text(QByteArrayView bytes, int documentCodePage)
{
    for (char c : bytes) {
        if (c == ';') {
            finishEntry(documentCodePage);
        } else if (m_entryOpen) {
            m_nameBytes += c;
        }
    }
}

void RtfFontTable::byte(char byte)
{
    if (m_entryOpen)
        m_nameBytes += byte;
}

void RtfFontTable::startEntry(int number, int documentCodePage)
{
    finishEntry(documentCodePage);
    m_entryOpen = true;
    m_number = number;
    m_entry = Entry();
    m_nameBytes.clear();
    m_name.clear();
}

void RtfFontTable::decodeName(int documentCodePage)
{
    if (m_nameBytes.isEmpty())
        return;
    const int codePage = m_entry.codePage ? m_entry.codePage : documentCodePage;
    m_name += CodePage::decode(m_nameBytes, codePage);
    m_nameBytes.clear();
}

void RtfFontTable::finishEntry(int documentCodePage)
{
    if (!m_entryOpen)
        return;
    m_entryOpen = false;
    decodeName(documentCodePage);
    m_name.removeIf([](QChar ch) { return ch == u'\t' || isUnwantedCharacter(ch); });
    m_entry.family = m_name.trimmed();
    m_fonts.insert(m_number, m_entry);
}

int RtfFontTable::codePage(int font, int documentCodePage) const
{
    const auto entry = m_fonts.constFind(font);
    if (entry != m_fonts.constEnd() && entry->codePage != 0)
        return entry->codePage;
    return documentCodePage;
}

QString RtfFontTable::family(int font) const
{
    const auto entry = m_fonts.constFind(font);
    return entry != m_fonts.constEnd() ? entry->family : QString();
}

} // namespace quillory
