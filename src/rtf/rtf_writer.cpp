#include "rtf/rtf_writer.h"

#include "rtf/code_page.h"
#include "rtf/format_runs.h"
#include "rtf/list_numbering.h"

#include <QHash>
#include <QTextBlock>
#include <QTextDocument>
#include <QTextList>

#include <algorithm>
#include <array>
#include <charconv>
#include <iterator>
#include <vector>

namespace quillory {
namespace {

struct CharacterState {
    bool bold = false;
    bool italic = false;
    bool underline = false;
    bool strike = false;
    int font = 0;
    // Readers disagree on the size of text that sets none, so the first run always sets it.
    int halfPoints = 0;
    int colour = 0;
};

// A level of a list as written in the list table.
struct LevelFormat {
    bool used = false;
    QTextListFormat::Style style = QTextListFormat::ListDecimal;
    int start = 1;
    QString prefix;
    QString suffix = QStringLiteral(".");
    // Whether, after an item of an outer level, the level's numbers started
    // over (another QTextList) or went on (the same one).
    bool restarted = false;
    bool continued = false;
};

// One list of the file: a \list in the list table and its \ls override.
struct WrittenList {
    std::array<LevelFormat, kListLevels> levels;
    std::array<const QTextList *, kListLevels> lastList{};
    std::array<bool, kListLevels> outerItemSince{};
};

struct ParagraphList {
    int number = 0; // \ls, 0 outside lists
    int level = 0;
};

LevelFormat levelFormatOf(const QTextListFormat &format)
{
    LevelFormat level;
    level.used = true;
    level.style = format.style();
    if (isNumberedList(level.style)) {
        level.start = std::clamp(listStart(format), 0, 32767); // what readers take
        level.prefix = format.numberPrefix();
        level.suffix = listNumberSuffix(format);
    } else if (level.style != QTextListFormat::ListCircle &&
               level.style != QTextListFormat::ListSquare) {
        level.style = QTextListFormat::ListDisc;
    }
    if (!isNumberedList(level.style)) {
        level.prefix.clear();
        level.suffix.clear();
    }
    // The list table holds a marker's length in one byte.
    level.prefix.truncate(100);
    level.suffix.truncate(100);
    return level;
}

bool sameNumbering(const LevelFormat &a, const LevelFormat &b)
{
    return a.style == b.style && a.start == b.start && a.prefix == b.prefix && a.suffix == b.suffix;
}

int numberFormatCode(QTextListFormat::Style style)
{
    switch (style) {
    case QTextListFormat::ListDecimal:
        return 0;
    case QTextListFormat::ListUpperRoman:
        return 1;
    case QTextListFormat::ListLowerRoman:
        return 2;
    case QTextListFormat::ListUpperAlpha:
        return 3;
    case QTextListFormat::ListLowerAlpha:
        return 4;
    default:
        return 23; // bullet
    }
}

const char *oldStyleNumberWord(QTextListFormat::Style style)
{
    switch (style) {
    case QTextListFormat::ListUpperRoman:
        return "\\pnucrm";
    case QTextListFormat::ListLowerRoman:
        return "\\pnlcrm";
    case QTextListFormat::ListUpperAlpha:
        return "\\pnucltr";
    case QTextListFormat::ListLowerAlpha:
        return "\\pnlcltr";
    default:
        return "\\pndec";
    }
}

// A number in decimal, without the temporary of QByteArray::number.
void appendNumber(QByteArray &out, int number)
{
    char digits[12];
    const auto written = std::to_chars(std::begin(digits), std::end(digits), number);
    out.append(digits, written.ptr - digits);
}

void appendHex(QByteArray &out, int byte)
{
    static const char digits[] = "0123456789abcdef";
    out += "\\'";
    out += digits[(byte >> 4) & 0xF];
    out += digits[byte & 0xF];
}

enum class TextKind { Document, FontName };

// Escapes text for RTF; paragraph ends are the caller's business. Font names
// get no tabs, line breaks or special-character symbols, which readers only
// take in the document text.
void appendText(QByteArray &out, QStringView text, TextKind kind = TextKind::Document)
{
    const auto asIs = [](char16_t ch) {
        return ch >= 0x20 && ch < 0x80 && ch != u'\\' && ch != u'{' && ch != u'}';
    };
    for (qsizetype i = 0; i < text.size();) {
        // A stretch of characters written as they are, in one go.
        qsizetype end = i;
        while (end < text.size() && asIs(text[end].unicode()))
            ++end;
        if (end > i) {
            const qsizetype at = out.size();
            out.resize(at + (end - i));
            char *to = out.data() + at;
            for (; i < end; ++i)
                *to++ = char(text[i].unicode());
            if (i == text.size())
                break;
        }
        const char16_t ch = text[i++].unicode();
        if (kind == TextKind::Document) {
            switch (ch) {
            case u'\t':
                out += "\\tab ";
                continue;
            case 0x2028:
                out += "\\line ";
                continue;
            case 0x00A0:
                out += "\\~";
                continue;
            case 0x00AD:
                out += "\\-";
                continue;
            case 0x2011:
                out += "\\_";
                continue;
            default:
                break;
            }
        }
        switch (ch) {
        case u'\\':
            out += "\\\\";
            continue;
        case u'{':
            out += "\\{";
            continue;
        case u'}':
            out += "\\}";
            continue;
        case QChar::ObjectReplacementCharacter:
        case QChar::ParagraphSeparator:
        case 0x2028:
            continue;
        default:
            break;
        }
        if (ch < 0x20)
            continue;
        if (ch < 0x80) {
            out += char(ch);
            continue;
        }
        out += "\\u";
        appendNumber(out, ch > 32767 ? int(ch) - 65536 : int(ch));
        const int fallback = CodePage::windows1252Byte(ch);
        if (fallback >= 0)
            appendHex(out, fallback);
        else
            out += '?';
    }
}

// Text of a list level's marker: the level text ends at the first plain ";".
void appendLevelText(QByteArray &out, const QString &text)
{
    const QStringList parts = text.split(u';');
    for (qsizetype i = 0; i < parts.size(); ++i) {
        if (i > 0)
            appendHex(out, ';');
        appendText(out, parts[i], TextKind::FontName);
    }
}

class RtfWriter {
public:
    RtfWriter(const QTextDocument &doc, int language)
        : m_doc(doc), m_language(language), m_runs(formatRuns(doc))
    {
        m_fonts.append(doc.defaultFont().family());
    }

    QByteArray write();

private:
    void collectTables();
    void collectLists();
    int listFor(const QTextList *list, int level, int previous);
    void writeHeader();
    void writeListTables();
    void startParagraph(const FormatRun &run);
    void writeListParagraph(const FormatRun &run, const ParagraphList &list);
    void writeCharacterChanges(const FormatRun &run);
    int fontIndex(const QString &family) const { return int(m_fonts.indexOf(family)); }
    int colourIndex(const QColor &colour) const;

    const QTextDocument &m_doc;
    int m_language = 0;
    QList<FormatRun> m_runs;
    std::vector<WrittenList> m_lists;
    std::vector<ParagraphList> m_paragraphLists; // by block number
    QHash<const QTextList *, int> m_listNumbers; // \ls of each QTextList
    qsizetype m_paragraph = 0;
    QStringList m_fonts;
    QList<QColor> m_colours;
    int m_symbolFont = -1;
    CharacterState m_state;
    QByteArray m_out;
};

QByteArray RtfWriter::write()
{
    collectTables();
    writeHeader();
    bool paragraphOpen = false;
    for (const FormatRun &run : std::as_const(m_runs)) {
        qsizetype start = 0;
        while (start < run.text.size()) {
            if (!paragraphOpen) {
                startParagraph(run);
                paragraphOpen = true;
            }
            writeCharacterChanges(run);
            const qsizetype end = run.text.indexOf(u'\n', start);
            appendText(m_out, QStringView(run.text).sliced(
                                  start, (end < 0 ? run.text.size() : end) - start));
            if (end < 0)
                break;
            m_out += "\\par\r\n";
            ++m_paragraph;
            paragraphOpen = false;
            start = end + 1;
        }
    }
    if (!paragraphOpen && !m_runs.isEmpty()) {
        startParagraph(m_runs.last());
        writeCharacterChanges(m_runs.last());
    }
    m_out += "\\par\r\n}\r\n";
    return m_out;
}

void RtfWriter::collectTables()
{
    bool bullets = false;
    for (const FormatRun &run : std::as_const(m_runs)) {
        if (!m_fonts.contains(run.fontFamily))
            m_fonts.append(run.fontFamily);
        if (run.colour.isValid() && colourIndex(run.colour) == 0)
            m_colours.append(run.colour);
        bullets = bullets || (run.inList() && !isNumberedList(run.listStyle));
    }
    if (bullets)
        m_symbolFont = int(m_fonts.size()); // after the text fonts
    collectLists();
}

// Gives every QTextList a list of the file. A list nested in another (a deeper
// level right after the other's items) joins its list as that level, so that
// readers show one list with levels; other lists get one of their own. In RTF
// an item restarts the numbering of the deeper levels, unless a level says it
// goes on: the lists and levels are chosen so that each reader counts as the
// document does.
void RtfWriter::collectLists()
{
    m_paragraphLists.reserve(std::size_t(m_doc.blockCount()));
    int previous = 0; // \ls of the paragraph before, 0 when it was no list item
    for (QTextBlock block = m_doc.begin(); block.isValid(); block = block.next()) {
        ParagraphList paragraph;
        if (const QTextList *list = block.textList()) {
            paragraph.level = listLevel(list->format());
            paragraph.number = listFor(list, paragraph.level, previous);
            WrittenList &written = m_lists[std::size_t(paragraph.number - 1)];
            LevelFormat &level = written.levels[std::size_t(paragraph.level)];
            const QTextList *last = written.lastList[std::size_t(paragraph.level)];
            if (last && written.outerItemSince[std::size_t(paragraph.level)])
                (last == list ? level.continued : level.restarted) = true;
            written.lastList[std::size_t(paragraph.level)] = list;
            written.outerItemSince[std::size_t(paragraph.level)] = false;
            for (int deeper = paragraph.level + 1; deeper < kListLevels; ++deeper)
                written.outerItemSince[std::size_t(deeper)] = true;
        }
        previous = paragraph.number;
        m_paragraphLists.push_back(paragraph);
    }
}

int RtfWriter::listFor(const QTextList *list, int level, int previous)
{
    if (const auto known = m_listNumbers.constFind(list); known != m_listNumbers.constEnd())
        return *known;
    const LevelFormat format = levelFormatOf(list->format());
    int number = 0;
    if (previous > 0) {
        const WrittenList &candidate = m_lists[std::size_t(previous - 1)];
        const LevelFormat &existing = candidate.levels[std::size_t(level)];
        // Joining an existing level is right only where the file's reader
        // starts counting again anyway: after an item of an outer level.
        if (!existing.used ||
            (sameNumbering(existing, format) && candidate.outerItemSince[std::size_t(level)]))
            number = previous;
    }
    if (number == 0) {
        m_lists.emplace_back();
        number = int(m_lists.size());
    }
    LevelFormat &slot = m_lists[std::size_t(number - 1)].levels[std::size_t(level)];
    if (!slot.used)
        slot = format;
    m_listNumbers.insert(list, number);
    return number;
}

// Bullet lists count nothing, so those with the same bullets share one
// definition; each list keeps its own \ls. Numbered lists each get their own.
void RtfWriter::writeListTables()
{
    if (m_lists.empty())
        return;
    std::vector<int> definitionOf(m_lists.size());
    QHash<QByteArray, int> bulletDefinitions;
    int definitions = 0;
    m_out += "{\\*\\listtable\r\n";
    for (std::size_t i = 0; i < m_lists.size(); ++i) {
        const WrittenList &list = m_lists[i];
        const bool bulletsOnly =
            std::none_of(list.levels.begin(), list.levels.end(), [](const LevelFormat &level) {
                return level.used && isNumberedList(level.style);
            });
        QByteArray bullets; // the bullet of each level, "-" for unused ones
        for (const LevelFormat &level : list.levels)
            bullets += level.used ? QByteArray::number(int(level.style)) + ',' : "-,";
        if (bulletsOnly) {
            if (const auto shared = bulletDefinitions.constFind(bullets);
                shared != bulletDefinitions.constEnd()) {
                definitionOf[i] = *shared;
                continue;
            }
        }
        definitionOf[i] = ++definitions;
        if (bulletsOnly)
            bulletDefinitions.insert(bullets, definitions);
        m_out += "{\\list\\listtemplateid" + QByteArray::number(definitions);
        for (int index = 0; index < kListLevels; ++index) {
            LevelFormat level = list.levels[std::size_t(index)];
            if (!level.used) { // for readers that go deeper than the document does
                level = LevelFormat();
                level.style =
                    bulletsOnly ? QTextListFormat::ListDisc : QTextListFormat::ListDecimal;
            }
            const QByteArray code = QByteArray::number(numberFormatCode(level.style));
            m_out += "{\\listlevel\\levelnfc" + code + "\\levelnfcn" + code +
                     "\\leveljc0\\leveljcn0\\levelfollow0\\levelstartat" +
                     QByteArray::number(level.start);
            if (level.continued && !level.restarted)
                m_out += "\\levelnorestart1";
            m_out += "{\\leveltext";
            if (isNumberedList(level.style)) {
                appendHex(m_out, int(level.prefix.size() + 1 + level.suffix.size()));
                appendLevelText(m_out, level.prefix);
                appendHex(m_out, index);
                appendLevelText(m_out, level.suffix);
                m_out += ";}{\\levelnumbers";
                appendHex(m_out, int(level.prefix.size() + 1));
                m_out += ";}";
            } else {
                appendHex(m_out, 1);
                appendText(m_out, QString(bulletCharacter(level.style)), TextKind::FontName);
                m_out += ";}{\\levelnumbers;}";
            }
            m_out += "\\fi-360\\li" + QByteArray::number(720 * (index + 1)) + "}\r\n";
        }
        m_out += "\\listid" + QByteArray::number(definitions) + "}\r\n";
    }
    m_out += "}\r\n{\\*\\listoverridetable";
    for (std::size_t i = 0; i < m_lists.size(); ++i) {
        m_out += "{\\listoverride\\listid" + QByteArray::number(definitionOf[i]) +
                 "\\listoverridecount0\\ls" + QByteArray::number(qulonglong(i + 1)) + "}";
    }
    m_out += "}\r\n";
}

int RtfWriter::colourIndex(const QColor &colour) const
{
    if (!colour.isValid())
        return 0;
    const QRgb rgb = colour.rgb();
    for (qsizetype i = 0; i < m_colours.size(); ++i) {
        if (m_colours[i].rgb() == rgb)
            return int(i) + 1;
    }
    return 0;
}

void RtfWriter::writeHeader()
{
    m_out.reserve(qsizetype(m_runs.size()) * 40 + 1024);
    m_out += "{\\rtf1\\ansi\\ansicpg1252\\deff0";
    if (m_language > 0)
        m_out += "\\deflang" + QByteArray::number(m_language);
    m_out += "\\uc1\r\n{\\fonttbl";
    for (qsizetype i = 0; i < m_fonts.size(); ++i) {
        m_out += "{\\f" + QByteArray::number(i) + "\\fnil\\fcharset0 ";
        QString name = m_fonts[i];
        name.remove(u';');
        appendText(m_out, name, TextKind::FontName);
        m_out += ";}";
    }
    if (m_symbolFont >= 0)
        m_out += "{\\f" + QByteArray::number(m_symbolFont) + "\\fnil\\fcharset2 Symbol;}";
    m_out += "}\r\n{\\colortbl ;";
    for (const QColor &colour : std::as_const(m_colours)) {
        m_out += "\\red" + QByteArray::number(colour.red()) + "\\green" +
                 QByteArray::number(colour.green()) + "\\blue" + QByteArray::number(colour.blue()) +
                 ';';
    }
    m_out += "}\r\n";
    writeListTables();
    m_out += "{\\*\\generator Quillory;}\\viewkind4\r\n";
}

void RtfWriter::startParagraph(const FormatRun &run)
{
    const ParagraphList list = m_paragraph < qsizetype(m_paragraphLists.size())
                                   ? m_paragraphLists[std::size_t(m_paragraph)]
                                   : ParagraphList();
    if (list.number > 0)
        writeListParagraph(run, list);
    else
        m_out += "\\pard";
    switch (run.alignment) {
    case RunAlignment::Left:
        m_out += "\\ql";
        break;
    case RunAlignment::Center:
        m_out += "\\qc";
        break;
    case RunAlignment::Right:
        m_out += "\\qr";
        break;
    case RunAlignment::Justify:
        m_out += "\\qj";
        break;
    }
    m_out += ' ';
}

// The marker as text for readers without lists, then the paragraph's list in
// both forms: \ls and \ilvl, and the older \pn for readers that know only that.
void RtfWriter::writeListParagraph(const FormatRun &run, const ParagraphList &list)
{
    const LevelFormat &level =
        m_lists[std::size_t(list.number - 1)].levels[std::size_t(list.level)];
    m_out += "{\\listtext\\plain\\f";
    appendNumber(m_out, std::max(0, fontIndex(run.fontFamily)));
    m_out += "\\fs";
    appendNumber(m_out, std::clamp(qRound(run.pointSize * 2), 2, 3276));
    m_out += ' ';
    appendText(m_out, run.listMarker); // the paragraph's, as its runs all have it
    // \ls and \ilvl inside \pn too, as Word 97 wrote them: LibreOffice then
    // takes the list from the list table instead of from \pn.
    const auto appendListWords = [&] {
        m_out += "\\ls";
        appendNumber(m_out, list.number);
        m_out += "\\ilvl";
        appendNumber(m_out, list.level);
    };
    m_out += "\\tab}\\pard{\\*\\pn";
    appendListWords();
    if (isNumberedList(level.style)) {
        m_out += "\\pnlvlbody\\pnindent0\\pnstart";
        appendNumber(m_out, level.start);
        m_out += oldStyleNumberWord(level.style);
        if (!level.prefix.isEmpty()) {
            m_out += "{\\pntxtb ";
            appendText(m_out, level.prefix, TextKind::FontName);
            m_out += '}';
        }
        m_out += "{\\pntxta ";
        appendText(m_out, level.suffix, TextKind::FontName);
        m_out += '}';
    } else {
        m_out += "\\pnlvlblt\\pnf";
        appendNumber(m_out, m_symbolFont);
        m_out += "\\pnindent0{\\pntxtb\\'b7}";
    }
    m_out += '}';
    appendListWords();
    m_out += "\\fi-360\\li";
    appendNumber(m_out, 720 * (list.level + 1));
}

void RtfWriter::writeCharacterChanges(const FormatRun &run)
{
    CharacterState wanted;
    wanted.bold = run.bold;
    wanted.italic = run.italic;
    wanted.underline = run.underline;
    wanted.strike = run.strike;
    wanted.font = std::max(0, fontIndex(run.fontFamily));
    wanted.halfPoints = std::clamp(qRound(run.pointSize * 2), 2, 3276);
    wanted.colour = colourIndex(run.colour);

    const qsizetype before = m_out.size();
    if (wanted.bold != m_state.bold)
        m_out += wanted.bold ? "\\b" : "\\b0";
    if (wanted.italic != m_state.italic)
        m_out += wanted.italic ? "\\i" : "\\i0";
    if (wanted.underline != m_state.underline)
        m_out += wanted.underline ? "\\ul" : "\\ulnone";
    if (wanted.strike != m_state.strike)
        m_out += wanted.strike ? "\\strike" : "\\strike0";
    if (wanted.font != m_state.font) {
        m_out += "\\f";
        appendNumber(m_out, wanted.font);
    }
    if (wanted.halfPoints != m_state.halfPoints) {
        m_out += "\\fs";
        appendNumber(m_out, wanted.halfPoints);
    }
    if (wanted.colour != m_state.colour) {
        m_out += "\\cf";
        appendNumber(m_out, wanted.colour);
    }
    if (m_out.size() != before)
        m_out += ' ';
    m_state = wanted;
}

} // namespace

QByteArray writeRtf(const QTextDocument &doc, int language)
{
    return RtfWriter(doc, language).write();
}

} // namespace quillory
