// The spelling check against the installed Hunspell dictionaries: misspelt
// words in each of the five languages, suggestions, the personal word list,
// and a language without a dictionary.
#include "platform/files/text_file.h"
#include "spelling/spell_checker.h"
#include "spelling/spell_dictionary.h"

#include <QSignalSpy>
#include <QTemporaryDir>
#include <QtTest>

using namespace quillory;
using namespace quillory::spelling;

namespace {

QStringList wrongWords(const SpellChecker &checker, const QString &paragraph)
{
    QStringList out;
    for (const WordSpan &w : checker.misspeltIn(paragraph))
        out << paragraph.mid(w.start, w.length);
    return out;
}

} // namespace

class TestSpellChecker : public QObject {
    Q_OBJECT
private:
    QList<DictionaryFiles> m_installed = findDictionaries(systemDictionaryFolders());

private slots:
    void eachLanguageFindsItsErrors_data()
    {
        QTest::addColumn<QString>("code");
        QTest::addColumn<QString>("paragraph");
        QTest::addColumn<QStringList>("wrong");
        QTest::newRow("en") << "en"
                            << "[00:01:23.4] The recordng was clear." << QStringList{"recordng"};
        QTest::newRow("it") << "it"
                            << "[01:23] Il testimone ha dettto che l'uomo era lì."
                            << QStringList{"dettto"};
        QTest::newRow("de") << "de"
                            << "#00:01:23-4# Der Zeuge sagte, dass es reegnete."
                            << QStringList{"reegnete"};
        QTest::newRow("es") << "es"
                            << "[0:01:23] El testigo dijo que llovíaa." << QStringList{"llovíaa"};
        QTest::newRow("fr") << "fr"
                            << "Le témoin a dit qu'il pleuvvait." << QStringList{"pleuvvait"};
    }
    void eachLanguageFindsItsErrors()
    {
        QFETCH(QString, code);
        QFETCH(QString, paragraph);
        QFETCH(QStringList, wrong);
        if (pickDictionary(code, m_installed).name.isEmpty())
            QSKIP("dictionary not installed (scripts/install-deps.sh installs it)");
        SpellChecker checker(m_installed, nullptr);
        QSignalSpy changed(&checker, &SpellChecker::answersChanged);
        QVERIFY(checker.setLanguage(code));
        // Until the dictionary is there, nothing is called wrong.
        if (!checker.isReady())
            QVERIFY(checker.misspeltIn(paragraph).isEmpty());
        checker.waitUntilReady();
        QVERIFY(checker.isReady());
        QCOMPARE(changed.count(), 1);
        QCOMPARE(wrongWords(checker, paragraph), wrong);
        // Asked again, from the remembered answers.
        QCOMPARE(wrongWords(checker, paragraph), wrong);
        QVERIFY(!checker.suggestions(wrong.first()).isEmpty());
    }

    void suggestionsOfferTheWord()
    {
        if (pickDictionary(QStringLiteral("en"), m_installed).name.isEmpty())
            QSKIP("en_US not installed");
        SpellChecker checker(m_installed, nullptr);
        checker.setLanguage(QStringLiteral("en"));
        checker.waitUntilReady();
        QVERIFY(
            checker.suggestions(QStringLiteral("recordng")).contains(QStringLiteral("recording")));
        QVERIFY(checker.suggestions(QStringLiteral("recordng"), 1).size() <= 1);
    }

    void personalWordsAreNeverWrongAndAreKept()
    {
        if (pickDictionary(QStringLiteral("en"), m_installed).name.isEmpty())
            QSKIP("en_US not installed");
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("PersonalWords.txt"));
        QVERIFY(writeTextLines(path, {QStringLiteral("Quillory"), QStringLiteral("# a note"),
                                      QStringLiteral("Quillory")})
                    .ok);
        PersonalWords personal(path);
        personal.load();
        QCOMPARE(personal.words(), QStringList{QStringLiteral("Quillory")});
        SpellChecker checker(m_installed, &personal);
        checker.setLanguage(QStringLiteral("en"));
        checker.waitUntilReady();
        const QString text = QStringLiteral("Quillory plays Zorblatt's file");
        QCOMPARE(wrongWords(checker, text), QStringList{QStringLiteral("Zorblatt's")});

        QSignalSpy changed(&checker, &SpellChecker::answersChanged);
        QVERIFY(checker.addToPersonalWords(QStringLiteral("Zorblatt's")).ok);
        QCOMPARE(changed.count(), 1);
        QVERIFY(wrongWords(checker, text).isEmpty());
        // Written at once, one word a line, and read back by a new list.
        PersonalWords again(path);
        again.load();
        QCOMPARE(again.words(), (QStringList{"Quillory", "Zorblatt's"}));
        QVERIFY(!again.add(QStringLiteral("two\nlines")).ok);
        QVERIFY(!again.add(QStringLiteral("  ")).ok);
    }

    void failedWriteKeepsTheWordForTheSession()
    {
        PersonalWords personal(QStringLiteral("/proc/no-such-folder/PersonalWords.txt"));
        personal.load();
        const FileResult result = personal.add(QStringLiteral("Quillory"));
        QVERIFY(!result.ok);
        QVERIFY(!result.reason.isEmpty());
        QVERIFY(personal.contains(QStringLiteral("Quillory")));
    }

    void languageWithoutDictionary()
    {
        SpellChecker checker(m_installed, nullptr);
        QVERIFY(!checker.setLanguage(QStringLiteral("xx")));
        QVERIFY(checker.dictionaryName().isEmpty());
        checker.waitUntilReady();
        QVERIFY(!checker.isReady());
        QVERIFY(checker.misspeltIn(QStringLiteral("anyy wordd")).isEmpty());
    }

    void switchingLanguageDropsTheOldAnswers()
    {
        if (pickDictionary(QStringLiteral("en"), m_installed).name.isEmpty() ||
            pickDictionary(QStringLiteral("it"), m_installed).name.isEmpty())
            QSKIP("en_US or it_IT not installed");
        SpellChecker checker(m_installed, nullptr);
        checker.setLanguage(QStringLiteral("en"));
        checker.waitUntilReady();
        QVERIFY(!checker.isMisspelt(QStringLiteral("house")));
        QVERIFY(checker.isMisspelt(QStringLiteral("casa")) == false ||
                checker.isMisspelt(QStringLiteral("perché")));
        checker.setLanguage(QStringLiteral("it"));
        checker.waitUntilReady();
        QCOMPARE(checker.dictionaryName(), QStringLiteral("it_IT"));
        QVERIFY(!checker.isMisspelt(QStringLiteral("perché")));
        QVERIFY(checker.isMisspelt(QStringLiteral("house")));
    }

    void missingFilesOpenNothing()
    {
        SpellDictionary dictionary;
        QVERIFY(!dictionary.open(QStringLiteral("/nonexistent.aff"),
                                 QStringLiteral("/nonexistent.dic")));
        QVERIFY(!dictionary.isOpen());
        QVERIFY(dictionary.isCorrect(QStringLiteral("anything")));
        QVERIFY(dictionary.suggestions(QStringLiteral("anything"), 5).isEmpty());
    }
};

QTEST_GUILESS_MAIN(TestSpellChecker)
#include "test_spell_checker.moc"
