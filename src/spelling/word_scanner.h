#pragma once

#include <QList>
#include <QString>

namespace quillory::spelling {

// A word's place in a paragraph.
struct WordSpan {
    int start = 0;
    int length = 0;
    bool operator==(const WordSpan &other) const
    {
        return start == other.start && length == other.length;
    }
};

// The words of a paragraph to check: runs of letters (with the marks that
// belong to them), joined by an apostrophe or hyphen between two letters
// ("l'uomo", "well-known"). A run touching a digit is no word, so neither
// timestamps ("[00:01:23.4]", "#00:01:23-4#") nor "3rd" or "mp3" are checked;
// neither are single letters, nor web and mail addresses.
QList<WordSpan> wordsIn(const QString &paragraph);

} // namespace quillory::spelling
