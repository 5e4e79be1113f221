#include "editor/rtf/rtf_reader.h"

#include "editor/rtf/code_page.h"
#include "editor/rtf/plain_text.h"
#include "editor/rtf/rtf_document_builder.h"
#include "editor/rtf/rtf_tokenizer.h"

#include <QColor>
#include <QHash>
#include <QTextCharFormat>
#include <QTextDocument>

#include <algorithm>
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

enum class Destination { Text, Skip, FontTable, ColorTable, BulletDefinition };

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
    ListOverride,
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
            {"ls", Keyword::ListOverride},
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
        for (const char *word : {"stylesheet",   "info",         "pict",
                                 "header",       "headerl",      "headerr",
                                 "headerf",      "footer",       "footerl",
                                 "footerr",      "footerf",      "footnote",
                                 "annotation",   "object",       "fldinst",
                                 "pntext",       "pntxta",       "pntxtb",
                                 "listtext",     "listtable",    "listoverridetable",
                                 "revtbl",       "rsidtbl",      "generator",
                                 "xmlnstbl",     "themedata",    "colorschememapping",
                                 "datastore",    "latentstyles", "filetbl",
                                 "bkmkstart",    "bkmkend",      "template",
                                 "private",      "nonshppict",   "shppict",
                                 "shp",          "shpinst",      "shptxt",
                                 "do",           "xe",           "tc",
                                 "txe",          "atnid",        "atnauthor",
                                 "atndate",      "atnref",       "ftnsep",
                                 "ftnsepc",      "aftnsep",      "aftnsepc",
                                 "upr",          "ud",           "userprops",
                                 "docvar",       "pgdsctbl",     "mmathPr",
                                 "xmlopen",      "falt",         "panose",
                                 "fontemb",      "fontfile",     "blipuid",
                                 "wgrffmtfilter"})
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
    int unicodeSkip = 1;
    bool ignorableDestination = false; // after \*
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

    RtfParagraphProperties m_paragraph;
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
    flushText();
    m_builder.finish(m_paragraph, charFormat(m_state.chars));
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
    m_state = m_stack.back();
    m_stack.pop_back();
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
    if (ignorable && keyword != Keyword::BulletDefinition) {
        setDestination(Destination::Skip);
        return;
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
    case Keyword::BulletDefinition:
        if (m_state.destination == Destination::Text)
            m_paragraph.bullet = true;
        setDestination(Destination::BulletDefinition);
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
    case Destination::FontTable:
        fontTableControlWord(keyword, token);
        break;
    case Destination::ColorTable:
        colourTableControlWord(keyword, token);
        break;
    case Destination::Skip:
    case Destination::BulletDefinition:
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
        m_paragraph = RtfParagraphProperties();
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
    case Keyword::ListOverride:
        m_paragraph.bullet = parameter > 0;
        break;
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
        if (inText())
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
    if (m_state.destination == Destination::Text) {
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
        break;
    case Destination::FontTable:
        fontTableText(bytes);
        return;
    case Destination::ColorTable:
        colourTableText(bytes);
        return;
    case Destination::Skip:
    case Destination::BulletDefinition:
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
    if (!inText())
        return;
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
    flushText();
    m_pendingCells = 0;
    m_builder.endParagraph(m_paragraph, charFormat(m_state.chars));
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

bool readRtf(const QByteArray &data, QTextDocument *doc, QString *error)
{
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
        ok = reader.read(data, error);
    }
    doc->setUndoRedoEnabled(undoEnabled);
    return ok;
}

} // namespace quillory
