#include "editor/rtf/rtf_reader.h"

#include "editor/rtf/code_page.h"
#include "editor/rtf/list_numbering.h"
#include "editor/rtf/plain_text.h"
#include "editor/rtf/rtf_document_builder.h"
#include "editor/rtf/rtf_tokenizer.h"

#include <QColor>
#include <QHash>
#include <QTextCharFormat>
#include <QTextDocument>

#include <algorithm>
#include <array>
#include <optional>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace quillory {
namespace {

// Deeper groups are still parsed, but share the state of the deepest kept level.
constexpr std::size_t kMaxGroupDepth = 1000;
constexpr int kDefaultHalfPoints = 24;
constexpr int kMinHalfPoints = 2;
constexpr int kMaxHalfPoints = 3276;
constexpr int kMaxUnicodeSkip = 16;

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

enum class Keyword {
    Rtf,
    Ansi,
    Mac,
    Pc,
    Pca,
    AnsiCodePage,
    DefaultFont,
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

const std::unordered_map<std::string_view, Keyword> &keywords()
{
    static const std::unordered_map<std::string_view, Keyword> table = [] {
        std::unordered_map<std::string_view, Keyword> map = {
            {"rtf", Keyword::Rtf},
            {"ansi", Keyword::Ansi},
            {"mac", Keyword::Mac},
            {"pc", Keyword::Pc},
            {"pca", Keyword::Pca},
            {"ansicpg", Keyword::AnsiCodePage},
            {"deff", Keyword::DefaultFont},
            {"fonttbl", Keyword::FontTable},
            {"colortbl", Keyword::ColorTable},
            {"pn", Keyword::BulletDefinition},
            {"pntxtb", Keyword::BulletTextBefore},
            {"pntxta", Keyword::BulletTextAfter},
            {"pnlvlblt", Keyword::BulletLevelBullet},
            {"pnlvlbody", Keyword::BulletLevelBody},
            {"pnlvlcont", Keyword::BulletLevelContinue},
            {"pnlvl", Keyword::BulletLevel},
            {"pndec", Keyword::BulletDecimal},
            {"pnucltr", Keyword::BulletUpperLetter},
            {"pnlcltr", Keyword::BulletLowerLetter},
            {"pnucrm", Keyword::BulletUpperRoman},
            {"pnlcrm", Keyword::BulletLowerRoman},
            {"pnstart", Keyword::BulletStart},
            {"listtable", Keyword::ListTable},
            {"listoverridetable", Keyword::ListOverrideTable},
            {"list", Keyword::List},
            {"listid", Keyword::ListId},
            {"listlevel", Keyword::ListLevel},
            {"levelnfc", Keyword::LevelNumberFormat},
            {"levelnfcn", Keyword::LevelNumberFormat},
            {"levelstartat", Keyword::LevelStartAt},
            {"levelnorestart", Keyword::LevelNoRestart},
            {"leveltext", Keyword::LevelText},
            {"listoverride", Keyword::ListOverrideEntry},
            {"lfolevel", Keyword::OverrideLevel},
            {"listtext", Keyword::ListMarker},
            {"pntext", Keyword::ListMarker},
            {"ilvl", Keyword::ListLevelNumber},
            {"footnote", Keyword::Footnote},
            {"chftn", Keyword::FootnoteMark},
            {"upr", Keyword::AlternativesFirst},
            {"object", Keyword::AlternativesFirst},
            {"shp", Keyword::AlternativesFirst},
            {"ud", Keyword::AlternativeChosen},
            {"result", Keyword::AlternativeChosen},
            {"shptxt", Keyword::AlternativeChosen},
            {"par", Keyword::Par},
            {"line", Keyword::Line},
            {"tab", Keyword::Tab},
            {"cell", Keyword::Cell},
            {"nestcell", Keyword::Cell},
            {"row", Keyword::Row},
            {"nestrow", Keyword::Row},
            {"pard", Keyword::Pard},
            {"ql", Keyword::AlignLeft},
            {"qc", Keyword::AlignCenter},
            {"qr", Keyword::AlignRight},
            {"qj", Keyword::AlignJustify},
            {"qd", Keyword::AlignJustify},
            {"ls", Keyword::ListOverrideNumber},
            {"plain", Keyword::Plain},
            {"b", Keyword::Bold},
            {"i", Keyword::Italic},
            {"ulnone", Keyword::UnderlineNone},
            {"strike", Keyword::Strike},
            {"striked", Keyword::Strike},
            {"f", Keyword::Font},
            {"fs", Keyword::FontSize},
            {"cf", Keyword::Colour},
            {"fcharset", Keyword::FontCharset},
            {"cpg", Keyword::FontCodePage},
            {"red", Keyword::Red},
            {"green", Keyword::Green},
            {"blue", Keyword::Blue},
            {"uc", Keyword::UnicodeSkip},
            {"u", Keyword::Unicode},
            {"emdash", Keyword::EmDash},
            {"endash", Keyword::EnDash},
            {"emspace", Keyword::EmSpace},
            {"enspace", Keyword::EnSpace},
            {"qmspace", Keyword::QuarterEmSpace},
            {"bullet", Keyword::Bullet},
            {"lquote", Keyword::LeftQuote},
            {"rquote", Keyword::RightQuote},
            {"ldblquote", Keyword::LeftDoubleQuote},
            {"rdblquote", Keyword::RightDoubleQuote},
            {"zwj", Keyword::ZeroWidthJoiner},
            {"zwnj", Keyword::ZeroWidthNonJoiner},
            {"ltrmark", Keyword::LeftToRightMark},
            {"rtlmark", Keyword::RightToLeftMark},
        };
        for (const char *word : {"ul", "uld", "uldash", "uldashd", "uldashdd", "uldb", "ulhwave",
                                 "ulldash", "ulth", "ulthd", "ulthdash", "ulthdashd", "ulthdashdd",
                                 "ulthldash", "ululdbwave", "ulw", "ulwave"})
            map.emplace(word, Keyword::Underline);
        // Groups whose content is not document text.
        for (const char *word : {"stylesheet",
                                 "info",
                                 "pict",
                                 "header",
                                 "headerl",
                                 "headerr",
                                 "headerf",
                                 "footer",
                                 "footerl",
                                 "footerr",
                                 "footerf",
                                 "annotation",
                                 "fldinst",
                                 "listname",
                                 "levelnumbers",
                                 "revtbl",
                                 "rsidtbl",
                                 "generator",
                                 "xmlnstbl",
                                 "themedata",
                                 "colorschememapping",
                                 "datastore",
                                 "latentstyles",
                                 "filetbl",
                                 "bkmkstart",
                                 "bkmkend",
                                 "template",
                                 "private",
                                 "nonshppict",
                                 "shppict",
                                 "shpinst",
                                 "shprslt",
                                 "do",
                                 "xe",
                                 "tc",
                                 "txe",
                                 "atnid",
                                 "atnauthor",
                                 "atndate",
                                 "atnref",
                                 "ftnsep",
                                 "ftnsepc",
                                 "aftnsep",
                                 "aftnsepc",
                                 "userprops",
                                 "docvar",
                                 "pgdsctbl",
                                 "mmathPr",
                                 "xmlopen",
                                 "falt",
                                 "panose",
                                 "fontemb",
                                 "fontfile",
                                 "blipuid",
                                 "wgrffmtfilter",
                                 "objdata",
                                 "objclass",
                                 "objname",
                                 "sp"})
            map.emplace(word, Keyword::SkipDestination);
        return map;
    }();
    return table;
}

struct CharacterProperties {
    bool bold = false;
    bool italic = false;
    bool underline = false;
    bool strike = false;
    int font = -1; // -1: the document's default font (\deff)
    int halfPoints = kDefaultHalfPoints;
    int colour = 0;

    bool operator==(const CharacterProperties &o) const
    {
        return bold == o.bold && italic == o.italic && underline == o.underline &&
               strike == o.strike && font == o.font && halfPoints == o.halfPoints &&
               colour == o.colour;
    }
    bool operator!=(const CharacterProperties &o) const { return !(*this == o); }
};

struct GroupState {
    CharacterProperties chars;
    Destination destination = Destination::Text;
    // Inside \upr and the like: where the chosen alternative's text goes.
    std::optional<Destination> alternativeDestination;
    int unicodeSkip = 1;
    bool ignorableDestination = false; // after \*
    bool footnote = false;
};

// Paragraph properties as the file states them; lists are resolved at the paragraph's end.
struct ParagraphState {
    Qt::Alignment alignment = Qt::AlignLeft;
    int listOverride = 0;           // \ls
    int listLevel = 0;              // \ilvl
    bool oldStyleNumbering = false; // \pn
    bool oldStyleBullet = false;
    bool oldStyleContinuation = false; // \pnlvlcont: a paragraph of an item, unnumbered
    int oldStyleLevel = 0;
    QTextListFormat::Style oldStyleKind = QTextListFormat::ListDecimal;
    int oldStyleStart = 1;
    QString oldStyleBefore;
    QString oldStyleAfter;
};

// A level of a \listtable list.
struct ListLevelDefinition {
    int numberFormat = 0; // \levelnfc
    int start = 1;
    bool noRestart = false;
    QString text; // \leveltext: length, then text with level placeholders 0..8
    bool textEnded = false;
};

struct ListDefinition {
    int id = 0;
    std::array<ListLevelDefinition, kListLevels> levels;
    int levelCount = 0;
};

// A \listoverridetable entry: the \ls number paragraphs use for a list.
struct ListOverride {
    int listId = 0;
    int number = 0;
    std::array<std::optional<int>, kListLevels> start;
    int levelCount = 0; // \lfolevel groups seen
};

struct FontEntry {
    QString family;
    int codePage = 0; // 0: the document's code page
};

QString withoutControlCharacters(QStringView text)
{
    QString clean;
    clean.reserve(text.size());
    for (QChar ch : text) {
        if (!isUnwantedCharacter(ch))
            clean += ch;
    }
    return clean;
}

bool flagValue(const RtfToken &token)
{
    return !token.hasParameter || token.parameter != 0;
}

class RtfReader {
public:
    explicit RtfReader(QTextDocument *doc) : m_builder(doc) {}

    bool read(QByteArrayView data, QString *error);
    int footnotes() const { return m_footnotes; }

private:
    void groupStart();
    void groupEnd();
    void controlWord(const RtfToken &token);
    void controlSymbol(char symbol);
    void hexByte(unsigned char byte);
    void text(QByteArrayView bytes);

    bool skippingFallback();
    bool inText() const { return m_state.destination == Destination::Text; }
    void setDestination(Destination destination);
    void documentControlWord(Keyword keyword, const RtfToken &token);
    void fontTableControlWord(Keyword keyword, const RtfToken &token);
    void colourTableControlWord(Keyword keyword, const RtfToken &token);
    void bulletControlWord(Keyword keyword, const RtfToken &token);
    void listTableControlWord(Keyword keyword, const RtfToken &token);
    void listOverrideControlWord(Keyword keyword, const RtfToken &token);
    ListLevelDefinition *currentLevel();
    void startFootnote();
    void insertListMarkerAsText();
    std::optional<RtfListItem> paragraphList() const;
    std::optional<RtfListItem> tableList() const;
    RtfParagraphProperties paragraphProperties() const;

    void appendText(QStringView text);
    void appendChar(char16_t ch) { appendText(QStringView(&ch, 1)); }
    void flushBytes();
    void flushText();
    void endParagraph();
    int codePageOf(int font) const;
    QTextCharFormat charFormat(const CharacterProperties &chars) const;

    void startFontEntry(int number);
    void finishFontEntry();
    void decodeFontName();
    void fontTableText(QByteArrayView bytes);
    void colourTableText(QByteArrayView bytes);

    RtfDocumentBuilder m_builder;
    std::vector<GroupState> m_stack;
    GroupState m_state;
    std::size_t m_flattenedDepth = 0;
    bool m_closed = false;
    int m_skipFallback = 0;

    int m_documentCodePage = CodePage::Windows1252;
    int m_defaultFont = 0;
    QHash<int, FontEntry> m_fonts;
    bool m_fontEntryOpen = false;
    int m_fontNumber = 0;
    FontEntry m_fontEntry;
    QByteArray m_fontNameBytes; // not yet decoded
    QString m_fontName;
    std::vector<QColor> m_colours;
    int m_red = 0, m_green = 0, m_blue = 0;
    bool m_colourSet = false;

    ParagraphState m_paragraph;
    std::vector<ListDefinition> m_lists;
    std::vector<ListOverride> m_listOverrides;
    QHash<int, int> m_listIndex;     // \listid: index in m_lists
    QHash<int, int> m_overrideIndex; // \ls: index in m_listOverrides
    QString m_listMarker;            // the current paragraph's \listtext
    int m_footnotes = 0;
    bool m_bulletTextAfter = false; // \pntxta rather than \pntxtb
    bool m_levelOverflow = false;
    bool m_footnoteStart = false;     // leading blanks of a note are dropped
    bool m_footnoteParagraph = false; // a paragraph of the note ended; a blank joins the next
    ParagraphState m_paragraphBeforeFootnote;
    int m_pendingCells = 0; // \cell marks not yet turned into tabs
    QByteArray m_pendingBytes;
    int m_pendingBytesCodePage = 0;
    QString m_pendingText;
    CharacterProperties m_pendingChars;
};

bool RtfReader::read(QByteArrayView data, QString *error)
{
    RtfTokenizer tokenizer(data);
    for (RtfToken token = tokenizer.next(); token.type != RtfToken::Type::End && !m_closed;
         token = tokenizer.next()) {
        switch (token.type) {
        case RtfToken::Type::GroupStart:
            groupStart();
            break;
        case RtfToken::Type::GroupEnd:
            groupEnd();
            break;
        case RtfToken::Type::ControlWord:
            controlWord(token);
            break;
        case RtfToken::Type::ControlSymbol:
            controlSymbol(token.symbol);
            break;
        case RtfToken::Type::HexByte:
            hexByte(token.byte);
            break;
        case RtfToken::Type::Text:
            text(token.word);
            break;
        case RtfToken::Type::End:
            break;
        }
    }
    flushBytes();
    if (m_state.footnote) { // a file that ends inside a note still closes it
        m_paragraph = m_paragraphBeforeFootnote;
        m_state.footnote = false;
        appendChar(u']');
    }
    insertListMarkerAsText();
    flushText();
    m_builder.finish(paragraphProperties(), charFormat(m_state.chars));
    if (m_closed)
        return true;
    if (error)
        *error = QStringLiteral("The RTF data is truncated: %1 group(s) left open.")
                     .arg(m_stack.size() + m_flattenedDepth);
    return false;
}

void RtfReader::groupStart()
{
    flushBytes();
    m_skipFallback = 0;
    if (m_stack.size() >= kMaxGroupDepth) {
        ++m_flattenedDepth;
        return;
    }
    m_stack.push_back(m_state);
    m_state.ignorableDestination = false;
}

void RtfReader::groupEnd()
{
    flushBytes();
    m_skipFallback = 0;
    if (m_flattenedDepth > 0) {
        --m_flattenedDepth;
        return;
    }
    if (m_stack.empty()) {
        m_closed = true; // a stray closing brace before any group
        return;
    }
    if (m_state.destination == Destination::FontTable)
        finishFontEntry();
    const bool footnoteEnds = m_state.footnote && !m_stack.back().footnote;
    m_state = m_stack.back();
    m_stack.pop_back();
    if (footnoteEnds) {
        m_paragraph = m_paragraphBeforeFootnote;
        m_footnoteParagraph = false;
        appendChar(u']');
    }
    if (m_stack.empty())
        m_closed = true; // the document group ends here; trailing data is ignored
}

bool RtfReader::skippingFallback()
{
    if (m_skipFallback == 0)
        return false;
    --m_skipFallback;
    return true;
}

void RtfReader::setDestination(Destination destination)
{
    if (m_state.destination != Destination::Skip)
        m_state.destination = destination;
}

void RtfReader::controlWord(const RtfToken &token)
{
    flushBytes();
    if (skippingFallback())
        return;
    const auto found =
        keywords().find(std::string_view(token.word.data(), std::size_t(token.word.size())));
    const bool ignorable = m_state.ignorableDestination;
    m_state.ignorableDestination = false;
    if (found == keywords().end()) {
        if (ignorable)
            setDestination(Destination::Skip);
        return;
    }
    const Keyword keyword = found->second;
    switch (keyword) {
    case Keyword::BulletDefinition:
    case Keyword::ListTable:
    case Keyword::ListOverrideTable:
    case Keyword::Footnote:
    case Keyword::AlternativeChosen:
        break; // destinations this reader knows, with or without \*
    default:
        if (ignorable) {
            setDestination(Destination::Skip);
            return;
        }
    }
    switch (keyword) {
    case Keyword::FontTable:
        setDestination(Destination::FontTable);
        return;
    case Keyword::ColorTable:
        setDestination(Destination::ColorTable);
        return;
    case Keyword::SkipDestination:
        setDestination(Destination::Skip);
        return;
    case Keyword::ListTable:
        setDestination(Destination::ListTable);
        return;
    case Keyword::ListOverrideTable:
        setDestination(Destination::ListOverrideTable);
        return;
    case Keyword::ListMarker:
        if (inText())
            m_listMarker.clear();
        setDestination(Destination::ListMarker);
        return;
    case Keyword::BulletDefinition:
        if (m_state.destination == Destination::Text) {
            m_paragraph.oldStyleNumbering = true;
            m_state.destination = Destination::BulletDefinition;
        } else {
            setDestination(Destination::Skip);
        }
        return;
    case Keyword::AlternativesFirst:
        // The first alternative is a stand-in for readers that lack the second.
        m_state.alternativeDestination = m_state.destination;
        m_state.destination = Destination::Skip;
        return;
    case Keyword::AlternativeChosen:
        if (m_state.alternativeDestination)
            m_state.destination = *m_state.alternativeDestination;
        else
            setDestination(Destination::Skip);
        m_state.alternativeDestination.reset();
        return;
    case Keyword::Footnote:
        if (inText() && !m_state.footnote)
            startFootnote();
        else if (!inText())
            setDestination(Destination::Skip);
        return;
    case Keyword::UnicodeSkip:
        m_state.unicodeSkip = std::clamp(token.parameter, 0, kMaxUnicodeSkip);
        return;
    default:
        break;
    }
    switch (m_state.destination) {
    case Destination::Text:
        documentControlWord(keyword, token);
        break;
    case Destination::ListMarker:
        // The marker's own text and character formatting, nothing of the paragraph.
        switch (keyword) {
        case Keyword::Par:
        case Keyword::Line:
        case Keyword::Cell:
        case Keyword::Row:
        case Keyword::Pard:
        case Keyword::AlignLeft:
        case Keyword::AlignCenter:
        case Keyword::AlignRight:
        case Keyword::AlignJustify:
        case Keyword::ListOverrideNumber:
        case Keyword::ListLevelNumber:
            break;
        default:
            documentControlWord(keyword, token);
        }
        break;
    case Destination::FontTable:
        fontTableControlWord(keyword, token);
        break;
    case Destination::ColorTable:
        colourTableControlWord(keyword, token);
        break;
    case Destination::BulletDefinition:
        bulletControlWord(keyword, token);
        break;
    case Destination::ListTable:
        listTableControlWord(keyword, token);
        break;
    case Destination::ListOverrideTable:
        listOverrideControlWord(keyword, token);
        break;
    case Destination::LevelText:
        if (keyword == Keyword::Unicode) {
            if (ListLevelDefinition *level = currentLevel(); level && !level->textEnded)
                level->text += QChar(static_cast<char16_t>(token.parameter & 0xFFFF));
            m_skipFallback = m_state.unicodeSkip;
        }
        break;
    case Destination::BulletText:
    case Destination::Skip:
        break;
    }
}

void RtfReader::bulletControlWord(Keyword keyword, const RtfToken &token)
{
    ParagraphState &p = m_paragraph;
    switch (keyword) {
    case Keyword::BulletLevelBullet:
        p.oldStyleBullet = true;
        break;
    case Keyword::BulletLevelBody:
        p.oldStyleLevel = 0;
        break;
    case Keyword::BulletLevelContinue:
        p.oldStyleContinuation = true;
        break;
    case Keyword::BulletLevel:
        p.oldStyleLevel = std::clamp(token.parameter - 1, 0, kListLevels - 1);
        break;
    case Keyword::BulletDecimal:
        p.oldStyleKind = QTextListFormat::ListDecimal;
        break;
    case Keyword::BulletUpperLetter:
        p.oldStyleKind = QTextListFormat::ListUpperAlpha;
        break;
    case Keyword::BulletLowerLetter:
        p.oldStyleKind = QTextListFormat::ListLowerAlpha;
        break;
    case Keyword::BulletUpperRoman:
        p.oldStyleKind = QTextListFormat::ListUpperRoman;
        break;
    case Keyword::BulletLowerRoman:
        p.oldStyleKind = QTextListFormat::ListLowerRoman;
        break;
    case Keyword::BulletStart:
        p.oldStyleStart = std::clamp(token.parameter, 0, 32767);
        break;
    case Keyword::BulletTextBefore:
        p.oldStyleBefore.clear();
        m_state.destination = Destination::BulletText;
        m_bulletTextAfter = false;
        break;
    case Keyword::BulletTextAfter:
        p.oldStyleAfter.clear();
        m_state.destination = Destination::BulletText;
        m_bulletTextAfter = true;
        break;
    case Keyword::ListOverrideNumber:
        p.listOverride = token.parameter;
        break;
    case Keyword::ListLevelNumber:
        p.listLevel = std::clamp(token.parameter, 0, kListLevels - 1);
        break;
    default:
        break;
    }
}

ListLevelDefinition *RtfReader::currentLevel()
{
    if (m_lists.empty() || m_lists.back().levelCount == 0)
        return nullptr;
    ListDefinition &list = m_lists.back();
    return &list.levels[std::size_t(list.levelCount - 1)];
}

void RtfReader::listTableControlWord(Keyword keyword, const RtfToken &token)
{
    constexpr std::size_t kMaxLists = 10000;
    switch (keyword) {
    case Keyword::List:
        if (m_lists.size() < kMaxLists)
            m_lists.emplace_back();
        m_levelOverflow = false;
        break;
    case Keyword::ListId:
        if (!m_lists.empty()) {
            m_lists.back().id = token.parameter;
            m_listIndex.insert(token.parameter, int(m_lists.size() - 1));
        }
        break;
    case Keyword::ListLevel:
        if (!m_lists.empty() && m_lists.back().levelCount < kListLevels)
            ++m_lists.back().levelCount;
        else
            m_levelOverflow = true; // a tenth level: its words change nothing
        break;
    case Keyword::LevelNumberFormat:
        if (ListLevelDefinition *level = currentLevel(); level && !m_levelOverflow)
            level->numberFormat = token.parameter;
        break;
    case Keyword::LevelStartAt:
        if (ListLevelDefinition *level = currentLevel(); level && !m_levelOverflow)
            level->start = std::clamp(token.parameter, 0, 32767);
        break;
    case Keyword::LevelNoRestart:
        if (ListLevelDefinition *level = currentLevel(); level && !m_levelOverflow)
            level->noRestart = flagValue(token);
        break;
    case Keyword::LevelText:
        if (ListLevelDefinition *level = currentLevel(); level && !m_levelOverflow) {
            level->text.clear();
            level->textEnded = false;
            m_state.destination = Destination::LevelText;
        } else {
            m_state.destination = Destination::Skip;
        }
        break;
    default:
        break;
    }
}

void RtfReader::listOverrideControlWord(Keyword keyword, const RtfToken &token)
{
    constexpr std::size_t kMaxOverrides = 10000;
    if (keyword == Keyword::ListOverrideEntry) {
        if (m_listOverrides.size() < kMaxOverrides)
            m_listOverrides.emplace_back();
        return;
    }
    if (m_listOverrides.empty())
        return;
    ListOverride &entry = m_listOverrides.back();
    switch (keyword) {
    case Keyword::ListId:
        entry.listId = token.parameter;
        break;
    case Keyword::ListOverrideNumber:
        entry.number = token.parameter;
        m_overrideIndex.insert(token.parameter, int(m_listOverrides.size() - 1));
        break;
    case Keyword::OverrideLevel:
        ++entry.levelCount;
        break;
    case Keyword::LevelStartAt:
        if (entry.levelCount > 0 && entry.levelCount <= kListLevels)
            entry.start[std::size_t(entry.levelCount - 1)] = std::clamp(token.parameter, 0, 32767);
        break;
    case Keyword::LevelText:
        m_state.destination = Destination::Skip;
        break;
    default:
        break;
    }
}

void RtfReader::documentControlWord(Keyword keyword, const RtfToken &token)
{
    CharacterProperties &chars = m_state.chars;
    const int parameter = token.parameter;
    switch (keyword) {
    case Keyword::Ansi:
        m_documentCodePage = CodePage::Windows1252;
        break;
    case Keyword::Mac:
        m_documentCodePage = 10000;
        break;
    case Keyword::Pc:
        m_documentCodePage = 437;
        break;
    case Keyword::Pca:
        m_documentCodePage = 850;
        break;
    case Keyword::AnsiCodePage:
        if (parameter > 0)
            m_documentCodePage = parameter;
        break;
    case Keyword::DefaultFont:
        m_defaultFont = parameter;
        break;
    case Keyword::Par:
        endParagraph();
        break;
    case Keyword::Line:
        appendChar(QChar::LineSeparator);
        break;
    case Keyword::Tab:
        appendChar(u'\t');
        break;
    case Keyword::Cell:
        ++m_pendingCells;
        break;
    case Keyword::Row:
        // The row's last \cell closes it: n cells, n - 1 tabs.
        if (m_pendingCells > 1)
            appendText(u"");
        endParagraph();
        break;
    case Keyword::Pard:
        m_paragraph = ParagraphState();
        break;
    case Keyword::AlignLeft:
        m_paragraph.alignment = Qt::AlignLeft;
        break;
    case Keyword::AlignCenter:
        m_paragraph.alignment = Qt::AlignHCenter;
        break;
    case Keyword::AlignRight:
        m_paragraph.alignment = Qt::AlignRight;
        break;
    case Keyword::AlignJustify:
        m_paragraph.alignment = Qt::AlignJustify;
        break;
    case Keyword::ListOverrideNumber:
        m_paragraph.listOverride = parameter;
        break;
    case Keyword::ListLevelNumber:
        m_paragraph.listLevel = std::clamp(parameter, 0, kListLevels - 1);
        break;
    case Keyword::FootnoteMark:
        break; // the note itself follows where the mark stands
    case Keyword::Plain:
        chars = CharacterProperties();
        break;
    case Keyword::Bold:
        chars.bold = flagValue(token);
        break;
    case Keyword::Italic:
        chars.italic = flagValue(token);
        break;
    case Keyword::Underline:
        chars.underline = flagValue(token);
        break;
    case Keyword::UnderlineNone:
        chars.underline = false;
        break;
    case Keyword::Strike:
        chars.strike = flagValue(token);
        break;
    case Keyword::Font:
        chars.font = parameter;
        break;
    case Keyword::FontSize:
        chars.halfPoints = token.hasParameter
                               ? std::clamp(parameter, kMinHalfPoints, kMaxHalfPoints)
                               : kDefaultHalfPoints;
        break;
    case Keyword::Colour:
        chars.colour = parameter;
        break;
    case Keyword::Unicode:
        appendChar(static_cast<char16_t>(parameter & 0xFFFF)); // negative N is N + 65536
        m_skipFallback = m_state.unicodeSkip;
        break;
    case Keyword::EmDash:
        appendChar(0x2014);
        break;
    case Keyword::EnDash:
        appendChar(0x2013);
        break;
    case Keyword::EmSpace:
        appendChar(0x2003);
        break;
    case Keyword::EnSpace:
        appendChar(0x2002);
        break;
    case Keyword::QuarterEmSpace:
        appendChar(0x2005);
        break;
    case Keyword::Bullet:
        appendChar(0x2022);
        break;
    case Keyword::LeftQuote:
        appendChar(0x2018);
        break;
    case Keyword::RightQuote:
        appendChar(0x2019);
        break;
    case Keyword::LeftDoubleQuote:
        appendChar(0x201C);
        break;
    case Keyword::RightDoubleQuote:
        appendChar(0x201D);
        break;
    case Keyword::ZeroWidthJoiner:
        appendChar(0x200D);
        break;
    case Keyword::ZeroWidthNonJoiner:
        appendChar(0x200C);
        break;
    case Keyword::LeftToRightMark:
        appendChar(0x200E);
        break;
    case Keyword::RightToLeftMark:
        appendChar(0x200F);
        break;
    default:
        break;
    }
}

void RtfReader::fontTableControlWord(Keyword keyword, const RtfToken &token)
{
    switch (keyword) {
    case Keyword::Font:
        startFontEntry(token.parameter);
        break;
    case Keyword::FontCharset:
        m_fontEntry.codePage = CodePage::forCharset(token.parameter, 0);
        break;
    case Keyword::FontCodePage:
        if (token.parameter > 0)
            m_fontEntry.codePage = token.parameter;
        break;
    case Keyword::Unicode:
        if (m_fontEntryOpen) {
            decodeFontName();
            m_fontName += QChar(static_cast<char16_t>(token.parameter & 0xFFFF));
        }
        m_skipFallback = m_state.unicodeSkip;
        break;
    default:
        break;
    }
}

void RtfReader::colourTableControlWord(Keyword keyword, const RtfToken &token)
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

void RtfReader::controlSymbol(char symbol)
{
    if (symbol == '*') {
        m_state.ignorableDestination = true;
        return;
    }
    flushBytes();
    if (skippingFallback())
        return;
    switch (symbol) {
    case '\\':
    case '{':
    case '}': {
        const char byte = symbol;
        text(QByteArrayView(&byte, 1));
        break;
    }
    case '~':
        if (inText() || m_state.destination == Destination::ListMarker)
            appendChar(0x00A0);
        break;
    case '-':
        if (inText())
            appendChar(0x00AD);
        break;
    case '_':
        if (inText())
            appendChar(0x2011);
        break;
    case '\n':
        if (inText())
            endParagraph();
        break;
    default:
        break;
    }
}

void RtfReader::hexByte(unsigned char byte)
{
    if (skippingFallback())
        return;
    const char ch = static_cast<char>(byte);
    if (m_state.destination == Destination::LevelText) {
        // Bytes below 0x20 are the length and the level placeholders.
        if (ListLevelDefinition *level = currentLevel(); level && !level->textEnded) {
            if (byte < 0x20)
                level->text += QChar(byte);
            else // a lone byte of a double-byte code page may decode to nothing
                level->text += CodePage::decode(QByteArrayView(&ch, 1), m_documentCodePage);
        }
    } else if (m_state.destination == Destination::Text ||
               m_state.destination == Destination::ListMarker) {
        const int codePage = codePageOf(m_state.chars.font);
        if (!m_pendingBytes.isEmpty() && codePage != m_pendingBytesCodePage)
            flushBytes();
        m_pendingBytesCodePage = codePage;
        m_pendingBytes += ch;
    } else if (m_state.destination == Destination::FontTable) {
        if (m_fontEntryOpen)
            m_fontNameBytes += ch;
    }
}

void RtfReader::text(QByteArrayView bytes)
{
    if (m_skipFallback > 0) {
        const qsizetype skipped = std::min<qsizetype>(m_skipFallback, bytes.size());
        m_skipFallback -= static_cast<int>(skipped);
        bytes = bytes.sliced(skipped);
    }
    if (bytes.isEmpty())
        return;
    switch (m_state.destination) {
    case Destination::Text:
    case Destination::ListMarker:
        break;
    case Destination::FontTable:
        fontTableText(bytes);
        return;
    case Destination::ColorTable:
        colourTableText(bytes);
        return;
    case Destination::LevelText:
        // A plain ";" ends the text; an escaped one (\'3b) belongs to it.
        if (ListLevelDefinition *level = currentLevel(); level && !level->textEnded) {
            const qsizetype end = bytes.indexOf(';');
            level->text += CodePage::decode(end < 0 ? bytes : bytes.first(end), m_documentCodePage);
            level->textEnded = end >= 0;
        }
        return;
    case Destination::BulletText:
        (m_bulletTextAfter ? m_paragraph.oldStyleAfter : m_paragraph.oldStyleBefore) +=
            CodePage::decode(bytes, codePageOf(m_state.chars.font));
        return;
    case Destination::Skip:
    case Destination::BulletDefinition:
    case Destination::ListTable:
    case Destination::ListOverrideTable:
        return;
    }
    qsizetype start = 0;
    for (qsizetype i = 0; i <= bytes.size(); ++i) {
        const unsigned char c = i < bytes.size() ? static_cast<unsigned char>(bytes[i]) : 0;
        if (i < bytes.size() && c >= 0x20)
            continue;
        // Control bytes split the text: tabs count, the others are junk.
        const QByteArrayView piece = bytes.sliced(start, i - start);
        if (!piece.isEmpty()) {
            const int codePage = codePageOf(m_state.chars.font);
            if (!m_pendingBytes.isEmpty() && codePage != m_pendingBytesCodePage)
                flushBytes();
            m_pendingBytesCodePage = codePage;
            m_pendingBytes += piece;
        }
        if (i < bytes.size() && c == '\t') {
            flushBytes();
            appendChar(u'\t');
        }
        start = i + 1;
    }
}

void RtfReader::fontTableText(QByteArrayView bytes)
{
    for (char c : bytes) {
        if (c == ';') {
            finishFontEntry();
        } else if (m_fontEntryOpen) {
            m_fontNameBytes += c;
        }
    }
}

void RtfReader::colourTableText(QByteArrayView bytes)
{
    for (char c : bytes) {
        if (c != ';')
            continue;
        m_colours.push_back(m_colourSet ? QColor(m_red, m_green, m_blue) : QColor());
        m_red = m_green = m_blue = 0;
        m_colourSet = false;
    }
}

void RtfReader::startFontEntry(int number)
{
    finishFontEntry();
    m_fontEntryOpen = true;
    m_fontNumber = number;
    m_fontEntry = FontEntry();
    m_fontNameBytes.clear();
    m_fontName.clear();
}

void RtfReader::decodeFontName()
{
    if (m_fontNameBytes.isEmpty())
        return;
    const int codePage = m_fontEntry.codePage ? m_fontEntry.codePage : m_documentCodePage;
    m_fontName += CodePage::decode(m_fontNameBytes, codePage);
    m_fontNameBytes.clear();
}

void RtfReader::finishFontEntry()
{
    if (!m_fontEntryOpen)
        return;
    m_fontEntryOpen = false;
    decodeFontName();
    m_fontName.removeIf([](QChar ch) { return ch == u'\t' || isUnwantedCharacter(ch); });
    m_fontEntry.family = m_fontName.trimmed();
    m_fonts.insert(m_fontNumber, m_fontEntry);
}

int RtfReader::codePageOf(int font) const
{
    const auto entry = m_fonts.constFind(font < 0 ? m_defaultFont : font);
    if (entry != m_fonts.constEnd() && entry->codePage != 0)
        return entry->codePage;
    return m_documentCodePage;
}

void RtfReader::appendText(QStringView text)
{
    if (m_state.destination == Destination::ListMarker) {
        m_listMarker += withoutControlCharacters(text);
        return;
    }
    if (!inText())
        return;
    QString joined; // a note's paragraphs run on, one blank apart
    if (m_state.footnote && !text.isEmpty()) {
        if (m_footnoteStart) {
            while (!text.isEmpty() &&
                   (text.front() == u' ' || text.front() == u'\t' || text.front() == QChar::Nbsp))
                text = text.sliced(1);
            if (text.isEmpty())
                return;
            m_footnoteStart = false;
        }
        if (m_footnoteParagraph) {
            m_footnoteParagraph = false;
            joined = QLatin1Char(' ') + text.toString();
            text = joined;
        }
    }
    insertListMarkerAsText();
    if (m_pendingCells > 0) {
        const QString tabs(m_pendingCells - 1 + (text.isEmpty() ? 0 : 1), u'\t');
        m_pendingCells = 0;
        appendText(tabs);
    }
    if (!m_pendingText.isEmpty() && m_pendingChars != m_state.chars)
        flushText();
    m_pendingChars = m_state.chars;
    if (std::any_of(text.begin(), text.end(), isUnwantedCharacter))
        m_pendingText += withoutControlCharacters(text);
    else
        m_pendingText += text;
}

void RtfReader::flushBytes()
{
    if (m_pendingBytes.isEmpty())
        return;
    const QString decoded = CodePage::decode(m_pendingBytes, m_pendingBytesCodePage);
    m_pendingBytes.clear();
    appendText(decoded);
}

void RtfReader::flushText()
{
    if (m_pendingText.isEmpty())
        return;
    m_builder.insertText(m_pendingText, charFormat(m_pendingChars));
    m_pendingText.clear();
}

void RtfReader::endParagraph()
{
    flushBytes();
    if (m_state.footnote) {
        m_footnoteParagraph = !m_footnoteStart;
        m_pendingCells = 0;
        return;
    }
    insertListMarkerAsText();
    flushText();
    m_pendingCells = 0;
    m_builder.endParagraph(paragraphProperties(), charFormat(m_state.chars));
    m_listMarker.clear();
}

void RtfReader::startFootnote()
{
    flushBytes();
    appendText(QLatin1Char('[') + QString::number(++m_footnotes) + QLatin1String(": "));
    m_paragraphBeforeFootnote = m_paragraph;
    m_state.footnote = true;
    m_footnoteStart = true;
    m_footnoteParagraph = false;
}

void RtfReader::insertListMarkerAsText()
{
    // Only a marker whose list cannot be shown as a list goes into the text.
    if (m_listMarker.isEmpty() || m_state.destination != Destination::Text)
        return;
    const QString marker = std::exchange(m_listMarker, QString());
    if (!paragraphList() && !marker.trimmed().isEmpty())
        appendText(marker);
}

RtfParagraphProperties RtfReader::paragraphProperties() const
{
    RtfParagraphProperties properties;
    properties.alignment = m_paragraph.alignment;
    properties.list = paragraphList();
    return properties;
}

std::optional<RtfListItem> RtfReader::paragraphList() const
{
    const ParagraphState &p = m_paragraph;
    if (p.listOverride > 0 && m_overrideIndex.contains(p.listOverride)) {
        const ListOverride &entry = m_listOverrides[std::size_t(m_overrideIndex[p.listOverride])];
        if (m_listIndex.contains(entry.listId) &&
            m_lists[std::size_t(m_listIndex[entry.listId])].levelCount > 0)
            return tableList();
    }
    if (p.oldStyleNumbering && !p.oldStyleContinuation) {
        RtfListItem item;
        item.key = 0;
        item.level = p.oldStyleLevel;
        if (p.oldStyleBullet)
            return item;
        item.style = p.oldStyleKind;
        item.start = p.oldStyleStart;
        item.prefix = withoutControlCharacters(p.oldStyleBefore);
        item.suffix = withoutControlCharacters(p.oldStyleAfter);
        item.prefix.remove(u'\t');
        item.suffix.remove(u'\t');
        return item;
    }
    if (p.listOverride > 0) { // a list the file does not define
        RtfListItem item;
        item.key = p.listOverride;
        item.level = p.listLevel;
        return item;
    }
    return std::nullopt;
}

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

std::optional<RtfListItem> RtfReader::tableList() const
{
    const ParagraphState &p = m_paragraph;
    const ListOverride &entry = m_listOverrides[std::size_t(m_overrideIndex[p.listOverride])];
    const ListDefinition &list = m_lists[std::size_t(m_listIndex[entry.listId])];
    const int levelNumber = std::min(p.listLevel, list.levelCount - 1);
    const ListLevelDefinition &level = list.levels[std::size_t(levelNumber)];

    RtfListItem item;
    item.key = p.listOverride;
    item.level = p.listLevel;
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

QTextCharFormat RtfReader::charFormat(const CharacterProperties &chars) const
{
    QTextCharFormat format;
    if (chars.bold)
        format.setFontWeight(QFont::Bold);
    if (chars.italic)
        format.setFontItalic(true);
    if (chars.underline)
        format.setFontUnderline(true);
    if (chars.strike)
        format.setFontStrikeOut(true);
    const auto font = m_fonts.constFind(chars.font < 0 ? m_defaultFont : chars.font);
    if (font != m_fonts.constEnd() && !font->family.isEmpty())
        format.setFontFamilies(QStringList{font->family});
    format.setFontPointSize(chars.halfPoints / 2.0);
    if (chars.colour >= 0 && std::size_t(chars.colour) < m_colours.size() &&
        m_colours[std::size_t(chars.colour)].isValid())
        format.setForeground(m_colours[std::size_t(chars.colour)]);
    return format;
}

} // namespace

bool isRtf(const QByteArray &data)
{
    QByteArrayView view(data);
    if (view.startsWith("\xEF\xBB\xBF"))
        view = view.sliced(3);
    return view.trimmed().startsWith("{\\rtf");
}

bool readRtf(const QByteArray &data, QTextDocument *doc, QString *error, RtfReadReport *report)
{
    if (report)
        *report = RtfReadReport();
    if (!isRtf(data)) {
        readPlainText(data, doc);
        return true;
    }
    const bool undoEnabled = doc->isUndoRedoEnabled();
    doc->setUndoRedoEnabled(false);
    doc->clear();
    bool ok = false;
    {
        RtfReader reader(doc);
        // A byte order mark or blanks before "{\rtf" are not text of the document.
        ok = reader.read(QByteArrayView(data).sliced(data.indexOf('{')), error);
        if (report)
            report->footnotes = reader.footnotes();
    }
    doc->setUndoRedoEnabled(undoEnabled);
    return ok;
}

} // namespace quillory
