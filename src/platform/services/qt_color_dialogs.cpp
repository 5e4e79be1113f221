#include "platform/services/color_dialogs.h"

#include <QColorDialog>

namespace quillory {

bool QtColorDialogs::choose(QWidget *owner, QRgb &colour, std::array<QRgb, 16> &custom)
{
    // The custom colours are the dialog's own program-wide set; they are set
    // from the caller's block every time, so each call starts from it.
    for (int i = 0; i < 16; ++i)
        QColorDialog::setCustomColor(i, QColor(custom[static_cast<size_t>(i)]));
    QColorDialog dialog(QColor(colour), owner);
    dialog.setOption(QColorDialog::DontUseNativeDialog, false);
    if (dialog.exec() != QDialog::Accepted)
        return false;
    colour = dialog.selectedColor().rgb();
    for (int i = 0; i < 16; ++i)
        custom[static_cast<size_t>(i)] = QColorDialog::customColor(i).rgb();
    return true;
}

} // namespace quillory
