#include "rtf/rtf_list_tables.h"

#include "rtf/code_page.h"
#include "rtf/plain_text.h"

#include <algorithm>

namespace quillory {
namespace {

QTextListFormat::Style bulletStyle(QChar bullet)
{
    switch (bullet.unicode()) {
    case u'o':
    case 0x25E6: // white bullet
    case 0x25CB: // white circle
    case 0xF06F: // "o" in a symbol font
        return QTextListFormat::ListCircle;
    case 0x00A7: // Wingdings' square, by its 8-bit code
    case 0xF0A7:
    case 0x25AA:
    case 0x25A0:
    case 0xF06E:
        return QTextListFormat::ListSquare;
    default:
        return QTextListFormat::ListDisc;
    }
}

} // namespace

RtfListTables::Level *RtfListTables::currentLevel()
{
    if (m_lists.empty() || m_lists.back().levelCount == 0)
        return nullptr;
    List &list = m_lists.back();
    return &list.levels[std::size_t(list.levelCount - 1)];
}

void RtfListTables::listTableWord(Keyword keyword, const RtfToken &token, Destination &destination)
{
    constexpr std::size_t kMaxLists = 10000;
    switch (keyword) {
    case Keyword::List:
        if (m_lists.size() < kMaxLists)
            m_lists.emplace_back();
        m_levelOverflow = false;
        break;
    case Keyword::ListId:
        if (!m_lists.empty())
            m_listIndex.insert(token.parameter, int(m_lists.size() - 1));
        break;
    case Keyword::ListLevel:
        if (!m_lists.empty() && m_lists.back().levelCount < kListLevels)
            ++m_lists.back().levelCount;
        else
            m_levelOverflow = true; // a tenth level: its words change nothing
        break;
    case Keyword::LevelNumberFormat:
        if (Level *level = currentLevel(); level && !m_levelOverflow)
            level->numberFormat = token.parameter;
        break;
    case Keyword::LevelStartAt:
        if (Level *level = currentLevel(); level && !m_levelOverflow)
            level->start = std::clamp(token.parameter, 0, 32767);
        break;
    case Keyword::LevelNoRestart:
        if (Level *level = currentLevel(); level && !m_levelOverflow)
            level->noRestart = flagValue(token);
        break;
    case Keyword::LevelText:
        if (Level *level = currentLevel(); level && !m_levelOverflow) {
            level->text.clear();
            level->textEnded = false;
            destination = Destination::LevelText;
        } else {
            destination = Destination::Skip;
        }
        break;
    default:
        break;
    }
}

void RtfListTables::overrideTableWord(Keyword keyword, const RtfToken &token,
                                      Destination &destination)
{
    constexpr std::size_t kMaxOverrides = 10000;
    if (keyword == Keyword::ListOverrideEntry) {
        if (m_overrides.size() < kMaxOverrides)
            m_overrides.emplace_back();
        return;
    }
    if (m_overrides.empty())
        return;
    Override &entry = m_overrides.back();
    switch (keyword) {
    case Keyword::ListId:
        entry.listId = token.parameter;
        break;
    case Keyword::ListOverrideNumber:
        m_overrideIndex.insert(token.parameter, int(m_overrides.size() - 1));
        break;
    case Keyword::OverrideLevel:
        ++entry.levelCount;
        break;
    case Keyword::LevelStartAt:
        if (entry.levelCount > 0 && entry.levelCount <= kListLevels)
            entry.start[std::size_t(entry.levelCount - 1)] = std::clamp(token.parameter, 0, 32767);
        break;
    case Keyword::LevelText:
        destination = Destination::Skip;
        break;
    default:
        break;
    }
}

void RtfListTables::levelText(QByteArrayView bytes, int documentCodePage)
{
    // A plain ";" ends the text; an escaped one (\'3b) belongs to it.
    if (Level *level = currentLevel(); level && !level->textEnded) {
        const qsizetype end = bytes.indexOf(';');
        level->text += CodePage::decode(end < 0 ? bytes : bytes.first(end), documentCodePage);
        level->textEnded = end >= 0;
    }
}

void RtfListTables::levelTextByte(unsigned char byte, int documentCodePage)
{
    // Bytes below 0x20 are the length and the level placeholders.
    if (Level *level = currentLevel(); level && !level->textEnded) {
        const char ch = static_cast<char>(byte);
        if (byte < 0x20)
            level->text += QChar(byte);
        else // a lone byte of a double-byte code page may decode to nothing
            level->text += CodePage::decode(QByteArrayView(&ch, 1), documentCodePage);
    }
}

void RtfListTables::levelTextCharacter(char16_t character)
{
    if (Level *level = currentLevel(); level && !level->textEnded)
        level->text += QChar(character);
}

bool RtfListTables::defines(int listOverride) const
{
    if (!m_overrideIndex.contains(listOverride))
        return false;
    const Override &entry = m_overrides[std::size_t(m_overrideIndex[listOverride])];
    return m_listIndex.contains(entry.listId) &&
           m_lists[std::size_t(m_listIndex[entry.listId])].levelCount > 0;
}

std::optional<RtfListItem> RtfListTables::item(int listOverride, int listLevel) const
{
    const Override &entry = m_overrides[std::size_t(m_overrideIndex[listOverride])];
    const List &list = m_lists[std::size_t(m_listIndex[entry.listId])];
    const int levelNumber = std::min(listLevel, list.levelCount - 1);
    const Level &level = list.levels[std::size_t(levelNumber)];

    RtfListItem item;
    item.key = listOverride;
    item.level = listLevel;
    item.noRestart = level.noRestart;
    item.start = entry.start[std::size_t(levelNumber)].value_or(level.start);

    // \leveltext: a length, then the marker with placeholders 0..8 for the levels' numbers.
    QString text = level.text;
    if (!text.isEmpty() && text.front().unicode() < 0x20) {
        const int length = text.front().unicode();
        text = text.mid(1, length);
    }

    switch (level.numberFormat) {
    case 255: // no number
        return std::nullopt;
    case 23: {
        const auto shown =
            std::find_if(text.begin(), text.end(), [](QChar ch) { return ch.unicode() >= 0x20; });
        item.style = shown == text.end() ? QTextListFormat::ListDisc : bulletStyle(*shown);
        return item;
    }
    case 1:
        item.style = QTextListFormat::ListUpperRoman;
        break;
    case 2:
        item.style = QTextListFormat::ListLowerRoman;
        break;
    case 3:
        item.style = QTextListFormat::ListUpperAlpha;
        break;
    case 4:
        item.style = QTextListFormat::ListLowerAlpha;
        break;
    default: // decimal, and the kinds a QTextList lacks (ordinals, words, ideographs)
        item.style = QTextListFormat::ListDecimal;
        break;
    }
    if (level.text.isEmpty()) {
        item.suffix = QStringLiteral(".");
        return item;
    }
    // Text around the level's own number; outer levels' numbers ("1.1.") have no place.
    qsizetype own = text.indexOf(QChar(char16_t(levelNumber)));
    if (own < 0) {
        for (qsizetype i = text.size() - 1; i >= 0 && own < 0; --i) {
            if (text[i].unicode() < kListLevels)
                own = i;
        }
    }
    const auto clean = [](QString part) {
        part.removeIf([](QChar ch) { return ch.unicode() < 0x20 || isUnwantedCharacter(ch); });
        return part;
    };
    if (own >= 0) {
        item.prefix = clean(text.left(own));
        item.suffix = clean(text.mid(own + 1));
    } else {
        item.suffix = clean(text);
    }
    return item;
}

} // namespace quillory
