#include "rtf/rtf_reader.h"

#include "rtf/code_page.h"
#include "rtf/list_numbering.h"
#include "rtf/plain_text.h"
#include "rtf/rtf_colour_table.h"
#include "rtf/rtf_document_builder.h"
#include "rtf/rtf_font_table.h"
#include "rtf/rtf_keywords.h"
#include "rtf/rtf_list_tables.h"
#include "rtf/rtf_paragraph_state.h"
#include "rtf/rtf_tokenizer.h"

#include <QTextCharFormat>
#include <QTextDocument>

#include <algorithm>
#include <optional>
#include <string_view>
#include <vector>

namespace quillory {
namespace {

// Deeper groups are still parsed, but share the state of the deepest kept level.
constexpr std::size_t kMaxGroupDepth = 1000;
constexpr int kDefaultHalfPoints = 24;
constexpr int kMinHalfPoints = 2;
constexpr int kMaxHalfPoints = 3276;
constexpr int kMaxUnicodeSkip = 16;

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

class RtfReader {
public:
    explicit RtfReader(QTextDocument *doc) : m_builder(doc) {}

    bool read(QByteArrayView data, QString *error);
    int footnotes() const { return m_footnotes; }
    // The text's own language where it names one, else the document's default.
    int language() const { return m_textLanguage > 0 ? m_textLanguage : m_defaultLanguage; }

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
    void startFootnote();
    void insertListMarkerAsText();
    RtfParagraphProperties paragraphProperties() const;

    void appendText(QStringView text);
    void appendChar(char16_t ch) { appendText(QStringView(&ch, 1)); }
    void flushBytes();
    void flushText();
    void endParagraph();
    int codePageOf(int font) const;
    QTextCharFormat charFormat(const CharacterProperties &chars) const;

    RtfDocumentBuilder m_builder;
    std::vector<GroupState> m_stack;
    GroupState m_state;
    std::size_t m_flattenedDepth = 0;
    bool m_closed = false;
    int m_skipFallback = 0;

    int m_documentCodePage = CodePage::Windows1252;
    int m_defaultFont = 0;
    int m_defaultLanguage = 0;
    int m_textLanguage = 0; // the first \lang of the text that names a language
    RtfFontTable m_fontTable;
    RtfColourTable m_colourTable;
    RtfListTables m_listTables;

    RtfParagraphState m_paragraph;
    QString m_listMarker; // the current paragraph's \listtext
    int m_footnotes = 0;
    bool m_bulletTextAfter = false;   // \pntxta rather than \pntxtb
    bool m_footnoteStart = false;     // leading blanks of a note are dropped
    bool m_footnoteParagraph = false; // a paragraph of the note ended; a blank joins the next
    RtfParagraphState m_paragraphBeforeFootnote;
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
        m_fontTable.finishEntry(m_documentCodePage);
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
    const std::optional<Keyword> found =
        findKeyword(std::string_view(token.word.data(), std::size_t(token.word.size())));
    const bool ignorable = m_state.ignorableDestination;
    m_state.ignorableDestination = false;
    if (!found) {
        if (ignorable)
            setDestination(Destination::Skip);
        return;
    }
    const Keyword keyword = *found;
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
        m_fontTable.controlWord(keyword, token, m_documentCodePage);
        if (keyword == Keyword::Unicode)
            m_skipFallback = m_state.unicodeSkip;
        break;
    case Destination::ColorTable:
        m_colourTable.controlWord(keyword, token);
        break;
    case Destination::BulletDefinition:
        m_paragraph.numberingWord(keyword, token, m_state.destination, m_bulletTextAfter);
        break;
    case Destination::ListTable:
        m_listTables.listTableWord(keyword, token, m_state.destination);
        break;
    case Destination::ListOverrideTable:
        m_listTables.overrideTableWord(keyword, token, m_state.destination);
        break;
    case Destination::LevelText:
        if (keyword == Keyword::Unicode) {
            m_listTables.levelTextCharacter(static_cast<char16_t>(token.parameter & 0xFFFF));
            m_skipFallback = m_state.unicodeSkip;
        }
        break;
    case Destination::BulletText:
    case Destination::Skip:
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
    case Keyword::DefaultLanguage:
        m_defaultLanguage = std::max(parameter, 0);
        break;
    case Keyword::Language: // 1024 and above 0x7FFF name no language
        if (m_textLanguage == 0 && parameter > 0 && parameter != 1024 && parameter < 0x8000)
            m_textLanguage = parameter;
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
        m_paragraph = RtfParagraphState();
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
        m_listTables.levelTextByte(byte, m_documentCodePage);
    } else if (m_state.destination == Destination::Text ||
               m_state.destination == Destination::ListMarker) {
        const int codePage = codePageOf(m_state.chars.font);
        if (!m_pendingBytes.isEmpty() && codePage != m_pendingBytesCodePage)
            flushBytes();
        m_pendingBytesCodePage = codePage;
        m_pendingBytes += ch;
    } else if (m_state.destination == Destination::FontTable) {
        m_fontTable.byte(ch);
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
        m_fontTable.text(bytes, m_documentCodePage);
        return;
    case Destination::ColorTable:
        m_colourTable.text(bytes);
        return;
    case Destination::LevelText:
        m_listTables.levelText(bytes, m_documentCodePage);
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

int RtfReader::codePageOf(int font) const
{
    return m_fontTable.codePage(font < 0 ? m_defaultFont : font, m_documentCodePage);
}

void RtfReader::appendText(QStringView text)
{
    if (m_state.destination == Destination::ListMarker) {
        m_listMarker += withoutUnwantedCharacters(text);
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
        m_pendingText += withoutUnwantedCharacters(text);
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
    if (!m_paragraph.list(m_listTables) && !marker.trimmed().isEmpty())
        appendText(marker);
}

RtfParagraphProperties RtfReader::paragraphProperties() const
{
    RtfParagraphProperties properties;
    properties.alignment = m_paragraph.alignment;
    properties.list = m_paragraph.list(m_listTables);
    return properties;
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
    if (const QString family = m_fontTable.family(chars.font < 0 ? m_defaultFont : chars.font);
        !family.isEmpty())
        format.setFontFamilies(QStringList{family});
    format.setFontPointSize(chars.halfPoints / 2.0);
    if (const QColor colour = m_colourTable.colour(chars.colour); colour.isValid())
        format.setForeground(colour);
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
        if (report) {
            report->footnotes = reader.footnotes();
            report->language = reader.language();
        }
    }
    doc->setUndoRedoEnabled(undoEnabled);
    return ok;
}

} // namespace quillory
