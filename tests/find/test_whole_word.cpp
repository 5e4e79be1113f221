// Whole-word search with Unicode letters: the rule itself, and Find (the
// editor's control, used by Find and Find next) and Replace all agreeing on it.
#include "editor/rich_text_box.h"
#include "find/find_rules.h"
#include "platform/text/whole_word.h"

#include <QtTest>

using namespace quillory;

namespace {

struct Case {
    const char *name;
    QString text;
    QString find;
    QList<int> wholeWordHits;
};

QList<Case> cases()
{
    return {
        {"accented letter after", QStringLiteral("cat caté"), QStringLiteral("cat"), {0}},
        {"accented letter before", QStringLiteral("écat cat"), QStringLiteral("cat"), {5}},
        {"combining accent", QStringLiteral("cafe\u0301 cafe"), QStringLiteral("cafe"), {6}},
        {"greek", QStringLiteral("λόγος λόγοςα"), QStringLiteral("λόγος"), {0}},
        {"cyrillic", QStringLiteral("кот котик кот."), QStringLiteral("кот"), {0, 10}},
        {"letter beyond the BMP", QStringLiteral("ab\U0001D49C ab"), QStringLiteral("ab"), {5}},
        {"digits and punctuation separate",
         QStringLiteral("1ab2 ab_ (ab)"),
         QStringLiteral("ab"),
         {1, 5, 10}},
        {"apostrophe separates", QStringLiteral("l'anno"), QStringLiteral("anno"), {2}},
    };
}

// Every hit the editor's Find gives, going on behind each as Find next does.
QList<int> findHits(RichTextBox &box, const QString &find)
{
    QList<int> found;
    int from = 0;
    for (;;) {
        const int hit = box.Find(find, from, findOptions(true, false));
        if (hit < 0)
            return found;
        found.append(hit);
        from = hit + static_cast<int>(find.size());
    }
}

} // namespace

class TestWholeWord : public QObject {
    Q_OBJECT

private slots:
    void lettersOfEveryScriptMakeWords()
    {
        QVERIFY(isWordLetter(U'a'));
        QVERIFY(isWordLetter(U'é'));
        QVERIFY(isWordLetter(U'ß'));
        QVERIFY(isWordLetter(U'λ'));
        QVERIFY(isWordLetter(U'字'));
        QVERIFY(isWordLetter(U'\u0301')); // a combining accent belongs to its letter
        QVERIFY(isWordLetter(U'\U0001D49C'));
        QVERIFY(!isWordLetter(U'1'));
        QVERIFY(!isWordLetter(U'_'));
        QVERIFY(!isWordLetter(U' '));
        QVERIFY(!isWordLetter(U'\''));
        QVERIFY(!isWordLetter(0));
    }

    void codePointsAroundAPosition()
    {
        const QString text = QStringLiteral("a\U0001D49Cb");
        QCOMPARE(codePointBefore(text, 0), char32_t(0));
        QCOMPARE(codePointBefore(text, 3), char32_t(0x1D49C));
        QCOMPARE(codePointAt(text, 1), char32_t(0x1D49C));
        QCOMPARE(codePointAt(text, 4), char32_t(0));
        QVERIFY(!isWholeWordAt(text, 0, 1));
        QVERIFY(isWholeWordAt(QStringLiteral("a b"), 0, 1));
    }

    void findAndReplaceAllAgree_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("find");
        QTest::addColumn<QList<int>>("expected");
        for (const Case &c : cases())
            QTest::newRow(c.name) << c.text << c.find << c.wholeWordHits;
    }

    void findAndReplaceAllAgree()
    {
        QFETCH(QString, text);
        QFETCH(QString, find);
        QFETCH(QList<int>, expected);
        QCOMPARE(replaceAllHits(text, find, QStringLiteral("#"), true, false), expected);
        RichTextBox box;
        box.setPlainText(text);
        QCOMPARE(findHits(box, find), expected);
    }
};

QTEST_MAIN(TestWholeWord)
#include "test_whole_word.moc"
