#pragma once

#include <QStringView>

namespace quillory {

// Whole-word search, the same in Find, Find next and Replace all: words are
// made of Unicode letters and the marks that combine with them ("caté" is one
// word, so is "cafe" + U+0301); digits, punctuation and spaces separate words.
bool isWordLetter(char32_t c);

// The code point that ends just before `pos`, or 0 at the start of the text.
char32_t codePointBefore(QStringView text, qsizetype pos);
// The code point that starts at `pos`, or 0 at the end of the text.
char32_t codePointAt(QStringView text, qsizetype pos);

// Whether text[start, end) stands as a whole word: no word letter touches it
// on either side.
bool isWholeWordAt(QStringView text, qsizetype start, qsizetype end);

} // namespace quillory
