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
// text box's right-click menu. With no language chosen the dictionary is the
// interface language's.
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

private:
    void chooseDictionary(const QString &name);
    void followLanguage();

    QTextEdit *m_text;
    QAction *m_onOff;
    quillory::spelling::PersonalWords m_personal;
    quillory::spelling::SpellChecker m_checker;
    SpellUnderline *m_underline;
    QMenu *m_languageMenu;
    QActionGroup *m_languages;
    QAction *m_interfaceLanguage;
    QString m_interfaceFile;
};
