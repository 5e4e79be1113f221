#include "platform/services/print_system.h"

#include <QPrintDialog>
#include <QPrinterInfo>

namespace quillory {

QtPrintSystem::QtPrintSystem() = default;

QPrinter &QtPrintSystem::printer()
{
    // Made on first use: a printer loads the print system (CUPS), which nothing
    // needs before the user prints.
    if (!m_printer)
        m_printer = std::make_unique<QPrinter>(QPrinter::HighResolution);
    return *m_printer;
}

QtPrintSystem::~QtPrintSystem() = default;

QStringList QtPrintSystem::printerNames()
{
    return QPrinterInfo::availablePrinterNames();
}

QString QtPrintSystem::currentPrinterName()
{
    return printer().printerName();
}

void QtPrintSystem::makeCurrent(const QString &deviceName)
{
    printer().setOutputFileName(QString());
    printer().setPrinterName(deviceName);
}

PrinterSetup QtPrintSystem::setupOf(const QPrinter &printer)
{
    PrinterSetup s;
    s.deviceName = printer.printerName();
    if (printer.outputFormat() == QPrinter::PdfFormat)
        s.outputFile = printer.outputFileName();
    s.copies = printer.copyCount();
    s.duplex = printer.duplex();
    s.orientation = printer.pageLayout().orientation();
    s.paperSize = printer.pageLayout().pageSize().id();
    s.printQuality = printer.resolution();
    s.colorMode = printer.colorMode();
    s.paperBin = printer.paperSource();
    return s;
}

PrinterSetup QtPrintSystem::currentSetup()
{
    return setupOf(printer());
}

std::optional<PrinterSetup> QtPrintSystem::runDialog(QWidget *owner, const PrinterSetup &start,
                                                     quint32 flags)
{
    // The dialog works on a printer of its own, so that a cancel leaves the
    // current printer exactly as it was.
    QPrinter chosen(QPrinter::HighResolution);
    chosen.setPrinterName(start.deviceName);
    if (!start.outputFile.isEmpty())
        chosen.setOutputFileName(start.outputFile);
    chosen.setPageOrientation(start.orientation);
    chosen.setPageSize(QPageSize(start.paperSize));
    QPrintDialog dialog(&chosen, owner);
    // The setup form: choose and set up the printer, no page ranges.
    constexpr quint32 printSetup = 0x40;
    if (flags & printSetup)
        dialog.setOptions(QAbstractPrintDialog::PrintToFile |
                          QAbstractPrintDialog::PrintShowPageSize);
    if (dialog.exec() != QDialog::Accepted)
        return std::nullopt;
    return setupOf(chosen);
}

bool QtPrintSystem::apply(PrinterProperty property, const PrinterSetup &s)
{
    QPrinter &p = printer();
    switch (property) {
    case PrinterProperty::Copies:
        if (s.copies < 1)
            return false;
        p.setCopyCount(s.copies);
        return p.copyCount() == s.copies;
    case PrinterProperty::Duplex:
        p.setDuplex(s.duplex);
        return p.duplex() == s.duplex;
    case PrinterProperty::Orientation:
        return p.setPageOrientation(s.orientation);
    case PrinterProperty::PaperSize:
        return p.setPageSize(QPageSize(s.paperSize));
    case PrinterProperty::PrintQuality:
        if (s.printQuality <= 0)
            return false;
        p.setResolution(s.printQuality);
        return true;
    case PrinterProperty::ColorMode:
        p.setColorMode(s.colorMode);
        return true;
    case PrinterProperty::PaperBin:
        p.setPaperSource(s.paperBin);
        return true;
    case PrinterProperty::OutputFile:
        if (s.outputFile.isEmpty())
            return false;
        p.setOutputFileName(s.outputFile);
        return true;
    }
    return false;
}

QPagedPaintDevice *QtPrintSystem::currentDevice()
{
    return &printer();
}

} // namespace quillory
