#pragma once

#include <QString>

class QWidget;

namespace quillory {

class PrintSystem;

// Picks and sets up a printer through the system's print dialog, and makes
// the chosen printer, with the chosen copies, duplex, orientation, paper,
// quality, colour mode and paper bin, the program's current printer. Keeps no
// state between calls.
class PrintDialog {
public:
    // The flags value of the print-setup form of the dialog.
    static constexpr quint32 PrintSetup = 64;

    explicit PrintDialog(PrintSystem *printers) : m_printers(printers) {}

    // `printerName`, when not empty, preselects the first installed printer
    // whose name contains it (any case). True when the user confirmed; on
    // cancel the printer that was current on entry is current again.
    bool ShowPrinter(QWidget *owner, const QString &printerName, quint32 flags);

private:
    PrintSystem *m_printers;
};

} // namespace quillory
