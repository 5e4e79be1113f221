// Which parts of a paragraph are words to check, and which installed
// dictionary a language gets.
#include "spelling/installed_dictionaries.h"
#include "spelling/word_scanner.h"

#include <QTemporaryDir>
#include <QtTest>

using namespace quillory::spelling;

namespace {

QStringList wordTexts(const QString &paragraph)
{
    QStringList out;
    for (const WordSpan &w : wordsIn(paragraph))
        out << paragraph.mid(w.start, w.length);
    return out;
}

void touch(const QString &path)
{
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
}

} // namespace

class TestSpellingWords : public QObject {
    Q_OBJECT
private slots:
    void wordsOfProse_data()
    {
        QTest::addColumn<QString>("paragraph");
        QTest::addColumn<QStringList>("words");
        QTest::newRow("plain") << "The cat sat." << QStringList{"The", "cat", "sat"};
        QTest::newRow("accents") << "Perché così è" << QStringList{"Perché", "così"};
        QTest::newRow("apostrophe") << "dell'anno l’uomo" << QStringList{"dell'anno", "l’uomo"};
        QTest::newRow("hyphen") << "well-known -dash" << QStringList{"well-known", "dash"};
        QTest::newRow("quotes") << "\"Hello,\" (she) said" << QStringList{"Hello", "she", "said"};
        QTest::newRow("digits") << "3rd mp3 track 12" << QStringList{"track"};
        QTest::newRow("addresses")
            << "mail a@b.it or www.example.com now" << QStringList{"mail", "or", "now"};
        QTest::newRow("empty") << "" << QStringList{};
    }
    void wordsOfProse()
    {
        QFETCH(QString, paragraph);
        QFETCH(QStringList, words);
        QCOMPARE(wordTexts(paragraph), words);
    }

    void timestampsAreNeverWords()
    {
        // Every format the editor writes, alone and inside a sentence.
        for (const QString &stamp :
             {QStringLiteral("[01:23]"), QStringLiteral("[0:01:23]"),
              QStringLiteral("[00:01:23.4]"), QStringLiteral("#00:01:23-4#")}) {
            QVERIFY2(wordsIn(stamp).isEmpty(), qPrintable(stamp));
            QCOMPARE(wordTexts(stamp + QStringLiteral("Speaker: hello ") + stamp),
                     (QStringList{"Speaker", "hello"}));
        }
    }

    void spansPointIntoTheParagraph()
    {
        const QString text = QStringLiteral("  ab  cd");
        QCOMPARE(wordsIn(text), (QList<WordSpan>{{2, 2}, {6, 2}}));
    }

    void dictionariesFoundAndPicked()
    {
        QTemporaryDir first, second;
        for (const char *name : {"it_IT", "it_CH", "de_AT", "en_GB"}) {
            touch(first.filePath(QString::fromLatin1(name) + QStringLiteral(".aff")));
            touch(first.filePath(QString::fromLatin1(name) + QStringLiteral(".dic")));
        }
        touch(first.filePath(QStringLiteral("fr_FR.aff"))); // no .dic: not a dictionary
        touch(second.filePath(QStringLiteral("it_IT.aff")));
        touch(second.filePath(QStringLiteral("it_IT.dic")));
        const QList<DictionaryFiles> found = findDictionaries({first.path(), second.path()});
        QStringList names;
        for (const DictionaryFiles &d : found)
            names << d.name;
        QCOMPARE(names, (QStringList{"de_AT", "en_GB", "it_CH", "it_IT"}));
        QCOMPARE(found.at(3).dicPath, first.filePath(QStringLiteral("it_IT.dic")));

        QCOMPARE(pickDictionary(QStringLiteral("it"), found).name, QStringLiteral("it_IT"));
        QCOMPARE(pickDictionary(QStringLiteral("it_CH"), found).name, QStringLiteral("it_CH"));
        // No main country installed: any dictionary of the language.
        QCOMPARE(pickDictionary(QStringLiteral("de"), found).name, QStringLiteral("de_AT"));
        QCOMPARE(pickDictionary(QStringLiteral("en"), found).name, QStringLiteral("en_GB"));
        QVERIFY(pickDictionary(QStringLiteral("fr"), found).name.isEmpty());
        QVERIFY(pickDictionary(QString(), found).name.isEmpty());
        QCOMPARE(languageOf(QStringLiteral("de_DE")), QStringLiteral("de"));
        QCOMPARE(languageOf(QStringLiteral("fr")), QStringLiteral("fr"));
    }
};

QTEST_GUILESS_MAIN(TestSpellingWords)
#include "test_spelling_words.moc"
