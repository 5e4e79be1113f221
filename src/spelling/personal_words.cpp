#include "personal_words.h"

#include "platform/files/program_folder.h"

namespace quillory::spelling {

PersonalWords::PersonalWords(const QString &path) : m_path(path) {}

QString PersonalWords::defaultPath()
{
    return ProgramFolder::file(QStringLiteral("PersonalWords.txt"));
}

void PersonalWords::load()
{
    m_lines.clear();
    m_words.clear();
    QStringList lines;
    if (!readTextLines(m_path, &lines))
        return;
    for (const QString &line : lines) {
        const QString word = line.trimmed();
        if (word.isEmpty() || word.startsWith(QLatin1Char('#')) || m_words.contains(word))
            continue;
        m_lines << word;
        m_words.insert(word);
    }
}

FileResult PersonalWords::add(const QString &word)
{
    const QString clean = word.trimmed();
    if (clean.isEmpty() || clean.contains(QLatin1Char('\n')) || clean.contains(QLatin1Char('\r')))
        return FileResult::failure(QStringLiteral("Not a word: \"%1\"").arg(word));
    if (m_words.contains(clean))
        return FileResult::success();
    m_lines << clean;
    m_words.insert(clean);
    return writeTextLines(m_path, m_lines);
}

} // namespace quillory::spelling
