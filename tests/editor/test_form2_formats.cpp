// The editor's files in other formats: subtitles opened as timestamped
// paragraphs, Save keeping the document's format, and the one question before
// a format that drops formatting.
#include "editor_rig.h"

#include <QDir>
#include <QTest>
#include <QTextBlock>

using namespace quillory;
using namespace quillory::test;

class TestForm2Formats : public QObject {
    Q_OBJECT
    std::unique_ptr<EditorRig> rig;

    QStringList paragraphs()
    {
        QStringList out;
        for (QTextBlock b = rig->rtb().document()->begin(); b.isValid(); b = b.next())
            out << b.text();
        return out;
    }
    void makeBold(int start, int length)
    {
        QTextCursor c(rig->rtb().document());
        c.setPosition(start);
        c.setPosition(start + length, QTextCursor::KeepAnchor);
        QTextCharFormat bold;
        bold.setFontWeight(QFont::Bold);
        c.mergeCharFormat(bold);
    }

private slots:
    void init() { rig = std::make_unique<EditorRig>(); }
    void cleanup() { rig.reset(); }

    void subtitlesOpenAsTimestampedParagraphsWithOneNotice()
    {
        // Made elsewhere: a BOM, CR LF, a missing blank line, a number out of order.
        rig->home.write("in.srt", "\xEF\xBB\xBF"
                                  "1\r\n00:00:01,200 --> 00:00:02,000\r\n<i>Hello</i>\r\n"
                                  "1\r\n00:00:03,000 --> 00:00:04,000\r\nThere\r\n");
        rig->editor->OpenDocument(rig->home.file("in.srt"));
        QCOMPARE(paragraphs(), (QStringList{"[00:01] Hello", "[00:03] There"}));
        QCOMPARE(rig->fakes.messages.shown.size(), 1);
        QVERIFY(rig->fakes.messages.shown.first().text.contains(QLatin1String("line 5")));
        QCOMPARE(rig->editor->DocumentPath(), rig->home.file("in.srt"));
        QVERIFY(!rig->editor->DocumentModified());
        QTextCursor hello(rig->rtb().document());
        hello.setPosition(10);
        QVERIFY(hello.charFormat().fontItalic());
        // The timestamp is one the editor plays from (no media here: a beep).
        QVERIFY(rig->editor->playTimestampAt(2));
        QCOMPARE(rig->fakes.messages.beeps, 1);

        // Save writes the subtitle format back, with no question: it keeps italics.
        rig->type(QStringLiteral(" again"));
        rig->editor->mnuSalva_Click();
        QVERIFY(!rig->editor->DocumentModified());
        QCOMPARE(rig->fakes.messages.shown.size(), 1);
        const QByteArray saved = rig->home.read("in.srt");
        QVERIFY2(saved.startsWith("1\r\n00:00:01,000 --> 00:00:03,000\r\n<i>Hello</i>\r\n"),
                 saved.constData());
        QVERIFY(saved.contains("There again"));
    }

    void asksOnceBeforeAFormatThatDropsFormatting()
    {
        rig->type(QStringLiteral("[00:02] Bold words"));
        makeBold(8, 4);
        const QString path = rig->home.file("plain.txt");
        rig->fakes.fileDialogs.choose(path);
        rig->fakes.messages.answers = {MsgResult::Yes};
        rig->editor->mnuSalvaConNome_Click();
        QCOMPARE(rig->fakes.messages.shown.size(), 1);
        QVERIFY(rig->fakes.messages.shown.first().text.contains(QLatin1String("TXT")));
        QCOMPARE(rig->home.read("plain.txt"), QByteArray("[00:02] Bold words\r\n"));

        // Saved again in the same format: no second question.
        rig->type(QStringLiteral(" more"));
        rig->editor->mnuSalva_Click();
        QCOMPARE(rig->fakes.messages.shown.size(), 1);
        QCOMPARE(rig->home.read("plain.txt"), QByteArray("[00:02] Bold words more\r\n"));

        // A "No" writes nothing and leaves the text unsaved.
        rig->editor->mnuNuovo_Click();
        rig->type(QStringLiteral("x"));
        makeBold(0, 1);
        rig->fakes.fileDialogs.choose(rig->home.file("other.txt"));
        rig->editor->mnuSalvaConNome_Click(); // the fake answers No
        QVERIFY(!QFile::exists(rig->home.file("other.txt")));
        QVERIFY(rig->editor->DocumentModified());
    }

    void saveAsTypesWriteTheirOwnFormats()
    {
        rig->type(QStringLiteral("[00:01] a\n[00:03] b"));
        for (const char *name : {"t.vtt", "t.odt", "t.rtf"}) {
            rig->fakes.fileDialogs.choose(rig->home.file(QString::fromLatin1(name)));
            rig->type(QStringLiteral("."));
            rig->editor->mnuSalvaConNome_Click();
            QVERIFY(!rig->editor->DocumentModified());
        }
        QVERIFY(rig->home.read("t.vtt").startsWith("WEBVTT\n\n00:00:01.000 --> 00:00:03.000\na\n"));
        QVERIFY(rig->home.read("t.odt").startsWith("PK"));
        QVERIFY(rig->home.read("t.rtf").startsWith("{\\rtf"));
        const QStringList types = rig->fakes.fileDialogs.requests.last().filterPairs;
        QVERIFY(types.contains(QLatin1String("*.srt")) && types.contains(QLatin1String("*.odt")));
        QCOMPARE(rig->fakes.messages.shown.size(), 0);

        // An OpenDocument file is not read: the text stays, and the user is told.
        const QString before = rig->rtb().Text();
        rig->editor->OpenDocument(rig->home.file("t.odt"));
        QCOMPARE(rig->rtb().Text(), before);
        QCOMPARE(rig->fakes.messages.shown.size(), 1);
        QCOMPARE(rig->editor->DocumentPath(), rig->home.file("t.rtf"));
    }
};

QTEST_MAIN(TestForm2Formats)
#include "test_form2_formats.moc"
