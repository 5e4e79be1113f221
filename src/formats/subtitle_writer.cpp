#include "formats/subtitle_writer.h"

#include <algorithm>

namespace quillory {

namespace {

QString clockTime(qint64 ms, QChar beforeMillis)
{
    ms = std::max<qint64>(0, ms);
    const qint64 seconds = ms / 1000;
    return QStringLiteral("%1:%2:%3%4%5")
        .arg(seconds / 3600, 2, 10, QLatin1Char('0'))
        .arg(seconds / 60 % 60, 2, 10, QLatin1Char('0'))
        .arg(seconds % 60, 2, 10, QLatin1Char('0'))
        .arg(beforeMillis)
        .arg(ms % 1000, 3, 10, QLatin1Char('0'));
}

// Tags opened in this order and closed in the reverse one, so they nest.
constexpr struct {
    quint8 style;
    char tag;
} kTags[] = {{CueBold, 'b'}, {CueItalic, 'i'}, {CueUnderline, 'u'}};

QString closing(quint8 open)
{
    QString out;
    for (int t = 2; t >= 0; --t) {
        if (open & kTags[t].style)
            out += QStringLiteral("</%1>").arg(QLatin1Char(kTags[t].tag));
    }
    return out;
}

QString opening(quint8 style)
{
    QString out;
    for (const auto &t : kTags) {
        if (style & t.style)
            out += QStringLiteral("<%1>").arg(QLatin1Char(t.tag));
    }
    return out;
}

void appendEscaped(QString &out, QChar c, bool escapeMarkup)
{
    if (escapeMarkup && c == QLatin1Char('&'))
        out += QLatin1String("&amp;");
    else if (escapeMarkup && c == QLatin1Char('<'))
        out += QLatin1String("&lt;");
    else if (escapeMarkup && c == QLatin1Char('>'))
        out += QLatin1String("&gt;");
    else
        out += c;
}

} // namespace

QString subRipTime(qint64 ms)
{
    return clockTime(ms, QLatin1Char(','));
}

QString webVttTime(qint64 ms)
{
    return clockTime(ms, QLatin1Char('.'));
}

QString taggedLine(const StyledText &line, bool escapeMarkup)
{
    QString out;
    out.reserve(line.size() + 16);
    quint8 open = 0;
    for (int i = 0; i < line.size(); ++i) {
        const QChar c = line.text.at(i);
        // A space keeps the tags around it open rather than splitting them.
        const quint8 style = c == QLatin1Char(' ') ? open : line.styles.value(i);
        if (style != open) {
            out += closing(open) + opening(style);
            open = style;
        }
        appendEscaped(out, c, escapeMarkup);
    }
    return out + closing(open);
}

QByteArray writeSubRip(const QList<Cue> &cues)
{
    QString out;
    int number = 0;
    for (const Cue &cue : cues) {
        out += QString::number(++number) + QLatin1String("\r\n") + subRipTime(cue.startMs) +
               QLatin1String(" --> ") + subRipTime(cue.endMs) + QLatin1String("\r\n");
        for (const StyledText &line : cue.lines)
            out += taggedLine(line, false) + QLatin1String("\r\n");
        out += QLatin1String("\r\n");
    }
    return out.toUtf8();
}

QByteArray writeWebVtt(const QList<Cue> &cues)
{
    QString out = QStringLiteral("WEBVTT\n\n");
    for (const Cue &cue : cues) {
        out += webVttTime(cue.startMs) + QLatin1String(" --> ") + webVttTime(cue.endMs) +
               QLatin1Char('\n');
        for (const StyledText &line : cue.lines)
            out += taggedLine(line, true) + QLatin1Char('\n');
        out += QLatin1Char('\n');
    }
    return out.toUtf8();
}

} // namespace quillory
