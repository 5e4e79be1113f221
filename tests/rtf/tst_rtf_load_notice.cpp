// What the editor's control tells about a file it had to change while loading.

#include "editor/rich_text_box.h"
#include "i18n/captions.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>
#include <QTextCursor>

class RtfLoadNoticeTest : public QObject {
    Q_OBJECT

private slots:
    void footnotesAreToldOnceWithTheLoad()
    {
        QTemporaryDir dir;
        QVERIFY(dir.isValid());
        const auto write = [&dir](const QString &name, const QByteArray &data) {
            QFile file(dir.filePath(name));
            return file.open(QIODevice::WriteOnly) && file.write(data) == data.size();
        };
        QVERIFY(write("notes.rtf", "{\\rtf1 A{\\footnote one}B{\\footnote two}\\par}"));
        QVERIFY(write("plain.rtf", "{\\rtf1 A\\chftn B\\par}"));
        QVERIFY(write("damaged.rtf", "{\\rtf1 A{\\footnote one}B{"));
        quillory::Captions::current().clear();
        quillory::Captions::current().loadFromText(
            QStringLiteral("rtf.footnotesAsText=Notes became text."));

        RichTextBox box;
        quillory::FileResult result = box.LoadFile(dir.filePath("notes.rtf"));
        QVERIFY(result);
        QCOMPARE(result.reason, QStringLiteral("Notes became text."));
        QCOMPARE(box.Text(), QStringLiteral("A[1: one]B[2: two]"));

        result = box.LoadFile(dir.filePath("plain.rtf"));
        QVERIFY(result);
        QVERIFY(result.reason.isEmpty());

        result = box.LoadFile(dir.filePath("damaged.rtf"));
        QVERIFY(result);
        const QStringList lines = result.reason.split(u'\n');
        QCOMPARE(lines.size(), 2);
        QVERIFY(lines[0].contains(QLatin1String("truncated")));
        QCOMPARE(lines[1], QStringLiteral("Notes became text."));
        quillory::Captions::current().clear();
    }

    void boldOfTheBarIsBoldOfTheFile()
    {
        RichTextBox box;
        QTextCharFormat demiBold;
        demiBold.setFontWeight(QFont::DemiBold);
        QTextCursor(box.document()).insertText(QStringLiteral("heavy"), demiBold);
        box.selectAll();
        QCOMPARE(box.SelBold(), std::optional<bool>(true));
        box.setTextRTF(box.TextRTF());
        box.selectAll();
        QCOMPARE(box.SelBold(), std::optional<bool>(true));
    }
};

QTEST_MAIN(RtfLoadNoticeTest)
#include "tst_rtf_load_notice.moc"
