#include "editor/editor_layout.h"
#include "editor/formatting_bar.h"
#include "editor/transcript_font.h"
#include "editor_rig.h"

#include <QComboBox>
#include <QFile>
#include <QFontDatabase>
#include <QLabel>
#include <QLineEdit>
#include <QRegularExpression>
#include <QtTest>

using namespace quillory;
using test::EditorRig;

// The formatting bar, the font boxes, colour, printing and the window's layout.
class TestForm2Format : public QObject {
    Q_OBJECT

    static int pdfPages(const QString &path)
    {
        QFile f(path);
        if (!f.open(QIODevice::ReadOnly))
            return -1;
        return int(QString::fromLatin1(f.readAll())
                       .count(QRegularExpression(QStringLiteral("/Type\\s*/Page[^s]"))));
    }
    static bool showAndActivate(Form2 &editor)
    {
        editor.show();
        editor.activateWindow();
        return QTest::qWaitForWindowActive(&editor);
    }

private slots:
    void togglesOnMixedSelectionsAndTheFocusRule()
    {
        EditorRig rig;
        QVERIFY(showAndActivate(*rig.editor));
        rig.type(QStringLiteral("half bold"));
        rig.select(0, 4);
        rig.editor->Label2_Click(4);
        rig.select(0, 9); // partly bold
        rig.fontBox()->setFocus();
        rig.editor->Label2_Click(4);
        QCOMPARE(rig.rtb().SelBold(), std::optional<bool>(true)); // all of it
        QVERIFY(rig.rtb().hasFocus());
        rig.editor->Label2_Click(4);
        QCOMPARE(rig.rtb().SelBold(), std::optional<bool>(false));

        for (int index : {5, 6, 7, 14}) {
            rig.editor->Label2_Click(index);
            rig.editor->Label2_Click(index);
        }
        QCOMPARE(rig.rtb().SelItalic(), std::optional<bool>(false));
        rig.editor->Label2_Click(7);
        QCOMPARE(rig.rtb().SelStrikeThru(), std::optional<bool>(true));
        rig.editor->Label2_Click(14);
        QCOMPARE(rig.rtb().SelBullet(), std::optional<bool>(true));

        rig.fontBox()->setFocus();
        rig.editor->Label2_Click(10);
        QCOMPARE(rig.rtb().SelAlignment(), std::optional<Qt::Alignment>(Qt::AlignRight));
        QVERIFY(rig.rtb().hasFocus());
        rig.editor->Label2_Click(9);
        QCOMPARE(rig.rtb().SelAlignment(), std::optional<Qt::Alignment>(Qt::AlignHCenter));
        rig.editor->Label2_Click(8);
        QCOMPARE(rig.rtb().SelAlignment(), std::optional<Qt::Alignment>(Qt::AlignLeft));

        // Size steps and colour leave the focus where it is.
        rig.fontBox()->setFocus();
        rig.editor->Label2_Click(11);
        QVERIFY(rig.fontBox()->hasFocus());
    }

    void sizeStepsAndTheSizeBox()
    {
        EditorRig rig;
        rig.type(QStringLiteral("sized text"));
        rig.select(0, 5);
        rig.rtb().setSelFontSize(12);
        rig.editor->Label2_Click(11);
        QCOMPARE(rig.rtb().SelFontSize(), std::optional<double>(13));
        rig.editor->Label2_Click(12);
        rig.editor->Label2_Click(12);
        QCOMPARE(rig.rtb().SelFontSize(), std::optional<double>(11));
        rig.select(0, 10); // mixed sizes: no step
        const QString before = rig.rtb().toHtml();
        rig.editor->Label2_Click(11);
        QCOMPARE(rig.rtb().toHtml(), before);

        QComboBox *box = rig.sizeBox();
        QCOMPARE(box->count(), int(EditorLayout::fontSizeList().size()));
        QCOMPARE(EditorLayout::fontSizeList(),
                 (QStringList{"5",  "6",  "7",  "8",  "9",  "10", "11", "12", "13", "14", "15",
                              "16", "18", "20", "22", "24", "26", "28", "36", "48", "72"}));
        QCOMPARE(box->currentText(), QString()); // the selection mixes sizes
        rig.select(0, 5);
        QCOMPARE(box->currentText(), QStringLiteral("11"));
        for (const char *typed : {"abc", "0", "-"}) {
            box->lineEdit()->clear();
            QTest::keyClicks(box->lineEdit(), QString::fromLatin1(typed));
            QCOMPARE(rig.rtb().SelFontSize(), std::optional<double>(11));
        }
        box->lineEdit()->clear();
        QTest::keyClicks(box->lineEdit(), QStringLiteral("13")); // not in the list, still applies
        QCOMPARE(rig.rtb().SelFontSize(), std::optional<double>(13));
        box->setEditText(QStringLiteral("2000")); // more than the file can store
        rig.editor->Combo2_Change();
        QCOMPARE(rig.rtb().SelFontSize(), std::optional<double>(13));
        box->setCurrentIndex(box->findText(QStringLiteral("48")));
        emit box->activated(box->currentIndex());
        QCOMPARE(rig.rtb().SelFontSize(), std::optional<double>(48));
    }

    void fontBoxAppliesOnlyPickedNames()
    {
        EditorRig rig;
        QComboBox *box = rig.fontBox();
        QCOMPARE(box->count(), int(QFontDatabase::families().size()));
        QCOMPARE(box->currentText(), TranscriptFont::font().family());
        rig.type(QStringLiteral("font"));
        rig.select(0, 4);
        const std::optional<QString> before = rig.rtb().SelFontName();
        box->lineEdit()->clear();
        QTest::keyClicks(box->lineEdit(), QStringLiteral("No Such Font Family"));
        QCOMPARE(rig.rtb().SelFontName(), before);
        QVERIFY(box->count() > 0);
        const int pick = box->count() - 1;
        box->setCurrentIndex(pick);
        emit box->activated(pick);
        QCOMPARE(rig.rtb().SelFontName(), std::optional<QString>(box->itemText(pick)));
    }

    void colourChosenOrCancelled()
    {
        EditorRig rig;
        rig.type(QStringLiteral("colour"));
        rig.select(0, 6);
        rig.rtb().setSelColor(qRgb(0, 0, 200));
        rig.editor->Label2_Click(13); // cancelled
        QCOMPARE(rig.colours.shown, 1);
        QCOMPARE(rig.colours.lastOwner, static_cast<QWidget *>(rig.editor.get()));
        QCOMPARE(rig.colours.lastInitial, qRgb(0, 0, 0)); // a fresh dialog: black
        QCOMPARE(rig.rtb().SelColor(), std::optional<QRgb>(0x0000c8));
        rig.colours.pick = qRgb(255, 0, 0);
        rig.editor->Label2_Click(13);
        QCOMPARE(rig.rtb().SelColor(), std::optional<QRgb>(0xff0000));
    }

    void printingTheSelectionOrTheWhole()
    {
        EditorRig rig;
        QStringList lines;
        for (int i = 0; i < 200; ++i)
            lines << QStringLiteral("Line %1 of a transcript long enough for several pages").arg(i);
        rig.rtb().setText(lines.join(QLatin1Char('\n')));

        rig.editor->mnuStampa_Click(); // cancelled: nothing printed
        QVERIFY(!QFile::exists(rig.printers.pdfPath()));
        QCOMPARE(rig.printers.dialogStarts.size(), 1);
        QCOMPARE(rig.printers.dialogStarts.first().deviceName, QStringLiteral("Office Laser"));

        rig.printers.dialog = [](const PrinterSetup &start) { return start; };
        rig.editor->Label2_Click(3);
        rig.printers.device.reset();
        const int whole = pdfPages(rig.printers.pdfPath());
        QVERIFY2(whole > 1, qPrintable(QString::number(whole)));

        rig.select(0, 20);
        rig.editor->Label2_Click(3);
        rig.printers.device.reset();
        QCOMPARE(pdfPages(rig.printers.pdfPath()), 1);
    }

    void hoverFrameFollowsTheMouse()
    {
        EditorRig rig;
        auto framed = [&] {
            QList<int> on;
            for (int i = 0; i < 15; ++i)
                if (rig.clickArea(i)->hasBorder())
                    on << i;
            return on;
        };
        rig.editor->Label2_MouseMove(3);
        QCOMPARE(framed(), QList<int>{3});
        QTest::mouseMove(rig.clickArea(5));
        QMouseEvent move(QEvent::MouseMove, QPointF(3, 3), QPointF(3, 3), Qt::NoButton,
                         Qt::NoButton, Qt::NoModifier);
        QApplication::sendEvent(rig.clickArea(5), &move);
        QCOMPARE(framed(), QList<int>{5});
        QMouseEvent overPage(QEvent::MouseMove, QPointF(20, 20), QPointF(20, 20), Qt::NoButton,
                             Qt::NoButton, Qt::NoModifier);
        QApplication::sendEvent(rig.page(), &overPage);
        QCOMPARE(framed(), QList<int>{});
    }

    void clickAreaClickRunsItsCommand()
    {
        EditorRig rig;
        rig.type(QStringLiteral("x"));
        rig.select(0, 1);
        QTest::mouseClick(rig.clickArea(4), Qt::LeftButton);
        QCOMPARE(rig.rtb().SelBold(), std::optional<bool>(true));
    }

    void layoutOfTheBarAndTheResizeRule()
    {
        EditorRig rig;
        Form2 &e = *rig.editor;
        QCOMPARE(rig.part<IconStrip>(QStringLiteral("Image1"))->geometry(), QRect(10, 4, 461, 26));
        for (int k = 0; k < 4; ++k) {
            QCOMPARE(rig.letter(k)->x(), rig.clickArea(k + 4)->x());
            QCOMPARE(rig.letter(k)->y(), 6);
        }
        QCOMPARE(rig.clickArea(14)->geometry(), QRect(440, 2, 29, 29));
        QCOMPARE(rig.fontBox()->pos(), QPoint(478, 6));
        QCOMPARE(rig.sizeBox()->pos(), QPoint(664, 6));
        QCOMPARE(rig.page()->pos(), QPoint(10, 32));
        QCOMPARE(rig.rtb().pos(), QPoint(34, 46));

        const EditorLayout::Sizes s = EditorLayout::resizeRule(10800, 7200, 0, 0);
        QCOMPARE(s.label1Width, 10800 - 420);
        QCOMPARE(s.label1Height, 7200 - 1460);
        QCOMPARE(s.rtbWidth, 10800 - 420 - 510);
        QCOMPARE(s.rtbHeight, 7200 - 1460 - 380);
        const EditorLayout::Sizes tiny = EditorLayout::resizeRule(300, 1500, 6000, 3000);
        QCOMPARE(tiny.label1Width, -1); // refused: the page keeps its width
        QCOMPARE(tiny.rtbWidth, 6000 - 510);
        QCOMPARE(tiny.label1Height, 40);
        QCOMPARE(tiny.rtbHeight, -1);

        e.show(); // a hidden window gets its resize events when shown
        e.resize(900, 600);
        QCoreApplication::processEvents();
        const int pageWidth = rig.page()->width();
        e.resize(1000, 700);
        QCoreApplication::processEvents();
        QCOMPARE(rig.page()->width(), pageWidth + 100);
        QCOMPARE(rig.rtb().width(), rig.page()->width() - 34);
        QCOMPARE(rig.page()->pos(), QPoint(10, 32)); // the page and the text do not move
        e.resize(20, 20);
        QCoreApplication::processEvents();
        QVERIFY(rig.page()->width() >= 0 && rig.rtb().height() >= 0);
    }

    void placementAndNames()
    {
        EditorRig rig;
        rig.editor->placeBelow(QRect(50, 0, 400, 120));
        QCOMPARE(rig.editor->pos(), QPoint(50, 120));
        QList<QWidget *> controls{&rig.rtb(), rig.part<IconStrip>(QStringLiteral("Image1")),
                                  rig.fontBox(), rig.sizeBox(), rig.page()};
        for (int i = 0; i < 15; ++i)
            controls << rig.clickArea(i);
        for (int k = 0; k < 4; ++k)
            controls << rig.letter(k);
        for (QWidget *w : controls) {
            QVERIFY2(!w->objectName().isEmpty(), "object name");
            QVERIFY2(!w->accessibleName().isEmpty(), qPrintable(w->objectName()));
        }
        QCOMPARE(rig.clickArea(0)->accessibleName(),
                 QString(rig.language.T(42)).remove(QLatin1Char('&')));
    }
};

QTEST_MAIN(TestForm2Format)
#include "test_form2_format.moc"
