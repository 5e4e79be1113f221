#include "editor/paste_filter.h"
#include "editor/rich_text_box.h"
#include "rtf/format_runs.h"
#include "rtf/rtf_reader.h"

#include <QMimeData>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextFrame>
#include <QTextList>
#include <QtTest>

using namespace quillory;

// Pasted content is what a save keeps: the screen and the file agree.
class TestPasteFilter : public QObject {
    Q_OBJECT

    static QStringList runs(const QTextDocument &doc)
    {
        QStringList lines;
        for (const FormatRun &run : formatRuns(doc))
            lines << describeRun(run);
        return lines;
    }
    // The document as a save and a reopen give it back.
    static QStringList runsAfterSaving(const RichTextBox &box)
    {
        QTextDocument reread;
        reread.setDefaultFont(box.document()->defaultFont());
        readRtf(box.TextRTF(), &reread);
        return runs(reread);
    }
    // Looks that a save could not keep, anywhere in the document.
    static QStringList unsavable(const QTextDocument &doc)
    {
        QStringList found;
        if (!doc.rootFrame()->childFrames().isEmpty())
            found << QStringLiteral("table or frame");
        for (QTextBlock b = doc.begin(); b.isValid(); b = b.next()) {
            if (b.textList() && b.textList()->format().style() != QTextListFormat::ListDisc)
                found << QStringLiteral("numbered list");
            if (b.blockFormat().background().style() != Qt::NoBrush)
                found << QStringLiteral("paragraph background");
            for (auto it = b.begin(); !it.atEnd(); ++it) {
                const QTextCharFormat f = it.fragment().charFormat();
                if (f.isImageFormat() ||
                    it.fragment().text().contains(QChar::ObjectReplacementCharacter))
                    found << QStringLiteral("picture");
                if (f.isAnchor() || !f.anchorHref().isEmpty())
                    found << QStringLiteral("link");
                if (f.background().style() != Qt::NoBrush)
                    found << QStringLiteral("highlight");
                if (f.verticalAlignment() != QTextCharFormat::AlignNormal)
                    found << QStringLiteral("raised text");
            }
        }
        return found;
    }

private slots:
    void aWebPageComesInAsItWillBeSaved()
    {
        RichTextBox box;
        box.setText(QStringLiteral("Before: "));
        box.moveCursor(QTextCursor::End);
        QMimeData mime;
        mime.setHtml(QStringLiteral(
            "<h1>Title</h1>"
            "<p>Some <b>bold</b>, <i>italic</i>, <u>under</u>, <s>gone</s>, "
            "<span style='font-weight:600'>semi</span> "
            "<span style='background:yellow'>highlighted</span> and a "
            "<a href='http://example.org/'>link</a><sup>1</sup>.</p>"
            "<p align=center style='margin-left:40px'><font color=#c00000 face='Courier New' "
            "style='font-size:18px'>red centred</font><img src='data:image/png;base64,"
            "iVBORw0KGgoAAAANSUhEUgAAAAEAAAABCAYAAAAfFcSJAAAADUlEQVR42mP8z8DwHwAFBQIAX8jx0gAAAABJRU"
            "5ErkJggg=='>"
            "</p>"
            "<table border=1><tr><td>cell one</td><td>cell two</td></tr>"
            "<tr><td>three</td><td><b>four</b></td></tr></table>"
            "<ol><li>first</li><li>second</li></ol>"));
        QSignalSpy changes(&box, &RichTextBox::Change);
        box.pasteMimeData(&mime);
        QCOMPARE(changes.count(), 1); // one paste, one undo step

        QCOMPARE(unsavable(*box.document()), QStringList());
        const QString text = box.Text();
        QVERIFY2(text.contains(QStringLiteral("cell one\tcell two")), qPrintable(text));
        QVERIFY(text.contains(QStringLiteral("three\tfour")));
        QVERIFY(text.contains(QStringLiteral("a link1.")));
        QVERIFY(text.startsWith(QStringLiteral("Before: Title")));
        QTextBlock item = box.document()->lastBlock();
        QCOMPARE(item.text(), QStringLiteral("second"));
        QVERIFY(item.textList()); // the numbered list became bullets
        QCOMPARE(item.textList()->format().style(), QTextListFormat::ListDisc);
        QCOMPARE(runs(*box.document()), runsAfterSaving(box));
    }

    void boldAndSizesAreThoseTheFileStores()
    {
        QTextDocument doc;
        doc.setDefaultFont(QFont(QStringLiteral("Arial"), 12));
        QTextCharFormat in;
        in.setFontWeight(600);
        in.setProperty(QTextFormat::FontPixelSize, 20);
        in.setFontUnderline(true);
        in.setUnderlineStyle(QTextCharFormat::WaveUnderline);
        in.setBackground(Qt::yellow);
        in.setAnchor(true);
        in.setAnchorHref(QStringLiteral("http://x"));
        const QTextCharFormat out = savableCharFormat(in, doc);
        QCOMPARE(out.fontWeight(), int(QFont::Bold));
        QCOMPARE(out.fontPointSize(), 15.0);
        QCOMPARE(out.underlineStyle(), QTextCharFormat::SingleUnderline);
        QCOMPARE(out.background().style(), Qt::NoBrush);
        QVERIFY(!out.isAnchor());
        QTextCharFormat huge;
        huge.setFontPointSize(5000.3);
        QCOMPARE(savableCharFormat(huge, doc).fontPointSize(), 1638.0);
        QVERIFY(!savableCharFormat(QTextCharFormat(), doc).hasProperty(QTextFormat::FontWeight));
    }

    void plainTextTakesTheFormattingAtTheCaret()
    {
        RichTextBox box;
        box.setText(QStringLiteral("x"));
        box.moveCursor(QTextCursor::End);
        box.setSelBold(true);
        QMimeData mime;
        mime.setText(QStringLiteral("one\r\ntwo\x01"));
        box.pasteMimeData(&mime);
        QCOMPARE(box.Text(), QStringLiteral("xone\ntwo"));
        QTextCursor c(box.document()->findBlockByNumber(1));
        c.movePosition(QTextCursor::NextCharacter);
        QVERIFY(c.charFormat().fontWeight() >= QFont::Bold);
    }

    void picturesAloneAreNotTaken()
    {
        RichTextBox box;
        QMimeData mime;
        QImage image(4, 4, QImage::Format_RGB32);
        image.fill(Qt::red);
        mime.setImageData(image);
        box.pasteMimeData(&mime);
        QCOMPARE(box.Text(), QString());
        QCOMPARE(unsavable(*box.document()), QStringList());
    }
};

QTEST_MAIN(TestPasteFilter)
#include "test_paste_filter.moc"
