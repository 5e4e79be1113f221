#pragma once

#include "platform/files/text_file.h"
#include "spelling/installed_dictionaries.h"
#include "spelling/personal_words.h"
#include "spelling/word_scanner.h"

#include <QHash>
#include <QObject>
#include <QPointer>
#include <memory>

class QThread;

namespace quillory::spelling {

class SpellDictionary;

// Which words of a text are misspelt, in one language at a time. The
// dictionary loads on a worker thread (a large one takes a noticeable part of
// a second), so choosing a language never holds the window; until it is
// there every word counts as correct. Each word's answer is remembered, so a
// paragraph checked again costs lookups in a table.
class SpellChecker : public QObject {
    Q_OBJECT
public:
    explicit SpellChecker(QList<DictionaryFiles> installed, PersonalWords *personal,
                          QObject *parent = nullptr);
    ~SpellChecker() override;

    const QList<DictionaryFiles> &installed() const { return m_installed; }
    // Starts loading the dictionary for `code` (see pickDictionary); false
    // when none is installed for it (nothing is then underlined). Choosing the
    // one loaded or loading already does nothing.
    bool setLanguage(const QString &code);
    // The dictionary chosen ("it_IT"), loaded or not; empty when none.
    QString dictionaryName() const { return m_wanted.name; }
    bool isReady() const { return m_dictionary != nullptr; }
    // Blocks until the dictionary chosen has loaded (for tests and tools).
    void waitUntilReady();

    bool isMisspelt(const QString &word) const;
    QList<WordSpan> misspeltIn(const QString &paragraph) const;
    QStringList suggestions(const QString &word, int most = 7) const;
    // Puts the word in the personal list, which is saved at once.
    FileResult addToPersonalWords(const QString &word);
    // Increases whenever an earlier answer may no longer hold (a dictionary
    // arrived, a word was added), so callers know to check again.
    int generation() const { return m_generation; }

signals:
    // Earlier answers may have changed: check what is shown again.
    void answersChanged();

private:
    void loaded(const DictionaryFiles &files, std::shared_ptr<SpellDictionary> dictionary);

    QList<DictionaryFiles> m_installed;
    PersonalWords *m_personal;
    DictionaryFiles m_wanted;
    std::shared_ptr<SpellDictionary> m_dictionary;
    QPointer<QThread> m_loader;
    mutable QHash<QString, bool> m_answers;
    int m_generation = 0;
};

} // namespace quillory::spelling
