#include "PictureCatalogue.h"

#include "ProductPicture.h"
#include "TransportPictures.h"
#include "VolumePictures.h"
#include "pictures/ToolbarPicture.h"

namespace {

// Controls are laid out in twips; 15 twips make one pixel at 96 DPI.
constexpr QSize fromTwips(int width, int height)
{
    return QSize(width / 15, height / 15);
}

using TransportPictures::ButtonState;
using DrawButton = void (*)(QPainter &, QSizeF, ButtonState);

void addButtonPair(QVector<PictureEntry> &list, const QString &normalName, const QString &hoverName,
                   QSize size, DrawButton draw)
{
    list.append(
        {normalName, size, [draw](QPainter &p, QSizeF s) { draw(p, s, ButtonState::Normal); }});
    list.append(
        {hoverName, size, [draw](QPainter &p, QSizeF s) { draw(p, s, ButtonState::Hover); }});
}

} // namespace

QVector<PictureEntry> pictureCatalogue()
{
    const QSize playSize = fromTwips(720, 735);
    const QSize smallButtonSize = fromTwips(465, 480);
    const QSize openSize = fromTwips(660, 570);

    QVector<PictureEntry> list;
    addButtonPair(list, "play.jpg", "play2.jpg", playSize, TransportPictures::drawPlay);
    addButtonPair(list, "pause.jpg", "pause2.jpg", playSize, TransportPictures::drawPause);
    addButtonPair(list, "bac.jpg", "bac2.jpg", smallButtonSize, TransportPictures::drawJumpBack);
    addButtonPair(list, "stop.jpg", "stop2.jpg", smallButtonSize, TransportPictures::drawStop);
    addButtonPair(list, "for.jpg", "for2.jpg", smallButtonSize, TransportPictures::drawJumpForward);
    addButtonPair(list, "Apri.bmp", "Apri2.bmp", openSize, TransportPictures::drawOpen);
    list.append({"Image4.png", fromTwips(3570, 840), ProductPicture::draw});
    list.append({"knob.bmp", QSize(25, 13), VolumePictures::drawKnob});
    list.append({"track.bmp", fromTwips(90, 1200), VolumePictures::drawTrack});
    list.append({"toolbar.bmp", QSize(556, 26), ToolbarPicture::draw});
    return list;
}
