#pragma once

// Test doubles of the colour dialog and the printers: scripted answers,
// recorded calls.

#include "platform/services/color_dialogs.h"
#include "platform/services/print_system.h"

#include <QList>
#include <QPdfWriter>
#include <QStringList>
#include <QTemporaryDir>
#include <functional>
#include <memory>

namespace quillory::test {

class FakeColorDialogs : public ColorDialogs {
public:
    // Scripted: the colour the "user" picks and the custom colours the dialog
    // leaves; no pick means cancel.
    std::optional<QRgb> pick;
    std::optional<std::array<QRgb, 16>> customAfter;
    int shown = 0;
    QWidget *lastOwner = nullptr;
    QRgb lastInitial = 0;
    std::array<QRgb, 16> lastCustom{};

    bool choose(QWidget *owner, QRgb &colour, std::array<QRgb, 16> &custom) override
    {
        ++shown;
        lastOwner = owner;
        lastInitial = colour;
        lastCustom = custom;
        if (!pick)
            return false;
        colour = *pick;
        if (customAfter)
            custom = *customAfter;
        return true;
    }
};

// Printers by name; the current one's settings are kept per printer. The
// device is a PDF file in a temporary folder.
class FakePrintSystem : public PrintSystem {
public:
    QStringList printers{QStringLiteral("Office Laser"), QStringLiteral("PDF Writer"),
                         QStringLiteral("Label Printer")};
    QString current = QStringLiteral("Office Laser");
    PrinterSetup setup;
    // What the dialog returns given its starting setup; nullopt = cancel.
    std::function<std::optional<PrinterSetup>(const PrinterSetup &)> dialog;
    QList<PrinterSetup> dialogStarts;
    QList<PrinterProperty> refused;
    QTemporaryDir folder;
    std::unique_ptr<QPdfWriter> device;

    QStringList printerNames() override { return printers; }
    QString currentPrinterName() override { return current; }
    void makeCurrent(const QString &name) override
    {
        current = name;
        setup = PrinterSetup();
        setup.deviceName = name;
    }
    PrinterSetup currentSetup() override
    {
        PrinterSetup s = setup;
        s.deviceName = current;
        return s;
    }
    std::optional<PrinterSetup> runDialog(QWidget *, const PrinterSetup &start, quint32) override
    {
        dialogStarts.append(start);
        return dialog ? dialog(start) : std::nullopt;
    }
    bool apply(PrinterProperty property, const PrinterSetup &s) override
    {
        if (refused.contains(property))
            return false;
        switch (property) {
        case PrinterProperty::Copies:
            setup.copies = s.copies;
            break;
        case PrinterProperty::Duplex:
            setup.duplex = s.duplex;
            break;
        case PrinterProperty::Orientation:
            setup.orientation = s.orientation;
            break;
        case PrinterProperty::PaperSize:
            setup.paperSize = s.paperSize;
            break;
        case PrinterProperty::PrintQuality:
            setup.printQuality = s.printQuality;
            break;
        case PrinterProperty::ColorMode:
            setup.colorMode = s.colorMode;
            break;
        case PrinterProperty::PaperBin:
            setup.paperBin = s.paperBin;
            break;
        case PrinterProperty::OutputFile:
            setup.outputFile = s.outputFile;
            break;
        }
        return true;
    }
    QString pdfPath() const { return folder.filePath(QStringLiteral("printed.pdf")); }
    QPagedPaintDevice *currentDevice() override
    {
        device = std::make_unique<QPdfWriter>(pdfPath());
        return device.get();
    }
};

} // namespace quillory::test
