#include "whole_word.h"

#include <QChar>

namespace quillory {

bool isWordLetter(char32_t c)
{
    return c != 0 && (QChar::isLetter(c) || QChar::isMark(c));
}

char32_t codePointBefore(QStringView text, qsizetype pos)
{
    if (pos <= 0 || pos > text.size())
        return 0;
    const QChar last = text[pos - 1];
    if (last.isLowSurrogate() && pos >= 2 && text[pos - 2].isHighSurrogate())
        return QChar::surrogateToUcs4(text[pos - 2], last);
    return last.unicode();
}

char32_t codePointAt(QStringView text, qsizetype pos)
{
    if (pos < 0 || pos >= text.size())
        return 0;
    const QChar first = text[pos];
    if (first.isHighSurrogate() && pos + 1 < text.size() && text[pos + 1].isLowSurrogate())
        return QChar::surrogateToUcs4(first, text[pos + 1]);
    return first.unicode();
}

bool isWholeWordAt(QStringView text, qsizetype start, qsizetype end)
{
    return !isWordLetter(codePointBefore(text, start)) && !isWordLetter(codePointAt(text, end));
}

} // namespace quillory
