#pragma once

#include <QHash>
#include <QString>

namespace quillory {

// Texts the program gained beyond the 101-entry language table (new messages,
// new menu items). Each language file "Lang/<Name>.lng" may have a companion
// "Lang/<Name>.captions" of UTF-8 "key=value" lines ("#" starts a comment).
// A key missing from the current language falls back to "English.captions",
// then to the English text compiled into the caller, so a missing or damaged
// file never leaves a control without a caption.
class Captions {
public:
    // Loads the companion of `languageFile` ("Italiano.lng") from the program
    // folder's Lang/ folder. Missing files are not an error.
    void load(const QString &languageFile);
    // Reads `key=value` lines from text; later keys win. Values may hold "\n".
    void loadFromText(const QString &text, bool asFallback = false);
    void clear();

    QString text(const QString &key, const QString &englishDefault) const;

    // The companion file's path for a language file name.
    static QString pathFor(const QString &languageFile);

    // The captions of the current interface language; the player reloads it
    // whenever the language changes.
    static Captions &current();

private:
    QHash<QString, QString> m_texts;
    QHash<QString, QString> m_fallback;
};

// Shorthand for Captions::current().text(key, englishDefault).
QString caption(const QString &key, const QString &englishDefault);

} // namespace quillory
