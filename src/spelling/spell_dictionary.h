#pragma once

#include <QString>
#include <QStringList>
#include <memory>

class Hunspell;

namespace quillory::spelling {

// One Hunspell dictionary (a ".aff" and ".dic" pair). Reads and checks in the
// dictionary's own encoding; words it cannot encode are taken as correct.
// Not shared between threads: it is built on one and then handed over.
class SpellDictionary {
public:
    SpellDictionary();
    ~SpellDictionary();
    SpellDictionary(const SpellDictionary &) = delete;
    SpellDictionary &operator=(const SpellDictionary &) = delete;

    // Loads the pair; false (and no dictionary) when either is missing or
    // unreadable.
    bool open(const QString &affPath, const QString &dicPath);
    bool isOpen() const { return m_hunspell != nullptr; }

    bool isCorrect(const QString &word) const;
    QStringList suggestions(const QString &word, int most) const;
    // Accepts a word for as long as the dictionary is open.
    void accept(const QString &word);

private:
    std::string encoded(const QString &word, bool *ok) const;
    QString decoded(const std::string &bytes) const;

    std::unique_ptr<Hunspell> m_hunspell;
    bool m_utf8 = true;
};

} // namespace quillory::spelling
