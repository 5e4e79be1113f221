#pragma once

#include <QList>
#include <QString>

namespace quillory {

// The character styles subtitle files carry.
enum CueStyle : quint8 {
    CueBold = 1,
    CueItalic = 2,
    CueUnderline = 4,
};

// Text with one CueStyle set per character: a cue, or one of its lines.
struct StyledText {
    QString text;
    QList<quint8> styles; // as long as text

    void append(QChar c, quint8 style);
    void append(const QString &more, quint8 style);
    void append(const StyledText &more);
    StyledText mid(int start, int length = -1) const;
    bool isEmpty() const { return text.isEmpty(); }
    int size() const { return int(text.size()); }
    bool operator==(const StyledText &other) const
    {
        return text == other.text && styles == other.styles;
    }

    // Runs of whitespace made one space (taking the style of the first), none
    // at either end: how a cue's words are laid out.
    StyledText simplified() const;
};

// The styled text split into lines of at most `maxChars` characters, broken at
// spaces; a word longer than a line has a line of its own.
QList<StyledText> wrapLines(const StyledText &text, int maxChars);

// Where the text may be split into sentences: the index of each space that
// follows a sentence's end (".", "!", "?", "…", perhaps then closing quotes or
// brackets).
QList<int> sentenceBreaks(const QString &text);

} // namespace quillory
