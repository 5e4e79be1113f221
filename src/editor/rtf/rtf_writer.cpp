#include "editor/rtf/rtf_writer.h"

#include "editor/rtf/code_page.h"
#include "editor/rtf/format_runs.h"

#include <QTextDocument>

#include <algorithm>

namespace quillory {
namespace {

constexpr int kDefaultHalfPoints = 24;

struct CharacterState {
    bool bold = false;
    bool italic = false;
    bool underline = false;
    bool strike = false;
    int font = 0;
    int halfPoints = kDefaultHalfPoints;
    int colour = 0;
};

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
    for (QChar qch : text) {
        const char16_t ch = qch.unicode();
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
        out += QByteArray::number(ch > 32767 ? int(ch) - 65536 : int(ch));
        const int fallback = CodePage::windows1252Byte(ch);
        if (fallback >= 0)
            appendHex(out, fallback);
        else
            out += '?';
    }
}

class RtfWriter {
public:
    explicit RtfWriter(const QTextDocument &doc) : m_runs(formatRuns(doc))
    {
        m_fonts.append(doc.defaultFont().family());
    }

    QByteArray write();

private:
    void collectTables();
    void writeHeader();
    void startParagraph(const FormatRun &run);
    void writeCharacterChanges(const FormatRun &run);
    int fontIndex(const QString &family) const { return int(m_fonts.indexOf(family)); }
    int colourIndex(const QColor &colour) const;

    QList<FormatRun> m_runs;
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
        bullets = bullets || run.bullet;
    }
    if (bullets)
        m_symbolFont = int(m_fonts.size()); // after the text fonts
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
    m_out += "{\\rtf1\\ansi\\ansicpg1252\\deff0\\uc1\r\n{\\fonttbl";
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
    m_out += "}\r\n{\\*\\generator Quillory;}\\viewkind4\r\n";
}

void RtfWriter::startParagraph(const FormatRun &run)
{
    m_out += "\\pard";
    if (run.bullet) {
        const QByteArray symbol = QByteArray::number(m_symbolFont);
        m_out += "{\\pntext\\f" + symbol + "\\'b7\\tab}{\\*\\pn\\pnlvlblt\\pnf" + symbol +
                 "\\pnindent0{\\pntxtb\\'b7}}\\fi-360\\li720";
    }
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
    if (wanted.font != m_state.font)
        m_out += "\\f" + QByteArray::number(wanted.font);
    if (wanted.halfPoints != m_state.halfPoints)
        m_out += "\\fs" + QByteArray::number(wanted.halfPoints);
    if (wanted.colour != m_state.colour)
        m_out += "\\cf" + QByteArray::number(wanted.colour);
    if (m_out.size() != before)
        m_out += ' ';
    m_state = wanted;
}

} // namespace

QByteArray writeRtf(const QTextDocument &doc)
{
    return RtfWriter(doc).write();
}

} // namespace quillory
