#pragma once

#include "rtf/list_numbering.h"
#include "rtf/rtf_document_builder.h"
#include "rtf/rtf_keywords.h"

#include <QByteArrayView>
#include <QHash>
#include <QString>

#include <array>
#include <optional>
#include <vector>

namespace quillory {

// The list table (\listtable) and the list override table (\listoverridetable)
// of an RTF file: the lists and their levels, and the numbers (\ls) by which
// paragraphs name them.
class RtfListTables {
public:
    // A control word inside \listtable or \listoverridetable. \leveltext sends
    // the group's text to the level (Destination::LevelText) or skips it.
    void listTableWord(Keyword keyword, const RtfToken &token, Destination &destination);
    void overrideTableWord(Keyword keyword, const RtfToken &token, Destination &destination);

    // The current level's \leveltext: text up to a plain ";", \'hh bytes (those
    // below 0x20 are the length and the level placeholders) and \u characters.
    void levelText(QByteArrayView bytes, int documentCodePage);
    void levelTextByte(unsigned char byte, int documentCodePage);
    void levelTextCharacter(char16_t character);

    // True when \ls `listOverride` names a list the tables define with a level.
    bool defines(int listOverride) const;
    // The item of a paragraph in a list the tables define, at `level`; nothing
    // for a level that shows no number (\levelnfc255).
    std::optional<RtfListItem> item(int listOverride, int level) const;

private:
    struct Level {
        int numberFormat = 0; // \levelnfc
        int start = 1;
        bool noRestart = false;
        QString text; // \leveltext: length, then text with level placeholders 0..8
        bool textEnded = false;
    };
    struct List {
        std::array<Level, kListLevels> levels;
        int levelCount = 0;
    };
    // A \listoverridetable entry: the \ls number paragraphs use for a list.
    struct Override {
        int listId = 0;
        std::array<std::optional<int>, kListLevels> start;
        int levelCount = 0; // \lfolevel groups seen
    };

    Level *currentLevel();

    std::vector<List> m_lists;
    std::vector<Override> m_overrides;
    QHash<int, int> m_listIndex;     // \listid: index in m_lists
    QHash<int, int> m_overrideIndex; // \ls: index in m_overrides
    bool m_levelOverflow = false;
};

} // namespace quillory
