#pragma once

#include "spelling/personal_words.h"
#include "spelling/spell_checker.h"

#include <QObject>
#include <functional>

class QAction;
class QActionGroup;
class QMenu;
class QTextEdit;
class SpellUnderline;

// The editor's spelling check: the Tools menu's on/off item and language
// list (both kept in Preferences.ini as "spelling.enabled" and
// "spelling.language"), the underline, and the suggestions at the top of the
// text box's right-click menu. The dictionary is the transcript's language
// where its file names one that is installed, else the chosen one, else the
// interface language's. Choosing one also makes it the transcript's language.
class EditorSpelling : public QObject {
    Q_OBJECT
public:
    EditorSpelling(QTextEdit *text, QAction *onOff, QMenu *toolsMenu,
                   QList<quillory::spelling::DictionaryFiles> installed,
                   const QString &personalWordsPath);
    ~EditorSpelling() override;

    // Captions and, when it follows the interface, the dictionary.
    void applyLanguage(const QString &interfaceLanguageFile);
    // Puts the suggestions for the misspelt word at `position` (if any) and
    // "Add to dictionary" at the top of `menu`.
    void addSuggestions(QMenu *menu, int position);

    quillory::spelling::SpellChecker &checker() { return m_checker; }
    SpellUnderline &underline() { return *m_underline; }
    QMenu *languageMenu() const { return m_languageMenu; }

    // The transcript's own language (a Windows language identifier, 0 for none).
    void followDocument(int language);

private:
    void chooseDictionary(const QString &name);
    void followLanguage();
    void checkLanguageItem(const QString &dictionary);

    QTextEdit *m_text;
    QAction *m_onOff;
    quillory::spelling::PersonalWords m_personal;
    quillory::spelling::SpellChecker m_checker;
    SpellUnderline *m_underline;
    QMenu *m_languageMenu;
    QActionGroup *m_languages;
    QAction *m_interfaceLanguage;
    QString m_interfaceFile;
    int m_documentLanguage = 0;
};
