#include "formats/styled_text.h"

namespace quillory {

void StyledText::append(QChar c, quint8 style)
{
    text.append(c);
    styles.append(style);
}

void StyledText::append(const QString &more, quint8 style)
{
    text.append(more);
    styles.insert(styles.size(), more.size(), style);
}

void StyledText::append(const StyledText &more)
{
    text.append(more.text);
    styles.append(more.styles);
}

StyledText StyledText::mid(int start, int length) const
{
    StyledText part;
    part.text = text.mid(start, length);
    part.styles = styles.mid(start, length);
    return part;
}

StyledText StyledText::simplified() const
{
    StyledText out;
    out.text.reserve(text.size());
    out.styles.reserve(text.size());
    bool pendingSpace = false;
    quint8 spaceStyle = 0;
    for (int i = 0; i < text.size(); ++i) {
        if (text.at(i).isSpace()) {
            if (!pendingSpace)
                spaceStyle = styles.value(i);
            pendingSpace = true;
            continue;
        }
        if (pendingSpace && !out.isEmpty())
            out.append(QLatin1Char(' '), spaceStyle);
        pendingSpace = false;
        out.append(text.at(i), styles.value(i));
    }
    return out;
}

QList<StyledText> wrapLines(const StyledText &text, int maxChars)
{
    const StyledText words = text.simplified();
    QList<StyledText> lines;
    int lineStart = 0;
    int lastSpace = -1;
    for (int i = 0; i <= words.size(); ++i) {
        const bool end = i == words.size();
        if (!end && words.text.at(i) != QLatin1Char(' '))
            continue;
        // [lineStart, i) is the line so far with the word just finished.
        if (i - lineStart > maxChars && lastSpace > lineStart) {
            lines.append(words.mid(lineStart, lastSpace - lineStart));
            lineStart = lastSpace + 1;
        }
        lastSpace = i;
    }
    if (lineStart < words.size())
        lines.append(words.mid(lineStart));
    return lines;
}

QList<int> sentenceBreaks(const QString &text)
{
    static const QString closers = QStringLiteral("\"'\u201d\u2019)]\u00bb");
    QList<int> breaks;
    for (int i = 1; i < text.size(); ++i) {
        if (text.at(i) != QLatin1Char(' '))
            continue;
        int j = i - 1;
        while (j > 0 && closers.contains(text.at(j)))
            --j;
        const QChar end = text.at(j);
        if (end == QLatin1Char('.') || end == QLatin1Char('!') || end == QLatin1Char('?') ||
            end == QChar(0x2026))
            breaks.append(i);
    }
    return breaks;
}

} // namespace quillory
