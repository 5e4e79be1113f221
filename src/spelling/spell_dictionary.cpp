#include "spell_dictionary.h"

#include <QFileInfo>
#include <hunspell.hxx>

namespace quillory::spelling {

SpellDictionary::SpellDictionary() = default;
SpellDictionary::~SpellDictionary() = default;

bool SpellDictionary::open(const QString &affPath, const QString &dicPath)
{
    m_hunspell.reset();
    // Hunspell reports a missing file only on stderr and then accepts nothing.
    if (!QFileInfo(affPath).isFile() || !QFileInfo(dicPath).isFile())
        return false;
    auto hunspell = std::make_unique<Hunspell>(QFile::encodeName(affPath).constData(),
                                               QFile::encodeName(dicPath).constData());
    const QString encoding = QString::fromStdString(hunspell->get_dict_encoding()).toUpper();
    m_utf8 = encoding.isEmpty() || encoding == QLatin1String("UTF-8");
    m_hunspell = std::move(hunspell);
    return true;
}

std::string SpellDictionary::encoded(const QString &word, bool *ok) const
{
    *ok = true;
    if (m_utf8)
        return word.toStdString();
    // The 8-bit dictionaries shipped today are Latin letters only.
    for (QChar c : word)
        if (c.unicode() > 0xFF)
            *ok = false;
    return word.toLatin1().toStdString();
}

QString SpellDictionary::decoded(const std::string &bytes) const
{
    return m_utf8 ? QString::fromStdString(bytes)
                  : QString::fromLatin1(bytes.data(), qsizetype(bytes.size()));
}

bool SpellDictionary::isCorrect(const QString &word) const
{
    if (!m_hunspell)
        return true;
    bool ok = false;
    const std::string bytes = encoded(word, &ok);
    return !ok || m_hunspell->spell(bytes);
}

QStringList SpellDictionary::suggestions(const QString &word, int most) const
{
    QStringList out;
    if (!m_hunspell)
        return out;
    bool ok = false;
    const std::string bytes = encoded(word, &ok);
    if (!ok)
        return out;
    for (const std::string &s : m_hunspell->suggest(bytes)) {
        if (out.size() >= most)
            break;
        out << decoded(s);
    }
    return out;
}

void SpellDictionary::accept(const QString &word)
{
    bool ok = false;
    const std::string bytes = encoded(word, &ok);
    if (m_hunspell && ok)
        m_hunspell->add(bytes);
}

} // namespace quillory::spelling
