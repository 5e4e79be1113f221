#include "rtf/rtf_paragraph_state.h"

#include "rtf/list_numbering.h"
#include "rtf/plain_text.h"
#include "rtf/rtf_list_tables.h"

#include <algorithm>

namespace quillory {

void RtfParagraphState::numberingWord(Keyword keyword, const RtfToken &token,
                                      Destination &destination, bool &textAfter)
{
    switch (keyword) {
    case Keyword::BulletLevelBullet:
        oldStyleBullet = true;
        break;
    case Keyword::BulletLevelBody:
        oldStyleLevel = 0;
        break;
    case Keyword::BulletLevelContinue:
        oldStyleContinuation = true;
        break;
    case Keyword::BulletLevel:
        oldStyleLevel = std::clamp(token.parameter - 1, 0, kListLevels - 1);
        break;
    case Keyword::BulletDecimal:
        oldStyleKind = QTextListFormat::ListDecimal;
        break;
    case Keyword::BulletUpperLetter:
        oldStyleKind = QTextListFormat::ListUpperAlpha;
        break;
    case Keyword::BulletLowerLetter:
        oldStyleKind = QTextListFormat::ListLowerAlpha;
        break;
    case Keyword::BulletUpperRoman:
        oldStyleKind = QTextListFormat::ListUpperRoman;
        break;
    case Keyword::BulletLowerRoman:
        oldStyleKind = QTextListFormat::ListLowerRoman;
        break;
    case Keyword::BulletStart:
        oldStyleStart = std::clamp(token.parameter, 0, 32767);
        break;
    case Keyword::BulletTextBefore:
        oldStyleBefore.clear();
        destination = Destination::BulletText;
        textAfter = false;
        break;
    case Keyword::BulletTextAfter:
        oldStyleAfter.clear();
        destination = Destination::BulletText;
        textAfter = true;
        break;
    case Keyword::ListOverrideNumber:
        listOverride = token.parameter;
        break;
    case Keyword::ListLevelNumber:
        listLevel = std::clamp(token.parameter, 0, kListLevels - 1);
        break;
    default:
        break;
    }
}

std::optional<RtfListItem> RtfParagraphState::list(const RtfListTables &tables) const
{
    if (listOverride > 0 && tables.defines(listOverride))
        return tables.item(listOverride, listLevel);
    if (oldStyleNumbering && !oldStyleContinuation) {
        RtfListItem item;
        item.key = 0;
        item.level = oldStyleLevel;
        if (oldStyleBullet)
            return item;
        item.style = oldStyleKind;
        item.start = oldStyleStart;
        item.prefix = withoutUnwantedCharacters(oldStyleBefore);
        item.suffix = withoutUnwantedCharacters(oldStyleAfter);
        item.prefix.remove(u'\t');
        item.suffix.remove(u'\t');
        return item;
    }
    if (listOverride > 0) { // a list the file does not define
        RtfListItem item;
        item.key = listOverride;
        item.level = listLevel;
        return item;
    }
    return std::nullopt;
}

} // namespace quillory
