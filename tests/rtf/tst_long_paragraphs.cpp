#include "rtf/long_paragraphs.h"

#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QtTest>

using namespace quillory;

namespace {

QStringList paragraphs(const QTextDocument &doc)
{
    QStringList texts;
    for (QTextBlock block = doc.begin(); block.isValid(); block = block.next())
        texts << block.text();
    return texts;
}

} // namespace

class TestLongParagraphs : public QObject {
    Q_OBJECT

private slots:
    void cutsAfterTheLastSpaceWithinTheLimit()
    {
        QTextDocument doc;
        doc.setPlainText(QStringLiteral("short\naaa bbb ccc ddd eee\nend"));
        QCOMPARE(cutLongParagraphs(&doc, 9), 1);
        QCOMPARE(paragraphs(doc), (QStringList{QStringLiteral("short"), QStringLiteral("aaa bbb "),
                                               QStringLiteral("ccc ddd "), QStringLiteral("eee"),
                                               QStringLiteral("end")}));
    }

    void cutsAtTheLimitWhereAPieceHasNoSpace()
    {
        QTextDocument doc;
        doc.setPlainText(QString(25, u'x') + QStringLiteral("\ny"));
        QCOMPARE(cutLongParagraphs(&doc, 10), 1);
        QCOMPARE(paragraphs(doc), (QStringList{QString(10, u'x'), QString(10, u'x'),
                                               QString(5, u'x'), QStringLiteral("y")}));
    }

    void leavesShortParagraphsAndSurrogatePairsWhole()
    {
        QTextDocument doc;
        doc.setPlainText(QStringLiteral("exactly10!\nok"));
        QCOMPARE(cutLongParagraphs(&doc, 10), 0);
        QCOMPARE(doc.blockCount(), 2);

        // U+1F600 is two UTF-16 units; a cut between them would break the character.
        const QString emoji = QString::fromUcs4(U"\U0001F600");
        QTextDocument pairs;
        pairs.setPlainText(QStringLiteral("abc") + emoji + emoji);
        QVERIFY(cutLongParagraphs(&pairs, 4) > 0);
        for (const QString &piece : paragraphs(pairs)) {
            QVERIFY2(!piece.back().isHighSurrogate(), qPrintable(piece));
            QVERIFY2(!piece.front().isLowSurrogate(), qPrintable(piece));
        }
        QCOMPARE(paragraphs(pairs).join(QString()), QStringLiteral("abc") + emoji + emoji);
    }

    void piecesKeepTheirFormatsAndNoCharacterIsLost()
    {
        QTextDocument doc;
        QTextCursor cursor(&doc);
        QTextBlockFormat centred;
        centred.setAlignment(Qt::AlignHCenter);
        cursor.setBlockFormat(centred);
        QTextCharFormat bold;
        bold.setFontWeight(QFont::Bold);
        QString typed;
        for (int i = 0; i < 500; ++i) {
            const QString word = QStringLiteral("word%1 ").arg(i);
            cursor.insertText(word, i % 2 ? bold : QTextCharFormat());
            typed += word;
        }
        QVERIFY(cutLongParagraphs(&doc, 100) == 1);
        QVERIFY(doc.blockCount() > 30);
        QCOMPARE(paragraphs(doc).join(QString()), typed);
        int boldWords = 0;
        for (QTextBlock block = doc.begin(); block.isValid(); block = block.next()) {
            QVERIFY(block.length() - 1 <= 100);
            QCOMPARE(block.blockFormat().alignment(), Qt::AlignHCenter);
            for (auto it = block.begin(); !it.atEnd(); ++it)
                if (it.fragment().charFormat().fontWeight() == QFont::Bold)
                    boldWords += int(it.fragment().text().count(u' '));
        }
        QCOMPARE(boldWords, 250);
    }

    void aMegabyteLineIsCutIntoPiecesOfTheDefaultLength()
    {
        QTextDocument doc;
        doc.setPlainText(QStringLiteral("lorem ipsum ").repeated(100000));
        QCOMPARE(cutLongParagraphs(&doc), 1);
        // Pieces of 833 whole "lorem ipsum " (9,996 characters): 1,200,000 / 9,996 -> 121.
        QCOMPARE(doc.blockCount(), 121);
        for (QTextBlock block = doc.begin(); block.isValid(); block = block.next())
            QVERIFY(block.length() - 1 <= LongestParagraph);
    }
};

QTEST_MAIN(TestLongParagraphs)
#include "tst_long_paragraphs.moc"
