#pragma once

#include <QRgb>
#include <array>

class QWidget;

namespace quillory {

// The system's colour chooser.
class ColorDialogs {
public:
    virtual ~ColorDialogs() = default;
    // Shows the dialog modal to `owner`, with `colour` preselected and `custom`
    // as its 16 custom colours. Returns true when the user confirmed; only then
    // do `colour` and `custom` take the dialog's values.
    virtual bool choose(QWidget *owner, QRgb &colour, std::array<QRgb, 16> &custom) = 0;
};

// Qt's colour dialog.
class QtColorDialogs : public ColorDialogs {
public:
    bool choose(QWidget *owner, QRgb &colour, std::array<QRgb, 16> &custom) override;
};

} // namespace quillory
