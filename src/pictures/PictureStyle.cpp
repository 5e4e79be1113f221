#include "pictures/PictureStyle.h"

#include <QtGlobal>

namespace PictureStyle {

QColor lightened(const QColor &colour, qreal amount)
{
    const qreal a = qBound(0.0, amount, 1.0);
    const auto mix = [a](int channel) { return qRound(channel + (255 - channel) * a); };
    return QColor(mix(colour.red()), mix(colour.green()), mix(colour.blue()));
}

} // namespace PictureStyle
