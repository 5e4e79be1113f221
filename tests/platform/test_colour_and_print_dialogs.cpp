#include "dialogs/print_dialog.h"
#include "dialogs/show_color.h"
#include "support/fake_dialogs.h"

#include <QtTest>

using namespace quillory;
using test::FakeColorDialogs;
using test::FakePrintSystem;

// The colour and print dialog classes over their system dialogs' doubles.
class TestColourAndPrintDialogs : public QObject {
    Q_OBJECT

private slots:
    void colourCancelKeepsTheResult()
    {
        FakeColorDialogs dialogs;
        ShowColor colour(&dialogs);
        QCOMPARE(colour.CustomColors(), QByteArray(64, '\0'));
        colour.RGBResult = 0x123456;
        colour.Show();
        QVERIFY(colour.ColorAnnulla());
        QCOMPARE(colour.RGBResult, std::uint32_t(0x123456));
        QCOMPARE(dialogs.lastInitial, qRgb(0x56, 0x34, 0x12)); // red in the low byte
    }

    void colourConfirmedGivesRedInTheLowByte()
    {
        FakeColorDialogs dialogs;
        dialogs.pick = qRgb(255, 0, 0);
        ShowColor colour(&dialogs);
        colour.Show();
        QVERIFY(!colour.ColorAnnulla());
        QCOMPARE(colour.RGBResult, std::uint32_t(255));
        dialogs.pick.reset();
        colour.Show(); // a later cancel sets the flag again
        QVERIFY(colour.ColorAnnulla());
        QCOMPARE(colour.RGBResult, std::uint32_t(255));
    }

    void customColoursRoundTrip()
    {
        FakeColorDialogs dialogs;
        std::array<QRgb, 16> after{};
        after[0] = qRgb(1, 2, 3);
        after[15] = qRgb(250, 128, 7);
        dialogs.pick = qRgb(0, 0, 0);
        dialogs.customAfter = after;
        ShowColor colour(&dialogs);
        colour.setCustomColors(QByteArray("\x10\x20\x30", 3)); // padded with blanks
        colour.Show();
        QCOMPARE(dialogs.lastCustom[0], qRgb(0x10, 0x20, 0x30));
        QCOMPARE(dialogs.lastCustom[1], qRgb(' ', ' ', ' '));
        const QByteArray block = colour.CustomColors();
        QCOMPARE(block.size(), 64);
        QCOMPARE(block.left(4), QByteArray("\x01\x02\x03\x00", 4));
        QCOMPARE(block.mid(60), QByteArray("\xfa\x80\x07\x00", 4));
        colour.setCustomColors(QByteArray(80, 'x'));
        QCOMPARE(colour.CustomColors(), QByteArray(64, 'x')); // cut to 64
        ShowColor noDialog(nullptr);
        noDialog.Show();
        QVERIFY(noDialog.ColorAnnulla());
    }

    void printerPreselectedByPartOfItsName()
    {
        FakePrintSystem printers;
        PrintDialog dialog(&printers);
        dialog.ShowPrinter(nullptr, QStringLiteral("pdf"), PrintDialog::PrintSetup);
        QCOMPARE(printers.dialogStarts.last().deviceName, QStringLiteral("PDF Writer"));
        // Cancelled: the printer current on entry is current again.
        QCOMPARE(printers.currentPrinterName(), QStringLiteral("Office Laser"));
    }

    void anotherPrinterAndItsSettingsBecomeCurrent()
    {
        FakePrintSystem printers;
        printers.dialog = [](const PrinterSetup &start) {
            PrinterSetup chosen = start;
            chosen.deviceName = QStringLiteral("Label Printer");
            chosen.copies = 3;
            chosen.orientation = QPageLayout::Landscape;
            chosen.paperSize = QPageSize::Letter;
            chosen.duplex = QPrinter::DuplexLongSide;
            return std::optional<PrinterSetup>(chosen);
        };
        printers.refused = {PrinterProperty::Duplex}; // skipped, the rest still set
        QVERIFY(PrintDialog(&printers).ShowPrinter(nullptr, QString(), PrintDialog::PrintSetup));
        QCOMPARE(printers.currentPrinterName(), QStringLiteral("Label Printer"));
        QCOMPARE(printers.setup.copies, 3);
        QCOMPARE(printers.setup.orientation, QPageLayout::Landscape);
        QCOMPARE(printers.setup.paperSize, QPageSize::Letter);
        QCOMPARE(printers.setup.duplex, QPrinter::DuplexNone);
    }

    void printToFileBecomesTheCurrentOutput()
    {
        FakePrintSystem printers;
        printers.dialog = [](const PrinterSetup &start) {
            PrinterSetup chosen = start;
            chosen.deviceName.clear();
            chosen.outputFile = QStringLiteral("/tmp/out.pdf");
            return std::optional<PrinterSetup>(chosen);
        };
        QVERIFY(PrintDialog(&printers).ShowPrinter(nullptr, QStringLiteral("laser"), 64));
        QCOMPARE(printers.currentPrinterName(), QString());
        QCOMPARE(printers.setup.outputFile, QStringLiteral("/tmp/out.pdf"));
        QVERIFY(!PrintDialog(nullptr).ShowPrinter(nullptr, QString(), 64));
    }

    void realPrinterSettingsAreCopiedOneByOne()
    {
        QtPrintSystem printers;
        printers.makeCurrent(QString());
        PrinterSetup s = printers.currentSetup();
        s.copies = 3;
        s.orientation = QPageLayout::Landscape;
        s.outputFile = QDir::temp().filePath(QStringLiteral("quillory-print-test.pdf"));
        QVERIFY(printers.apply(PrinterProperty::Copies, s));
        QVERIFY(printers.apply(PrinterProperty::Orientation, s));
        QVERIFY(printers.apply(PrinterProperty::OutputFile, s));
        s.copies = 0;
        QVERIFY(!printers.apply(PrinterProperty::Copies, s)); // refused, nothing changes
        const PrinterSetup now = printers.currentSetup();
        QCOMPARE(now.copies, 3);
        QCOMPARE(now.orientation, QPageLayout::Landscape);
        QCOMPARE(now.outputFile, s.outputFile);
        QVERIFY(printers.currentDevice() != nullptr);
    }
};

QTEST_MAIN(TestColourAndPrintDialogs)
#include "test_colour_and_print_dialogs.moc"
