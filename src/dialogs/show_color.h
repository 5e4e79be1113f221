#pragma once

#include <QByteArray>
#include <QRgb>
#include <cstdint>

class QWidget;

namespace quillory {

class ColorDialogs;

// The colour-choice dialog as the editor's colour button uses it: the
// preselected and chosen colour, the cancelled flag, the owner window and the
// block of 16 custom colours. Colours are 24-bit values with red in the low
// byte, then green, then blue. A fresh object starts with black and 16 black
// custom colours. (The method that shows the dialog is Show(): C++ does not let
// a member share its class's name.)
class ShowColor {
public:
    explicit ShowColor(ColorDialogs *dialogs) : m_dialogs(dialogs) {}

    std::uint32_t RGBResult = 0;
    QWidget *hOwner = nullptr;
    bool ColorAnnulla() const { return m_cancelled; }

    // 64 bytes: the custom colours, four bytes each (red, green, blue, 0).
    QByteArray CustomColors() const { return m_custom; }
    // Stored left-aligned in the 64-byte field, padded with blanks or cut.
    void setCustomColors(const QByteArray &block);

    // Shows the dialog. Confirmed: ColorAnnulla false, RGBResult and the custom
    // colours as the dialog left them. Cancelled or failed: ColorAnnulla true,
    // nothing else changes.
    void Show();

    static QRgb toQRgb(std::uint32_t value);
    static std::uint32_t fromQRgb(QRgb rgb);

private:
    ColorDialogs *m_dialogs;
    bool m_cancelled = false;
    QByteArray m_custom = QByteArray(64, '\0');
};

} // namespace quillory
