#include "formats/subtitle_reader.h"

#include "rtf/plain_text.h"

#include <QRegularExpression>
#include <QTextCursor>
#include <QTextDocument>

#include <array>

namespace quillory {

namespace {

std::optional<qint64> clockTime(const QRegularExpressionMatch &m, int first)
{
    const auto number = [&m](int group) { return m.captured(group).toLongLong(); };
    qint64 hours = 0, minutes = 0, seconds = 0;
    if (m.capturedLength(first + 2) > 0) {
        hours = number(first);
        minutes = number(first + 1);
        seconds = number(first + 2);
        if (minutes >= 60)
            return std::nullopt;
    } else {
        minutes = number(first);
        seconds = number(first + 1);
    }
    if (seconds >= 60)
        return std::nullopt;
    // "5" after the comma is half a second, as a decimal fraction reads.
    const QString fraction = m.captured(first + 3).leftJustified(3, QLatin1Char('0'));
    return ((hours * 60 + minutes) * 60 + seconds) * 1000 + fraction.toLongLong();
}

struct Entity {
    const char *name;
    char16_t character;
};
constexpr std::array<Entity, 8> kEntities{{{"amp", u'&'},
                                           {"lt", u'<'},
                                           {"gt", u'>'},
                                           {"quot", u'"'},
                                           {"apos", u'\''},
                                           {"nbsp", u' '},
                                           {"lrm", u'\u200e'},
                                           {"rlm", u'\u200f'}}};

// The character an entity at `at` ("&amp;", "&#233;", "&#xE9;") stands for and
// its length; nothing when it is no entity.
std::optional<std::pair<QChar, int>> entityAt(QStringView line, int at)
{
    const int end = int(line.indexOf(QLatin1Char(';'), at));
    if (end < 0 || end - at > 10)
        return std::nullopt;
    const QStringView name = line.sliced(at + 1, end - at - 1);
    const int length = end - at + 1;
    if (name.startsWith(QLatin1Char('#'))) {
        bool ok = false;
        const uint code = name.startsWith(QLatin1String("#x"), Qt::CaseInsensitive)
                              ? name.sliced(2).toUInt(&ok, 16)
                              : name.sliced(1).toUInt(&ok, 10);
        if (!ok || code == 0 || code > 0xFFFF || isUnwantedCharacter(QChar(char16_t(code))))
            return std::nullopt;
        return std::make_pair(QChar(char16_t(code)), length);
    }
    for (const Entity &entity : kEntities) {
        if (name == QLatin1String(entity.name))
            return std::make_pair(QChar(entity.character), length);
    }
    return std::nullopt;
}

bool isWordStart(QStringView line, const char *word)
{
    const QLatin1String w(word);
    return line.startsWith(w) && (line.size() == w.size() || line.at(w.size()).isSpace());
}

// The tags SubRip files use; anything else between < and > is text there.
bool isSubRipTag(QStringView name)
{
    for (const char *tag : {"b", "i", "u", "s", "font"}) {
        if (name.compare(QLatin1String(tag), Qt::CaseInsensitive) == 0)
            return true;
    }
    return false;
}

bool isNumber(QStringView line)
{
    bool ok = false;
    const QStringView digits = line.trimmed();
    const qint64 value = digits.toLongLong(&ok);
    return ok && value >= 0;
}

// Builds the cue list from the lines, counting what was wrong.
class CueCollector {
public:
    CueCollector(bool vtt, SubtitleReadReport &report) : m_vtt(vtt), m_report(report) {}

    void problem(SubtitleProblem kind, int line)
    {
        if (m_report.problems++ == 0) {
            m_report.firstProblem = kind;
            m_report.firstProblemLine = line;
        }
    }

    // A timing line (or one with "-->" that does not read) at `lineNo`.
    void timing(QStringView line, int lineNo)
    {
        if (m_inCue) {
            problem(SubtitleProblem::MissingBlankLine, lineNo);
            // The cue number that should have followed a blank line.
            if (!m_cueLines.isEmpty() && isNumber(m_cueLines.last()) && m_cueLines.size() > 1)
                m_pending.append({m_cueLines.takeLast(), lineNo - 1});
            finishCue();
        }
        // The line just above is the cue's number or identifier; any before it
        // belong to no cue.
        std::optional<PendingLine> identifier;
        if (!m_pending.isEmpty())
            identifier = m_pending.takeLast();
        flushPending();
        if (identifier && !m_vtt) {
            if (!isNumber(identifier->text)) {
                m_pending.append(*identifier);
                flushPending();
            } else {
                const qint64 number = identifier->text.trimmed().toLongLong();
                if (m_lastNumber && number <= *m_lastNumber)
                    problem(SubtitleProblem::NumberOutOfOrder, identifier->lineNo);
                m_lastNumber = number;
            }
        }

        ReadCue cue;
        if (const auto times = parseTimingLine(line)) {
            cue.startMs = times->first;
            cue.endMs = times->second;
            if (times->second < times->first) {
                problem(SubtitleProblem::BadTime, lineNo);
                cue.endMs = times->first;
            }
        } else {
            problem(SubtitleProblem::BadTime, lineNo);
        }
        m_cues.append(cue);
        m_inCue = true;
        ++m_report.cues;
    }

    void text(const QString &line, int lineNo)
    {
        if (m_inCue)
            m_cueLines.append(line);
        else
            m_pending.append({line, lineNo});
    }

    void blank()
    {
        if (m_inCue)
            finishCue();
        else
            flushPending();
    }

    bool inCue() const { return m_inCue; }
    bool hasPending() const { return !m_pending.isEmpty(); }

    QList<ReadCue> finish()
    {
        blank();
        if (m_report.cues == 0)
            problem(SubtitleProblem::NoCues, 1);
        return std::move(m_cues);
    }

private:
    struct PendingLine {
        QString text;
        int lineNo = 0;
    };

    void finishCue()
    {
        StyledText &text = m_cues.last().text;
        for (const QString &line : std::as_const(m_cueLines)) {
            if (!text.isEmpty())
                text.append(QLatin1Char(' '), 0);
            text.append(parseCueLine(line, m_vtt));
        }
        text = text.simplified();
        m_cueLines.clear();
        m_inCue = false;
    }

    // Lines outside any cue keep their text as an untimed paragraph; a lone
    // number (a cue that lost its times) is dropped.
    void flushPending()
    {
        if (m_pending.isEmpty())
            return;
        problem(SubtitleProblem::TextOutsideCue, m_pending.first().lineNo);
        ReadCue loose;
        for (const PendingLine &line : std::as_const(m_pending)) {
            if (!m_vtt && isNumber(line.text))
                continue;
            if (!loose.text.isEmpty())
                loose.text.append(QLatin1Char(' '), 0);
            loose.text.append(parseCueLine(line.text, m_vtt));
        }
        loose.text = loose.text.simplified();
        if (!loose.text.isEmpty())
            m_cues.append(loose);
        m_pending.clear();
    }

    bool m_vtt;
    SubtitleReadReport &m_report;
    QList<ReadCue> m_cues;
    QStringList m_cueLines;
    QList<PendingLine> m_pending;
    bool m_inCue = false;
    std::optional<qint64> m_lastNumber;
};

} // namespace

std::optional<std::pair<qint64, qint64>> parseTimingLine(QStringView line)
{
    static const QRegularExpression re(QStringLiteral(
        R"(^\s*([0-9]{1,7}):([0-9]{1,2})(?::([0-9]{1,2}))?(?:[,.]([0-9]{1,3}))?\s*-->\s*)"
        R"(([0-9]{1,7}):([0-9]{1,2})(?::([0-9]{1,2}))?(?:[,.]([0-9]{1,3}))?(?:\s.*)?$)"));
    const QRegularExpressionMatch m = re.match(line);
    if (!m.hasMatch())
        return std::nullopt;
    const std::optional<qint64> start = clockTime(m, 1);
    const std::optional<qint64> end = clockTime(m, 5);
    if (!start || !end)
        return std::nullopt;
    return std::make_pair(*start, *end);
}

StyledText parseCueLine(QStringView line, bool webVtt)
{
    StyledText out;
    int bold = 0, italic = 0, underline = 0;
    const auto style = [&] {
        return quint8((bold > 0 ? CueBold : 0) | (italic > 0 ? CueItalic : 0) |
                      (underline > 0 ? CueUnderline : 0));
    };
    for (int i = 0; i < line.size(); ++i) {
        const QChar c = line.at(i);
        if (c == QLatin1Char('<')) {
            const int close = int(line.indexOf(QLatin1Char('>'), i + 1));
            if (close > i + 1) {
                QStringView tag = line.sliced(i + 1, close - i - 1).trimmed();
                const bool ending = tag.startsWith(QLatin1Char('/'));
                if (ending)
                    tag = tag.sliced(1);
                int nameEnd = 0;
                while (nameEnd < tag.size() && tag.at(nameEnd).isLetterOrNumber())
                    ++nameEnd;
                const QStringView name = tag.first(nameEnd);
                if (!webVtt && !isSubRipTag(name)) {
                    out.append(c, style()); // text that happens to look like a tag
                    continue;
                }
                const int step = ending ? -1 : 1;
                if (name.compare(QLatin1String("b"), Qt::CaseInsensitive) == 0)
                    bold = std::max(0, bold + step);
                else if (name.compare(QLatin1String("i"), Qt::CaseInsensitive) == 0)
                    italic = std::max(0, italic + step);
                else if (name.compare(QLatin1String("u"), Qt::CaseInsensitive) == 0)
                    underline = std::max(0, underline + step);
                else if (name == QLatin1String("v") && !ending && nameEnd < tag.size())
                    out.append(tag.sliced(nameEnd).trimmed().toString() + QStringLiteral(": "), 0);
                i = close;
                continue;
            }
        } else if (c == QLatin1Char('{') && i + 1 < line.size() && line.at(i + 1) == u'\\') {
            const int close = int(line.indexOf(QLatin1Char('}'), i + 1));
            if (close > 0) {
                i = close;
                continue;
            }
        } else if (c == QLatin1Char('&') && webVtt) {
            if (const auto entity = entityAt(line, i)) {
                out.append(entity->first, style());
                i += entity->second - 1;
                continue;
            }
        }
        if (!isUnwantedCharacter(c))
            out.append(c, style());
    }
    return out;
}

QList<ReadCue> readSubtitleCues(const QByteArray &data, SubtitleReadReport *report)
{
    SubtitleReadReport local;
    SubtitleReadReport &r = report ? *report : local;
    r = SubtitleReadReport{};
    QString all = decodePlainText(data);
    all.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    all.replace(u'\r', u'\n');
    const QList<QStringView> lines = QStringView(all).split(u'\n');

    int at = 0;
    const bool vtt = !lines.isEmpty() && isWordStart(lines.first().trimmed(), "WEBVTT");
    if (vtt) { // the header block, with its metadata
        while (at < lines.size() && !lines[at].trimmed().isEmpty())
            ++at;
    }
    CueCollector collector(vtt, r);
    bool skippingBlock = false;
    for (; at < lines.size(); ++at) {
        const QStringView line = lines[at];
        const int lineNo = at + 1;
        if (line.trimmed().isEmpty()) {
            skippingBlock = false;
            collector.blank();
            continue;
        }
        if (skippingBlock)
            continue;
        if (vtt && !collector.inCue() && !collector.hasPending() &&
            (isWordStart(line, "NOTE") || isWordStart(line, "STYLE") ||
             isWordStart(line, "REGION"))) {
            skippingBlock = true;
            continue;
        }
        if (line.contains(QLatin1String("-->")))
            collector.timing(line, lineNo);
        else
            collector.text(line.toString(), lineNo);
    }
    return collector.finish();
}

void readSubtitles(const QByteArray &data, QTextDocument *doc, Timestamps::Format format,
                   qint64 offsetMs, SubtitleReadReport *report)
{
    const QList<ReadCue> cues = readSubtitleCues(data, report);
    std::array<QTextCharFormat, 8> formats;
    for (int style = 0; style < 8; ++style) {
        if (style & CueBold)
            formats[style].setFontWeight(QFont::Bold);
        if (style & CueItalic)
            formats[style].setFontItalic(true);
        if (style & CueUnderline)
            formats[style].setFontUnderline(true);
    }
    const bool undoEnabled = doc->isUndoRedoEnabled();
    doc->setUndoRedoEnabled(false);
    doc->clear();
    QTextCursor cursor(doc);
    cursor.beginEditBlock();
    bool first = true;
    for (const ReadCue &cue : cues) {
        if (!first)
            cursor.insertBlock(QTextBlockFormat(), formats[0]);
        first = false;
        if (cue.startMs) {
            cursor.insertText(Timestamps::format(*cue.startMs, offsetMs, format), formats[0]);
            if (!cue.text.isEmpty())
                cursor.insertText(QStringLiteral(" "), formats[0]);
        }
        for (int from = 0; from < cue.text.size();) {
            const quint8 style = cue.text.styles.at(from);
            int to = from + 1;
            while (to < cue.text.size() && cue.text.styles.at(to) == style)
                ++to;
            cursor.insertText(cue.text.text.mid(from, to - from), formats[style & 7]);
            from = to;
        }
    }
    cursor.endEditBlock();
    doc->setUndoRedoEnabled(undoEnabled);
}

} // namespace quillory
