#pragma once

#include "rtf/rtf_tokenizer.h"

#include <optional>
#include <string_view>

namespace quillory {

// Where the text of an RTF group goes.
enum class Destination {
    Text,
    Skip,
    FontTable,
    ColorTable,
    BulletDefinition, // \pn: old-style numbering of the paragraph
    BulletText,       // \pntxtb, \pntxta: text before and after the number
    ListTable,
    ListOverrideTable,
    LevelText, // \leveltext of a list level
    ListMarker // \listtext, \pntext: the marker as text for readers without lists
};

// The control words the reader acts on.
enum class Keyword {
    Rtf,
    Ansi,
    Mac,
    Pc,
    Pca,
    AnsiCodePage,
    DefaultFont,
    DefaultLanguage,
    Language,
    FontTable,
    ColorTable,
    SkipDestination,
    BulletDefinition,
    BulletTextBefore,
    BulletTextAfter,
    BulletLevelBullet,
    BulletLevelBody,
    BulletLevelContinue,
    BulletLevel,
    BulletDecimal,
    BulletUpperLetter,
    BulletLowerLetter,
    BulletUpperRoman,
    BulletLowerRoman,
    BulletStart,
    ListTable,
    ListOverrideTable,
    List,
    ListId,
    ListLevel,
    LevelNumberFormat,
    LevelStartAt,
    LevelNoRestart,
    LevelText,
    ListOverrideEntry,
    OverrideLevel,
    ListMarker,
    ListLevelNumber,
    Footnote,
    FootnoteMark,
    AlternativesFirst, // \upr, \object, \shp: hold text twice or as a fallback
    AlternativeChosen, // \ud, \result, \shptxt: the text to read
    Par,
    Line,
    Tab,
    Cell,
    Row,
    Pard,
    AlignLeft,
    AlignCenter,
    AlignRight,
    AlignJustify,
    ListOverrideNumber,
    Plain,
    Bold,
    Italic,
    Underline,
    UnderlineNone,
    Strike,
    Font,
    FontSize,
    Colour,
    FontCharset,
    FontCodePage,
    Red,
    Green,
    Blue,
    UnicodeSkip,
    Unicode,
    EmDash,
    EnDash,
    EmSpace,
    EnSpace,
    QuarterEmSpace,
    Bullet,
    LeftQuote,
    RightQuote,
    LeftDoubleQuote,
    RightDoubleQuote,
    ZeroWidthJoiner,
    ZeroWidthNonJoiner,
    LeftToRightMark,
    RightToLeftMark
};

// The keyword of a control word's name; nothing for a word the reader ignores.
std::optional<Keyword> findKeyword(std::string_view word);

// A flag word's value: on without a parameter or with one other than 0 (\b, \b1; \b0 is off).
inline bool flagValue(const RtfToken &token)
{
    return !token.hasParameter || token.parameter != 0;
}

} // namespace quillory
