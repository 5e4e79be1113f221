// The font a transcript starts in is a real one: the boxes show it, typing
// uses it, a saved file names it; and the boxes follow the caret.
#include "editor/transcript_font.h"
#include "editor_rig.h"

#include <QComboBox>
#include <QFile>
#include <QFontDatabase>
#include <QFontInfo>
#include <QtTest>

using namespace quillory;
using namespace quillory::test;

class TestTranscriptFont : public QObject {
    Q_OBJECT

private slots:
    void anInstalledFamilyIsChosen()
    {
        QCOMPARE(
            TranscriptFont::familyFrom({QStringLiteral("DejaVu Sans"), QStringLiteral("arial")}),
            QStringLiteral("arial"));
        QCOMPARE(TranscriptFont::familyFrom(
                     {QStringLiteral("DejaVu Sans"), QStringLiteral("Liberation Sans")}),
                 QStringLiteral("Liberation Sans"));
        QCOMPARE(TranscriptFont::familyFrom({QStringLiteral("Zapfino"), QStringLiteral("Ubuntu")}),
                 QStringLiteral("Zapfino"));
        QCOMPARE(TranscriptFont::familyFrom({}), QStringLiteral("Arial"));

        const QFont font = TranscriptFont::font();
        QVERIFY(QFontDatabase::families().contains(font.family()));
        QCOMPARE(font.pointSize(), TranscriptFont::PointSize);
        // What is drawn is the family named, not a fallback.
        QCOMPARE(QFontInfo(font).family(), font.family());
    }

    void sizesAsTheBoxWritesThem()
    {
        QCOMPARE(TranscriptFont::sizeText(12), QStringLiteral("12"));
        QCOMPARE(TranscriptFont::sizeText(10.5), QStringLiteral("10.5"));
        QCOMPARE(TranscriptFont::sizeText(0), QString());
    }

    void aNewTranscriptIsTypedSavedAndShownInIt()
    {
        EditorRig rig;
        const QString family = TranscriptFont::font().family();
        QCOMPARE(rig.fontBox()->currentText(), family);
        QCOMPARE(rig.sizeBox()->currentText(), QStringLiteral("12"));
        QTest::keyClicks(&rig.rtb(), QStringLiteral("hello"));
        rig.select(0, 5);
        QCOMPARE(rig.rtb().SelFontName(), std::optional<QString>(family));
        QCOMPARE(rig.rtb().SelFontSize(), std::optional<double>(12));

        const QString path = rig.home.file(QStringLiteral("t.rtf"));
        QVERIFY(rig.rtb().SaveFile(path).ok);
        QFile file(path);
        QVERIFY(file.open(QIODevice::ReadOnly));
        const QByteArray rtf = file.readAll();
        QVERIFY2(rtf.contains(" " + family.toLatin1() + ";}"), rtf.constData());
        QVERIFY(rtf.contains("\\fs24"));
        QVERIFY(!rtf.contains("Sans Serif"));
    }

    void boxesFollowTheCaret()
    {
        EditorRig rig;
        const QString family = TranscriptFont::font().family();
        const QStringList all = QFontDatabase::families();
        const QString other = all.first() == family ? all.last() : all.first();
        rig.type(QStringLiteral("plain other"));
        rig.select(6, 5);
        rig.rtb().setSelFontName(other);
        rig.rtb().setSelFontSize(20);

        QTextCursor c = rig.rtb().textCursor();
        c.setPosition(8);
        rig.rtb().setTextCursor(c);
        QCOMPARE(rig.fontBox()->currentText(), other);
        QCOMPARE(rig.sizeBox()->currentText(), QStringLiteral("20"));
        c.setPosition(2);
        rig.rtb().setTextCursor(c);
        QCOMPARE(rig.fontBox()->currentText(), family);
        QCOMPARE(rig.sizeBox()->currentText(), QStringLiteral("12"));
        // A selection over both fonts names neither.
        rig.select(0, 11);
        QCOMPARE(rig.fontBox()->currentText(), QString());
        QCOMPARE(rig.sizeBox()->currentText(), QString());
    }
};

QTEST_MAIN(TestTranscriptFont)
#include "test_transcript_font.moc"
