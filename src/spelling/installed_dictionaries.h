#pragma once

#include <QList>
#include <QString>
#include <QStringList>

namespace quillory::spelling {

// A Hunspell dictionary found on the disk: "it_IT" with its two files.
struct DictionaryFiles {
    QString name;
    QString affPath;
    QString dicPath;
    bool operator==(const DictionaryFiles &other) const
    {
        return name == other.name && affPath == other.affPath && dicPath == other.dicPath;
    }
};

// The folders the system's dictionaries are installed in (Debian's
// hunspell-* packages, and older myspell ones).
QStringList systemDictionaryFolders();

// Every ".aff"/".dic" pair in the folders, by name, the first folder winning
// a name found twice; sorted by name.
QList<DictionaryFiles> findDictionaries(const QStringList &folders);

// The dictionary for a language: `code` is a two-letter language ("it") or a
// full name ("de_AT"). A full name found as such wins; otherwise the
// language's main country ("it" gives it_IT, "en" en_US, "de" de_DE, "es"
// es_ES, "fr" fr_FR), then any dictionary of the language. Empty when none.
DictionaryFiles pickDictionary(const QString &code, const QList<DictionaryFiles> &installed);

// The language part of a dictionary name ("de_DE" gives "de").
QString languageOf(const QString &dictionaryName);

} // namespace quillory::spelling
