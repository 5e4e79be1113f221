#include "language_table.h"

#include "platform/files/program_folder.h"
#include "platform/files/text_file.h"

#include <QStringList>

namespace quillory {

QString LanguageTable::T(int index) const
{
    if (index < 0 || index >= Size)
        return QString();
    return m_entries[static_cast<size_t>(index)];
}

void LanguageTable::setEntry(int index, const QString &text)
{
    if (index >= 0 && index < Size)
        m_entries[static_cast<size_t>(index)] = text;
}

bool LanguageTable::load(const QString &path)
{
    QStringList lines;
    if (!readTextLines(path, &lines))
        return false;
    for (int i = 0; i < lines.size() && i < Size; ++i) {
        const QString &line = lines[i];
        if (line.size() < 2)
            continue; // an empty or one-character line leaves the entry unchanged
        m_entries[static_cast<size_t>(i)] = line.mid(3);
    }
    return true;
}

QString LanguageTable::languageForCountry(const QString &englishCountryName)
{
    return englishCountryName.left(2).toLower() == QLatin1String("it")
               ? QStringLiteral("Italiano.lng")
               : QStringLiteral("English.lng");
}

QString LanguageTable::languageFileFromPath(const QString &chosenPath, const QString &current)
{
    const QLatin1String marker("/Lang/");
    const int at = chosenPath.lastIndexOf(marker, -1, Qt::CaseSensitive);
    if (at < 0)
        return current;
    return chosenPath.mid(at + marker.size());
}

QString LanguageTable::insideLangFolder(const QString &languageFile)
{
    const QLatin1String suffix(".lng");
    const bool bare =
        !languageFile.contains(QLatin1Char('/')) && !languageFile.contains(QLatin1Char('\\')) &&
        !languageFile.contains(QLatin1String("..")) && !languageFile.contains(QChar(0));
    if (bare && languageFile.size() > suffix.size() &&
        languageFile.endsWith(suffix, Qt::CaseInsensitive))
        return languageFile;
    return DefaultFile;
}

QString LanguageTable::pathOf(const QString &languageFile)
{
    return ProgramFolder::file(QStringLiteral("Lang/") + languageFile);
}

} // namespace quillory
