// The search and replace rules on plain lines and on the rich document.
#include "find/find_rules.h"
#include "find/replace_all.h"

#include <QSignalSpy>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QtTest>

using namespace quillory;

namespace {

QList<int> hits(const QString &line, const QString &find, bool wholeWord, bool matchCase,
                const QString &replacement = QStringLiteral("X"))
{
    return replaceAllHits(line, find, replacement, wholeWord, matchCase);
}

QTextCharFormat bold()
{
    QTextCharFormat f;
    f.setFontWeight(QFont::Bold);
    return f;
}

QTextCharFormat formatAt(QTextDocument &doc, int position)
{
    QTextCursor c(&doc);
    c.setPosition(position + 1);
    return c.charFormat();
}

int replaceAll(QTextDocument &doc, const QString &find, const QString &replacement,
               bool wholeWord = false, bool matchCase = false)
{
    return replaceAllInDocument(doc, {find, replacement, wholeWord, matchCase});
}

} // namespace

class TestFindRules : public QObject {
    Q_OBJECT

private slots:
    void blanksLineBreaksAndHistory()
    {
        QCOMPARE(trimBlanks(QStringLiteral("  a b\t ")), QStringLiteral("a b\t"));
        QCOMPARE(trimBlanks(QStringLiteral("   ")), QString());

        bool cut = false;
        QCOMPARE(firstLine(QStringLiteral("one\r\ntwo"), &cut), QStringLiteral("one"));
        QVERIFY(cut);
        QCOMPARE(firstLine(QStringLiteral("one\ntwo\r\n"), &cut), QStringLiteral("one"));
        QVERIFY(cut);
        QCOMPARE(firstLine(QStringLiteral("a\u2029b"), &cut), QStringLiteral("a"));
        QVERIFY(cut);
        QCOMPARE(firstLine(QStringLiteral("one line"), &cut), QStringLiteral("one line"));
        QVERIFY(!cut);

        const QStringList items{QStringLiteral("Cat"), QStringLiteral(" dog ")};
        QVERIFY(joinsHistory(items, QStringLiteral("cat"))); // case counts
        QVERIFY(!joinsHistory(items, QStringLiteral("Cat")));
        QVERIFY(!joinsHistory(items, QStringLiteral(" dog ")));
        QVERIFY(joinsHistory(items, QStringLiteral("dog")));
        QVERIFY(!joinsHistory(items, QStringLiteral("   ")));
        QVERIFY(!joinsHistory({}, QString()));
    }

    void wholeWordsAreMadeOfLetters()
    {
        const QString line = QStringLiteral("cat cats bobcat cat.");
        QCOMPARE(hits(line, QStringLiteral("cat"), true, false), (QList<int>{0, 16}));
        QCOMPARE(hits(line, QStringLiteral("cat"), false, false), (QList<int>{0, 4, 12, 16}));
        // Digits separate words; accented letters belong to them.
        QCOMPARE(hits(QStringLiteral("cat1 cat\u00e8 cats"), QStringLiteral("cat"), true, false),
                 (QList<int>{0}));
        QCOMPARE(
            hits(QStringLiteral("1cat \u00e9cat _cat xcat"), QStringLiteral("cat"), true, false),
            (QList<int>{1, 11}));
    }

    void caseAndShortLines()
    {
        const QString line = QStringLiteral("abc ABC aBc");
        QCOMPARE(hits(line, QStringLiteral("abc"), false, false), (QList<int>{0, 4, 8}));
        QCOMPARE(hits(line, QStringLiteral("abc"), false, true), (QList<int>{0}));
        QCOMPARE(hits(line, QStringLiteral("ABC"), true, true), (QList<int>{4}));
        QCOMPARE(hits(QStringLiteral("a"), QStringLiteral("a"), true, true), (QList<int>{0}));
        QCOMPARE(hits(QStringLiteral("a"), QStringLiteral("ab"), false, false), QList<int>());
        QCOMPARE(hits(QString(), QStringLiteral("a"), false, false), QList<int>());
        QCOMPARE(hits(QStringLiteral("abc"), QString(), false, false), QList<int>());
        // Hits never overlap: the scan goes on behind each one.
        QCOMPARE(hits(QStringLiteral("aaaaa"), QStringLiteral("aa"), false, false),
                 (QList<int>{0, 2}));
    }

    void wholeWordSeesTheChangedLine()
    {
        // After "-" became "a", the next "-" follows a letter.
        QCOMPARE(hits(QStringLiteral("--"), QStringLiteral("-"), true, false, QStringLiteral("a")),
                 (QList<int>{0}));
        QCOMPARE(hits(QStringLiteral("--"), QStringLiteral("-"), true, false, QStringLiteral("+")),
                 (QList<int>{0, 1}));
        // An empty replacement leaves the character before the deleted text.
        QCOMPARE(hits(QStringLiteral("--"), QStringLiteral("-"), true, false, QString()),
                 (QList<int>{0, 1}));
        QCOMPARE(hits(QStringLiteral("b--"), QStringLiteral("-"), true, false, QString()),
                 (QList<int>{2}));
    }

    void replacementsKeepTheFormattingAround()
    {
        QTextDocument doc;
        QTextCursor c(&doc);
        c.insertText(QStringLiteral("The "));
        c.insertText(QStringLiteral("big cat"), bold()); // 4..10
        c.insertText(QStringLiteral(" sat on the cat mat"), QTextCharFormat());
        c.insertBlock();
        QTextBlockFormat centred;
        centred.setAlignment(Qt::AlignHCenter);
        c.setBlockFormat(centred);
        QTextCharFormat redItalic;
        redItalic.setFontItalic(true);
        redItalic.setForeground(QColor(200, 0, 0));
        c.insertText(QStringLiteral("cat"), redItalic);

        QCOMPARE(replaceAll(doc, QStringLiteral("cat"), QStringLiteral("tiger")), 3);
        QCOMPARE(doc.toPlainText(), QStringLiteral("The big tiger sat on the tiger mat\ntiger"));
        QCOMPARE(doc.blockCount(), 2);                              // no line end is added
        QCOMPARE(formatAt(doc, 4).fontWeight(), int(QFont::Bold));  // "big" still bold
        QCOMPARE(formatAt(doc, 8).fontWeight(), int(QFont::Bold));  // replaced bold word
        QCOMPARE(formatAt(doc, 12).fontWeight(), int(QFont::Bold)); // all of it
        QVERIFY(formatAt(doc, 13).fontWeight() != QFont::Bold);     // " sat" plain
        QVERIFY(formatAt(doc, 25).fontWeight() != QFont::Bold);     // plain replaced stays plain
        const QTextBlock second = doc.lastBlock();
        QCOMPARE(second.blockFormat().alignment() & Qt::AlignHorizontal_Mask,
                 Qt::Alignment(Qt::AlignHCenter));
        QVERIFY(formatAt(doc, second.position()).fontItalic());
        QCOMPARE(formatAt(doc, second.position() + 4).foreground().color(), QColor(200, 0, 0));
    }

    void aReplacementTakesTheFormatOfItsFirstCharacter()
    {
        QTextDocument doc;
        QTextCursor c(&doc);
        c.insertText(QStringLiteral("ab"), bold());
        c.insertText(QStringLiteral("cd"), QTextCharFormat());
        QCOMPARE(replaceAll(doc, QStringLiteral("bc"), QStringLiteral("XY")), 1);
        QCOMPARE(doc.toPlainText(), QStringLiteral("aXYd"));
        QCOMPARE(formatAt(doc, 1).fontWeight(), int(QFont::Bold));
        QCOMPARE(formatAt(doc, 2).fontWeight(), int(QFont::Bold));
        QVERIFY(formatAt(doc, 3).fontWeight() != QFont::Bold);
    }

    void offsetsHoldOnTheTenthLine()
    {
        QTextDocument doc;
        QStringList lines;
        for (int i = 1; i <= 12; ++i)
            lines << QStringLiteral("line %1 says %2").arg(i).arg(i == 10 ? "hello" : "nothing");
        doc.setPlainText(lines.join(QLatin1Char('\n')));
        QTextCursor c(&doc);
        const int tenth = doc.findBlockByNumber(9).position();
        c.setPosition(tenth + 13);
        c.setPosition(tenth + 18, QTextCursor::KeepAnchor);
        c.setCharFormat(bold());

        QCOMPARE(replaceAll(doc, QStringLiteral("hello"), QStringLiteral("goodbye")), 1);
        QCOMPARE(doc.findBlockByNumber(9).text(), QStringLiteral("line 10 says goodbye"));
        QCOMPARE(doc.findBlockByNumber(8).text(), QStringLiteral("line 9 says nothing"));
        QCOMPARE(doc.findBlockByNumber(10).text(), QStringLiteral("line 11 says nothing"));
        // The new word sits exactly where the old one was, in its format.
        for (int i = 0; i < 7; ++i)
            QCOMPARE(formatAt(doc, tenth + 13 + i).fontWeight(), int(QFont::Bold));
        QVERIFY(formatAt(doc, tenth + 12).fontWeight() != QFont::Bold);
    }

    void matchesStayInsideTheirLine()
    {
        QTextDocument doc;
        doc.setPlainText(QStringLiteral("xab\ncx"));
        QCOMPARE(replaceAll(doc, QStringLiteral("abc"), QStringLiteral("-")), 0);
        QTextCursor c(&doc);
        c.movePosition(QTextCursor::End);
        c.insertText(QStringLiteral("\u2028cat\u2028cats"));
        QCOMPARE(replaceAll(doc, QStringLiteral("cat"), QStringLiteral("dog"), true), 1);
        QCOMPARE(doc.lastBlock().text(), QStringLiteral("cx\u2028dog\u2028cats"));
        QCOMPARE(replaceAll(doc, QStringLiteral("x\u2028d"), QStringLiteral("-")), 0);
    }

    void oneEditOneUndo()
    {
        QTextDocument doc;
        QTextCursor c(&doc);
        c.insertText(QStringLiteral("cat and "));
        c.insertText(QStringLiteral("cat"), bold());
        c.insertBlock();
        c.insertText(QStringLiteral("a cat"));
        const QString before = doc.toPlainText();
        doc.documentLayout(); // as in the editor: change signals need a layout
        QSignalSpy changes(&doc, &QTextDocument::contentsChange);
        QCOMPARE(replaceAll(doc, QStringLiteral("CAT"), QString()), 3);
        QCOMPARE(doc.toPlainText(), QStringLiteral(" and \na "));
        QCOMPARE(changes.count(), 1);
        doc.undo();
        QCOMPARE(doc.toPlainText(), before);
        QCOMPARE(formatAt(doc, 8).fontWeight(), int(QFont::Bold));
    }

    void insertedTextIsNotSearchedAgain()
    {
        QTextDocument doc;
        doc.setPlainText(QStringLiteral("aXa\na"));
        QCOMPARE(replaceAll(doc, QStringLiteral("a"), QStringLiteral("aa")), 3);
        QCOMPARE(doc.toPlainText(), QStringLiteral("aaXaa\naa"));
        QCOMPARE(replaceAll(doc, QString(), QStringLiteral("z")), 0);
        QCOMPARE(doc.toPlainText(), QStringLiteral("aaXaa\naa"));
    }

    void progressRisesToTheEnd()
    {
        QTextDocument doc;
        QStringList lines;
        for (int i = 0; i < 3000; ++i)
            lines << QStringLiteral("the cat and the dog");
        doc.setPlainText(lines.join(QLatin1Char('\n')));
        QList<int> seen;
        const int count = replaceAllInDocument(doc, {QStringLiteral("the"), QStringLiteral("a")},
                                               [&seen](int p) { seen << p; });
        QCOMPARE(count, 6000);
        QVERIFY(seen.size() > 4);
        QVERIFY(std::is_sorted(seen.begin(), seen.end()));
        QCOMPARE(seen.first(), 0);
        QCOMPARE(seen.last(), 1000);
        QVERIFY(seen[seen.size() / 2] > 0 && seen[seen.size() / 2] < 1000);
    }

    void longDocumentsKeepTheirPageSize()
    {
        QTextDocument doc;
        doc.documentLayout();
        const QString paragraph = QStringLiteral("the cat and the dog, ") + QString(80, 'x');
        QStringList lines;
        for (int i = 0; i < 6000; ++i)
            lines << paragraph;
        doc.setPlainText(lines.join(QLatin1Char('\n')));
        QVERIFY(doc.characterCount() > 600000);
        doc.setPageSize(QSizeF(400, 600));
        QSignalSpy changes(&doc, &QTextDocument::contentsChange);
        QCOMPARE(replaceAll(doc, QStringLiteral("the"), QStringLiteral("THE")), 12000);
        QCOMPARE(doc.pageSize(), QSizeF(400, 600));
        QCOMPARE(changes.count(), 1);
        QCOMPARE(doc.findBlockByNumber(5999).text(),
                 QStringLiteral("THE cat and THE dog, ") + QString(80, 'x'));
        QVERIFY(doc.size().height() > 600); // laid out again
    }

    void replacingARangeWithALineBreak()
    {
        QTextDocument doc;
        QTextCursor c(&doc);
        c.insertText(QStringLiteral("one "));
        c.insertText(QStringLiteral("two"), bold());
        c.insertText(QStringLiteral(" three"), QTextCharFormat());
        QTextCursor edit(&doc);
        replaceKeepingFormat(edit, 4, 3, QStringLiteral("2\r\n"));
        QCOMPARE(doc.toPlainText(), QStringLiteral("one 2\n three"));
        QCOMPARE(doc.blockCount(), 2);
        QCOMPARE(edit.position(), 6);
        QVERIFY(!edit.hasSelection());
        QCOMPARE(formatAt(doc, 4).fontWeight(), int(QFont::Bold));
        // Out-of-range requests are clamped, never a crash.
        replaceKeepingFormat(edit, 500, 10, QStringLiteral("!"));
        QCOMPARE(doc.toPlainText(), QStringLiteral("one 2\n three!"));
    }
};

QTEST_MAIN(TestFindRules)
#include "test_find_rules.moc"
