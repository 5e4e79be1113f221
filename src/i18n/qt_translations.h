#pragma once

#include <QString>
#include <memory>

class QTranslator;

namespace quillory {

class QtTextGaps;

// Qt's own texts (dialog buttons, the file dialogs, the text box's context
// menu) in the interface language: Qt's translation file "qtbase_<code>.qm"
// from Qt's translations folder, installed on the application and replaced at
// each language switch. English, or a language Qt has no file for, leaves
// Qt's built-in English. Dates, sizes and file type descriptions in those
// dialogs follow the language too: the default locale is the language's (the
// system's for English), and the texts Qt's file lacks come from the captions.
class QtTranslations {
public:
    QtTranslations();
    ~QtTranslations();
    QtTranslations(const QtTranslations &) = delete;
    QtTranslations &operator=(const QtTranslations &) = delete;

    // The two-letter code of a language file ("Italiano.lng" gives "it"), or
    // empty for a language the program does not know.
    static QString codeOf(const QString &languageFile);
    // Qt's translations folder, as QLibraryInfo names it.
    static QString folder();

    // Drops the file installed before and installs the one for `languageFile`
    // from `fromFolder`. Returns false when there is none to install.
    bool apply(const QString &languageFile, const QString &fromFolder = folder());
    // The path of the installed file, or empty.
    QString installedFile() const { return m_installed; }

    // The application's one set.
    static QtTranslations &current();

private:
    void remove();

    std::unique_ptr<QtTextGaps> m_gaps;
    std::unique_ptr<QTranslator> m_translator;
    QString m_installed;
};

} // namespace quillory
