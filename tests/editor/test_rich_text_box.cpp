#include "editor/rich_text_box.h"
#include "support/program_home.h"

#include <QPdfWriter>
#include <QRegularExpression>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextList>
#include <QtTest>

#include <sys/stat.h>

using namespace quillory;

class TestRichTextBox : public QObject {
    Q_OBJECT

    static void select(RichTextBox &box, int start, int length)
    {
        box.setSelStart(start);
        box.setSelLength(length);
    }
    static int pdfPages(const QString &path)
    {
        QFile f(path);
        if (!f.open(QIODevice::ReadOnly))
            return -1;
        return static_cast<int>(
            QString::fromLatin1(f.readAll())
                .count(QRegularExpression(QStringLiteral("/Type\\s*/Page[^s]"))));
    }

private slots:
    void selectionOffsetsAndText()
    {
        RichTextBox box;
        box.setText(QStringLiteral("first line\nsecond"));
        select(box, 6, 8);
        QCOMPARE(box.SelStart(), 6);
        QCOMPARE(box.SelLength(), 8);
        QCOMPARE(box.SelText(), QStringLiteral("line\r\nsec"));
        box.setSelText(QStringLiteral("X"));
        QCOMPARE(box.Text(), QStringLiteral("first Xond"));
        select(box, 100, 5); // beyond the end: clamped, never a crash
        QCOMPARE(box.SelStart(), 10);
        QCOMPARE(box.SelLength(), 0);
    }

    void booleanAttributesOverMixedSelections()
    {
        RichTextBox box;
        box.setText(QStringLiteral("bold plain"));
        select(box, 0, 4);
        box.setSelBold(true);
        QCOMPARE(box.SelBold(), std::optional<bool>(true));
        select(box, 0, 10);
        QCOMPARE(box.SelBold(), std::optional<bool>()); // mixed: neither
        box.setSelBold(true);
        QCOMPARE(box.SelBold(), std::optional<bool>(true));
        box.setSelItalic(true);
        box.setSelUnderline(true);
        box.setSelStrikeThru(true);
        select(box, 5, 2);
        QCOMPARE(box.SelItalic(), std::optional<bool>(true));
        QCOMPARE(box.SelUnderline(), std::optional<bool>(true));
        QCOMPARE(box.SelStrikeThru(), std::optional<bool>(true));
        box.setSelStrikeThru(false);
        select(box, 0, 10);
        QCOMPARE(box.SelStrikeThru(), std::optional<bool>());
    }

    void attributesAtTheCaretApplyToWhatIsTypedNext()
    {
        RichTextBox box;
        box.setText(QStringLiteral("ab"));
        select(box, 2, 0);
        box.setSelBold(true);
        box.setSelFontSize(20);
        box.setSelColor(qRgb(200, 0, 0));
        box.textCursor().insertText(QStringLiteral("c"));
        select(box, 2, 1);
        QCOMPARE(box.SelBold(), std::optional<bool>(true));
        QCOMPARE(box.SelFontSize(), std::optional<double>(20));
        QCOMPARE(box.SelColor(), std::optional<QRgb>(qRgb(200, 0, 0) & 0xFFFFFF));
        select(box, 0, 1);
        QCOMPARE(box.SelBold(), std::optional<bool>(false));
        box.setSelFontSize(0); // refused
        QVERIFY(box.SelFontSize().value() > 0);
        box.setSelFontName(QStringLiteral("Courier New"));
        QCOMPARE(box.SelFontName(), std::optional<QString>(QStringLiteral("Courier New")));
    }

    void paragraphAttributes()
    {
        RichTextBox box;
        box.setText(QStringLiteral("one\ntwo\nthree"));
        select(box, 0, 5); // "one" and part of "two"
        box.setSelBullet(true);
        box.setSelAlignment(Qt::AlignHCenter);
        QCOMPARE(box.SelBullet(), std::optional<bool>(true));
        QCOMPARE(box.SelAlignment(), std::optional<Qt::Alignment>(Qt::AlignHCenter));
        select(box, 0, box.Text().size());
        QCOMPARE(box.SelBullet(), std::optional<bool>());
        QCOMPARE(box.SelAlignment(), std::optional<Qt::Alignment>());
        select(box, 0, 5);
        box.setSelBullet(false);
        QCOMPARE(box.SelBullet(), std::optional<bool>(false));
        QCOMPARE(box.document()->firstBlock().textList(), nullptr);
    }

    void findHonoursWholeWordAndCase()
    {
        RichTextBox box;
        box.setText(QStringLiteral("cat cats bobcat Cat."));
        QCOMPARE(box.Find(QStringLiteral("cat"), 0, 0), 0);
        QCOMPARE(box.Find(QStringLiteral("cat"), 1, 0), 4);
        QCOMPARE(box.SelStart(), 4);
        QCOMPARE(box.SelLength(), 3);
        QCOMPARE(box.Find(QStringLiteral("cat"), 1, 2), 16); // whole word, any case
        QCOMPARE(box.Find(QStringLiteral("cat"), 1, 6), -1); // whole word and case
        QCOMPARE(box.Find(QStringLiteral("Cat"), 0, 4), 16);
        QCOMPARE(box.Find(QString(), 0, 0), -1);
        QCOMPARE(box.Find(QStringLiteral("cat"), 99, 0), -1);
    }

    void plainTextFilesOneLinePerParagraph()
    {
        test::ProgramHome home(false);
        RichTextBox box;
        box.setText(QStringLiteral("uno\ndue"));
        QVERIFY(box.SavePlainText(home.file("p.txt")).ok);
        QCOMPARE(home.read("p.txt"), QByteArray("uno\r\ndue\r\n"));
        QVERIFY(box.LoadPlainText(home.file("p.txt")).ok);
        QCOMPARE(box.Text(), QStringLiteral("uno\ndue"));
        QVERIFY(!box.LoadPlainText(home.file("missing.txt")).ok);
        QCOMPARE(box.Text(), QStringLiteral("uno\ndue"));
    }

    void oddFilesAreRefusedAndLongLinesCutWithANotice()
    {
        test::ProgramHome home(false);
        RichTextBox box;
        box.setText(QStringLiteral("kept"));
        // A FIFO would block the read forever; a device never ends.
        const QString fifo = home.file("pipe.rtf");
        QCOMPARE(::mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
        QVERIFY(!box.LoadFile(fifo).ok);
        QVERIFY(!box.LoadPlainText(QStringLiteral("/dev/zero")).ok);
        QCOMPARE(box.Text(), QStringLiteral("kept"));

        // A file far beyond a transcript's size is refused with its limit named.
        {
            QFile huge(home.file("huge.txt"));
            QVERIFY(huge.open(QIODevice::WriteOnly));
            QVERIFY(huge.resize(17 * 1024 * 1024)); // sparse: costs no disk
        }
        const FileResult tooLarge = box.LoadPlainText(home.file("huge.txt"));
        QVERIFY(!tooLarge.ok);
        QVERIFY2(tooLarge.reason.contains(QStringLiteral("16 MB")), qPrintable(tooLarge.reason));
        QCOMPARE(box.Text(), QStringLiteral("kept"));

        // One line of 30,000 characters opens in pieces, every character kept.
        const QByteArray line = QByteArray("word ").repeated(6000);
        home.write("line.txt", line + "\nlast\n");
        const FileResult cut = box.LoadPlainText(home.file("line.txt"));
        QVERIFY(cut.ok);
        QVERIFY2(cut.reason.contains(QStringLiteral("10000")), qPrintable(cut.reason));
        QCOMPARE(box.document()->blockCount(), 4);
        QCOMPARE(box.Text().remove(u'\n'), QString::fromLatin1(line) + QStringLiteral("last"));
    }

    void printsTheSelectionOrEverything()
    {
        test::ProgramHome home(false);
        RichTextBox box;
        QStringList lines;
        for (int i = 0; i < 300; ++i)
            lines << QStringLiteral("Paragraph %1 of the transcript.").arg(i);
        box.setText(lines.join(QLatin1Char('\n')));
        {
            QPdfWriter all(home.file("all.pdf"));
            box.SelPrint(&all);
        }
        select(box, 0, 9);
        {
            QPdfWriter part(home.file("part.pdf"));
            box.SelPrint(&part);
        }
        QVERIFY(pdfPages(home.file("all.pdf")) > 1);
        QCOMPARE(pdfPages(home.file("part.pdf")), 1);
    }
};

QTEST_MAIN(TestRichTextBox)
#include "test_rich_text_box.moc"
