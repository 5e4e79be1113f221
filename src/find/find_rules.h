#pragma once

#include <QList>
#include <QString>
#include <QStringList>
#include <vector>

namespace quillory {

// Option bits of the rich-text control's find.
constexpr int FindWholeWord = 2;
constexpr int FindMatchCase = 4;

inline int findOptions(bool wholeWord, bool matchCase)
{
    return (wholeWord ? FindWholeWord : 0) + (matchCase ? FindMatchCase : 0);
}

// Removes leading and trailing blanks (spaces only; tabs stay).
QString trimBlanks(const QString &text);

// The part of `text` before its first line break (CR LF, LF, CR or a Unicode
// line or paragraph separator); *cut tells whether there was one. A selection
// from the editor uses CR LF, text dropped from other programs often LF alone.
QString firstLine(const QString &text, bool *cut);

// Whether `text` joins a search history list: not when an item equals it
// exactly (case-sensitive), nor when it is blank. The text goes in untrimmed.
bool joinsHistory(const QStringList &items, const QString &text);

// The occurrences that replace all changes in one line, as offsets into the
// line as it was. The line is scanned left to right; after each replacement
// the scan goes on behind the inserted text, which is never searched again,
// and a whole-word hit is judged against the line as changed so far (so a
// replacement ending in a letter can join the next hit to a word). Lines hold
// no line breaks, so no hit spans one. An empty `find` gives no hits. Words
// are told apart as by isWholeWordAt.
QList<int> replaceAllHits(QStringView line, QStringView find, QStringView replacement,
                          bool wholeWord, bool matchCase);
// The same, appended to `hits` with `offset` added to each.
void appendReplaceAllHits(std::vector<int> &hits, int offset, QStringView line, QStringView find,
                          QStringView replacement, bool wholeWord, bool matchCase);

} // namespace quillory
