#pragma once

#include <QString>
#include <array>

namespace quillory {

// The 101 user-interface texts, entries 0 to 100, filled from a language file in
// the program folder's Lang/ folder. Loading never clears: entries beyond the
// last line of a shorter file keep what they had.
class LanguageTable {
public:
    static constexpr int Size = 101;

    // T(n); an entry never loaded (or an index out of range) reads as empty.
    QString T(int index) const;
    void setEntry(int index, const QString &text);

    // Reads the file line by line: line k (from 0) sets entry k to the text from
    // its fourth character on; a line of 2 or 3 characters gives the empty text; an
    // empty or one-character line leaves the entry as it was. Lines past 100 are
    // ignored. Returns false when the file cannot be opened (the table is kept).
    bool load(const QString &path);

    // The file name that the first start picks from the English name of the user's
    // country: "Italiano.lng" when it begins with "it" (any case), else "English.lng".
    static QString languageForCountry(const QString &englishCountryName);

    // After the language dialog: the part of `chosenPath` after the last "/Lang/"
    // (exact case), or `current` when the path has none.
    static QString languageFileFromPath(const QString &chosenPath, const QString &current);

    // Program folder + "/Lang/" + file name.
    static QString pathOf(const QString &languageFile);

    // The language file named in the settings, kept inside Lang/: a bare file
    // name ending in ".lng" (any case), without a folder separator or "..".
    // Anything else (a path leading elsewhere, an empty name) gives DefaultFile.
    static QString insideLangFolder(const QString &languageFile);
    static inline const QString DefaultFile = QStringLiteral("English.lng");

private:
    std::array<QString, Size> m_entries;
};

} // namespace quillory
