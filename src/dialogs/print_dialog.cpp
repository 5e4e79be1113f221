#include "dialogs/print_dialog.h"

#include "platform/services/print_system.h"

#include <QCoreApplication>

namespace quillory {

bool PrintDialog::ShowPrinter(QWidget *owner, const QString &printerName, quint32 flags)
{
    if (!m_printers)
        return false;
    PrintSystem &printers = *m_printers;
    const QString onEntry = printers.currentPrinterName();
    if (!printerName.isEmpty()) {
        for (const QString &name : printers.printerNames()) {
            if (name.contains(printerName, Qt::CaseInsensitive)) {
                printers.makeCurrent(name);
                break;
            }
        }
    }
    const std::optional<PrinterSetup> chosen =
        printers.runDialog(owner, printers.currentSetup(), flags);
    if (!chosen) {
        for (const QString &name : printers.printerNames()) {
            if (name == onEntry) {
                printers.makeCurrent(name);
                break;
            }
        }
        // A current printer that is not installed (the file output) comes back too.
        if (printers.currentPrinterName() != onEntry)
            printers.makeCurrent(onEntry);
        return false;
    }
    QCoreApplication::processEvents();
    if (chosen->deviceName != printers.currentPrinterName()) {
        if (chosen->deviceName.isEmpty()) {
            printers.makeCurrent(QString());
        } else {
            for (const QString &name : printers.printerNames()) {
                if (name == chosen->deviceName) {
                    printers.makeCurrent(name);
                    break;
                }
            }
        }
    }
    // Each separately; a value the printer refuses is skipped.
    for (PrinterProperty property :
         {PrinterProperty::Copies, PrinterProperty::Duplex, PrinterProperty::Orientation,
          PrinterProperty::PaperSize, PrinterProperty::PrintQuality, PrinterProperty::ColorMode,
          PrinterProperty::PaperBin}) {
        printers.apply(property, *chosen);
    }
    if (!chosen->outputFile.isEmpty())
        printers.apply(PrinterProperty::OutputFile, *chosen);
    return true;
}

} // namespace quillory
