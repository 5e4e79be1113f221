#pragma once

#include <QPageLayout>
#include <QPageSize>
#include <QPrinter>
#include <QString>
#include <QStringList>
#include <memory>
#include <optional>

class QPagedPaintDevice;
class QWidget;

namespace quillory {

// A printer's settable properties, as the print dialog returns them.
struct PrinterSetup {
    QString deviceName; // empty when the output goes to a file
    QString outputFile; // PDF file chosen in the dialog ("print to file")
    int copies = 1;
    QPrinter::DuplexMode duplex = QPrinter::DuplexNone;
    QPageLayout::Orientation orientation = QPageLayout::Portrait;
    QPageSize::PageSizeId paperSize = QPageSize::A4;
    int printQuality = 0; // dots per inch; 0 = the printer's default
    QPrinter::ColorMode colorMode = QPrinter::Color;
    QPrinter::PaperSource paperBin = QPrinter::Auto;
};

enum class PrinterProperty {
    Copies,
    Duplex,
    Orientation,
    PaperSize,
    PrintQuality,
    ColorMode,
    PaperBin,
    OutputFile
};

// The program's current printer and the system's list of printers.
class PrintSystem {
public:
    virtual ~PrintSystem() = default;
    // Installed printers' device names, in the system's order.
    virtual QStringList printerNames() = 0;
    virtual QString currentPrinterName() = 0;
    // Makes the printer of that name (empty: PDF file output) the current one.
    virtual void makeCurrent(const QString &deviceName) = 0;
    // The current printer's settings; ones that cannot be read keep defaults.
    virtual PrinterSetup currentSetup() = 0;
    // Shows the print dialog modal to `owner`, starting from `start`. The
    // chosen settings, or nothing when cancelled.
    virtual std::optional<PrinterSetup> runDialog(QWidget *owner, const PrinterSetup &start,
                                                  quint32 flags) = 0;
    // Copies one property from `setup` into the current printer; false when
    // the printer refuses it.
    virtual bool apply(PrinterProperty property, const PrinterSetup &setup) = 0;
    // The current printer as a device to print on.
    virtual QPagedPaintDevice *currentDevice() = 0;
};

// Qt's printers (CUPS on Linux) and print dialog.
class QtPrintSystem : public PrintSystem {
public:
    QtPrintSystem();
    ~QtPrintSystem() override;
    QStringList printerNames() override;
    QString currentPrinterName() override;
    void makeCurrent(const QString &deviceName) override;
    PrinterSetup currentSetup() override;
    std::optional<PrinterSetup> runDialog(QWidget *owner, const PrinterSetup &start,
                                          quint32 flags) override;
    bool apply(PrinterProperty property, const PrinterSetup &setup) override;
    QPagedPaintDevice *currentDevice() override;

    static PrinterSetup setupOf(const QPrinter &printer);

private:
    QPrinter &printer();
    std::unique_ptr<QPrinter> m_printer;
};

} // namespace quillory
