#include "word_scanner.h"

namespace quillory::spelling {

namespace {

bool isWordLetter(QChar c)
{
    return c.isLetter() || c.isMark();
}

bool isJoiner(QChar c)
{
    return c == QLatin1Char('\'') || c == QChar(0x2019) || c == QLatin1Char('-');
}

// Characters that make a run part of an address or a file name, not prose.
bool isAddressMark(QChar c)
{
    return c == QLatin1Char('@') || c == QLatin1Char('/') || c == QLatin1Char('\\') ||
           c == QLatin1Char('_');
}

} // namespace

QList<WordSpan> wordsIn(const QString &paragraph)
{
    QList<WordSpan> words;
    const int size = static_cast<int>(paragraph.size());
    int i = 0;
    while (i < size) {
        // A token: everything up to the next blank, so that digits or an
        // address mark anywhere in it are seen.
        while (i < size && paragraph.at(i).isSpace())
            ++i;
        const int tokenStart = i;
        while (i < size && !paragraph.at(i).isSpace())
            ++i;
        const int tokenEnd = i;
        bool addressLike = false;
        for (int k = tokenStart; k < tokenEnd && !addressLike; ++k)
            addressLike = isAddressMark(paragraph.at(k)) ||
                          (paragraph.at(k) == QLatin1Char('.') && k + 1 < tokenEnd &&
                           isWordLetter(paragraph.at(k + 1)) && k > tokenStart &&
                           isWordLetter(paragraph.at(k - 1)));
        if (addressLike)
            continue;
        int k = tokenStart;
        while (k < tokenEnd) {
            if (!isWordLetter(paragraph.at(k)) && !paragraph.at(k).isDigit()) {
                ++k;
                continue;
            }
            const int start = k;
            bool digit = false;
            while (k < tokenEnd) {
                const QChar c = paragraph.at(k);
                if (isWordLetter(c)) {
                    ++k;
                } else if (c.isDigit()) {
                    digit = true;
                    ++k;
                } else if (isJoiner(c) && k + 1 < tokenEnd && k > start &&
                           isWordLetter(paragraph.at(k + 1))) {
                    ++k;
                } else {
                    break;
                }
            }
            if (!digit && k - start > 1)
                words.append({start, k - start});
        }
    }
    return words;
}

} // namespace quillory::spelling
