#include "find_rules.h"

#include "platform/text/whole_word.h"

namespace quillory {

QString trimBlanks(const QString &text)
{
    qsizetype first = 0;
    qsizetype last = text.size();
    while (first < last && text[first] == QLatin1Char(' '))
        ++first;
    while (last > first && text[last - 1] == QLatin1Char(' '))
        --last;
    return text.mid(first, last - first);
}

QString firstLine(const QString &text, bool *cut)
{
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text[i];
        if (c == QLatin1Char('\r') || c == QLatin1Char('\n') || c == QChar::ParagraphSeparator ||
            c == QChar::LineSeparator) {
            if (cut)
                *cut = true;
            return text.left(i);
        }
    }
    if (cut)
        *cut = false;
    return text;
}

bool joinsHistory(const QStringList &items, const QString &text)
{
    if (items.contains(text, Qt::CaseSensitive))
        return false;
    return !trimBlanks(text).isEmpty();
}

QList<int> replaceAllHits(QStringView line, QStringView find, QStringView replacement,
                          bool wholeWord, bool matchCase)
{
    std::vector<int> hits;
    appendReplaceAllHits(hits, 0, line, find, replacement, wholeWord, matchCase);
    return QList<int>(hits.begin(), hits.end());
}

void appendReplaceAllHits(std::vector<int> &hits, int offset, QStringView line, QStringView find,
                          QStringView replacement, bool wholeWord, bool matchCase)
{
    const qsizetype findLength = find.size();
    if (findLength == 0)
        return;
    const Qt::CaseSensitivity cs = matchCase ? Qt::CaseSensitive : Qt::CaseInsensitive;
    // The line is never rebuilt: everything behind the scan is as it was, and of
    // the changed part only the code point just before the scan position matters
    // for the whole-word test. lastEditEnd is where the last replaced text ended
    // (in the line as it was); beforeEdit is the changed line's code point just
    // before that point, or 0 when the changed line is empty up to it.
    qsizetype lastEditEnd = -1;
    char32_t beforeEdit = 0;
    qsizetype pos = 0;
    while (pos < line.size()) {
        const qsizetype hit = line.indexOf(find, pos, cs);
        if (hit < 0)
            break;
        const qsizetype end = hit + findLength;
        if (!wholeWord) {
            hits.push_back(offset + static_cast<int>(hit));
            pos = end;
            continue;
        }
        const char32_t before = hit == lastEditEnd ? beforeEdit : codePointBefore(line, hit);
        if (!isWordLetter(before) && !isWordLetter(codePointAt(line, end))) {
            hits.push_back(offset + static_cast<int>(hit));
            beforeEdit =
                replacement.isEmpty() ? before : codePointBefore(replacement, replacement.size());
            lastEditEnd = end;
        }
        pos = end;
    }
}

} // namespace quillory
