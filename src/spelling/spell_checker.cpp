#include "spell_checker.h"

#include "spelling/spell_dictionary.h"

#include <QCoreApplication>
#include <QThread>
#include <mutex>

namespace quillory::spelling {

SpellChecker::SpellChecker(QList<DictionaryFiles> installed, PersonalWords *personal,
                           QObject *parent)
    : QObject(parent), m_installed(std::move(installed)), m_personal(personal)
{
}

SpellChecker::~SpellChecker()
{
    // A worker only touches what its lambda holds; each one still running
    // (a quick change of language leaves several) is let finish so that no
    // thread outlives the program's objects, and goes with its dictionary.
    for (QThread *loader : findChildren<QThread *>(Qt::FindDirectChildrenOnly))
        loader->wait();
}

bool SpellChecker::setLanguage(const QString &code)
{
    const DictionaryFiles files = pickDictionary(code, m_installed);
    if (files == m_wanted && (m_dictionary || m_loader || files.name.isEmpty()))
        return !files.name.isEmpty();
    m_wanted = files;
    if (m_dictionary) {
        m_dictionary.reset();
        m_answers.clear();
        ++m_generation;
        emit answersChanged();
    }
    if (files.name.isEmpty())
        return false;
    // The thread's end, queued to this thread, already orders the hand-over;
    // the lock makes it visible to the thread sanitizer too, which cannot see
    // into Qt's event queue.
    struct Result {
        std::mutex lock;
        std::shared_ptr<SpellDictionary> dictionary;
    };
    auto result = std::make_shared<Result>();
    QThread *thread = QThread::create([files, result] {
        auto dictionary = std::make_shared<SpellDictionary>();
        if (!dictionary->open(files.affPath, files.dicPath))
            return;
        const std::lock_guard<std::mutex> hold(result->lock);
        result->dictionary = std::move(dictionary);
    });
    connect(thread, &QThread::finished, this, [this, files, result] {
        std::shared_ptr<SpellDictionary> dictionary;
        {
            const std::lock_guard<std::mutex> hold(result->lock);
            dictionary = result->dictionary;
        }
        if (dictionary)
            loaded(files, std::move(dictionary));
    });
    connect(thread, &QThread::finished, thread, &QObject::deleteLater);
    thread->setParent(this);
    m_loader = thread;
    thread->start(QThread::LowPriority);
    return true;
}

void SpellChecker::waitUntilReady()
{
    if (m_loader)
        m_loader->wait();
    // Delivers the worker's finished signal, queued for this object.
    QCoreApplication::sendPostedEvents(this, QEvent::MetaCall);
}

void SpellChecker::loaded(const DictionaryFiles &files, std::shared_ptr<SpellDictionary> dictionary)
{
    // A later choice wins over a dictionary that arrives late.
    if (!(files == m_wanted))
        return;
    m_dictionary = std::move(dictionary);
    m_answers.clear();
    ++m_generation;
    emit answersChanged();
}

bool SpellChecker::isMisspelt(const QString &word) const
{
    if (!m_dictionary || (m_personal && m_personal->contains(word)))
        return false;
    const auto known = m_answers.constFind(word);
    if (known != m_answers.cend())
        return *known;
    bool wrong = !m_dictionary->isCorrect(word);
    // "dell'anno", "l’uomo": Hunspell knows the parts, not always the whole.
    if (wrong && (word.contains(QLatin1Char('\'')) || word.contains(QChar(0x2019)))) {
        QString plain = word;
        plain.replace(QChar(0x2019), QLatin1Char('\''));
        wrong = !m_dictionary->isCorrect(plain);
        if (wrong) {
            const QStringList parts = plain.split(QLatin1Char('\''), Qt::SkipEmptyParts);
            wrong = false;
            for (int i = 0; i < parts.size() && !wrong; ++i) {
                const QString part = parts.at(i);
                wrong = part.size() > 1 && !m_dictionary->isCorrect(part) &&
                        !m_dictionary->isCorrect(part + QLatin1Char('\''));
            }
        }
    }
    m_answers.insert(word, wrong);
    return wrong;
}

QList<WordSpan> SpellChecker::misspeltIn(const QString &paragraph) const
{
    QList<WordSpan> wrong;
    if (!m_dictionary)
        return wrong;
    for (const WordSpan &w : wordsIn(paragraph))
        if (isMisspelt(paragraph.mid(w.start, w.length)))
            wrong.append(w);
    return wrong;
}

QStringList SpellChecker::suggestions(const QString &word, int most) const
{
    return m_dictionary ? m_dictionary->suggestions(word, most) : QStringList();
}

FileResult SpellChecker::addToPersonalWords(const QString &word)
{
    FileResult result = FileResult::failure(QStringLiteral("No personal word list"));
    if (m_personal)
        result = m_personal->add(word);
    m_answers.remove(word);
    ++m_generation;
    emit answersChanged();
    return result;
}

} // namespace quillory::spelling
