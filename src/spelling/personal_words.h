#pragma once

#include "platform/files/text_file.h"

#include <QSet>
#include <QString>
#include <QStringList>

namespace quillory::spelling {

// The user's own words (names, terms of the trade), never underlined in any
// language: one word a line, UTF-8, in the program folder.
class PersonalWords {
public:
    explicit PersonalWords(const QString &path = defaultPath());

    // Reads the list; a missing file is an empty list.
    void load();
    bool contains(const QString &word) const { return m_words.contains(word); }
    // Adds the word and writes the list at once, safely; a word already in it
    // or holding a line break is not added. On a failed write the word is
    // still known for this session and the reason is returned.
    FileResult add(const QString &word);
    QStringList words() const { return m_lines; }
    QString path() const { return m_path; }

    static QString defaultPath();

private:
    QString m_path;
    QStringList m_lines;
    QSet<QString> m_words;
};

} // namespace quillory::spelling
