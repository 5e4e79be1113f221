#include "TransportPictures.h"

#include "pictures/GlyphPaths.h"
#include "pictures/PictureStyle.h"

#include <QPainter>

#include <algorithm>

namespace TransportPictures {
namespace {

struct ButtonColours {
    QColor face;
    QColor rim;
    QColor glyph;
    QColor detail; // secondary fill inside the glyph (the folder)

    // The hover look: every colour moves towards white, so the picture reads
    // as lit up while keeping its shape and contrast order.
    ButtonColours forState(ButtonState state) const
    {
        if (state == ButtonState::Normal)
            return *this;
        using PictureStyle::lightened;
        return {lightened(face, 0.72), lightened(rim, 0.30), lightened(glyph, 0.12),
                lightened(detail, 0.35)};
    }
};

const ButtonColours plainButton{PictureStyle::buttonFace, PictureStyle::buttonRim,
                                PictureStyle::glyph, PictureStyle::folderFill};
// Play and pause carry the accent: a green face with a white glyph. Its hover
// mix is milder than the grey buttons' so the white glyph stays readable.
const ButtonColours accentButton{PictureStyle::accent, PictureStyle::accentDark,
                                 PictureStyle::paper, PictureStyle::paper};

ButtonColours accentColours(ButtonState state)
{
    if (state == ButtonState::Normal)
        return accentButton;
    using PictureStyle::lightened;
    return {lightened(accentButton.face, 0.28), lightened(accentButton.rim, 0.28),
            accentButton.glyph, accentButton.detail};
}

struct RoundButton {
    QPointF centre;
    qreal radius;
};

// Draws the round face centred in the picture and returns its geometry so the
// glyph can be laid out relative to it.
RoundButton drawRoundFace(QPainter &painter, QSizeF size, const ButtonColours &colours)
{
    const qreal margin = 1.0;
    const RoundButton button{QPointF(size.width() / 2, size.height() / 2),
                             std::min(size.width(), size.height()) / 2 - margin};
    painter.setPen(QPen(colours.rim, PictureStyle::rimStroke));
    painter.setBrush(colours.face);
    painter.drawEllipse(button.centre, button.radius, button.radius);
    return button;
}

// Fills a glyph with slightly rounded corners: a thin stroke of the same colour
// with round joins softens the sharp tips of the triangles.
void fillGlyph(QPainter &painter, const QPainterPath &path, const QColor &colour, qreal radius)
{
    painter.setPen(QPen(colour, radius * 0.08, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    painter.setBrush(colour);
    painter.drawPath(path);
}

QRectF centredBox(QPointF centre, qreal width, qreal height)
{
    return QRectF(centre.x() - width / 2, centre.y() - height / 2, width, height);
}

void drawDoubleTriangle(QPainter &painter, const RoundButton &b, const QColor &colour,
                        bool pointsLeft)
{
    const qreal w = 0.50 * b.radius;
    const qreal h = 0.80 * b.radius;
    // Overlap the two triangles a little so they read as one glyph.
    const qreal overlap = 0.06 * b.radius;
    const qreal left = b.centre.x() - w + overlap / 2;
    const QRectF first(left, b.centre.y() - h / 2, w, h);
    const QRectF second = first.translated(w - overlap, 0);
    QPainterPath path;
    if (pointsLeft) {
        path.addPath(GlyphPaths::triangleLeft(first));
        path.addPath(GlyphPaths::triangleLeft(second));
    } else {
        path.addPath(GlyphPaths::triangleRight(first));
        path.addPath(GlyphPaths::triangleRight(second));
    }
    path.setFillRule(Qt::WindingFill);
    fillGlyph(painter, path, colour, b.radius);
}

} // namespace

void drawPlay(QPainter &painter, QSizeF size, ButtonState state)
{
    const ButtonColours colours = accentColours(state);
    const RoundButton b = drawRoundFace(painter, size, colours);
    // A triangle looks centred when its centroid, not its box, is centred:
    // shift it right by a sixth of its width.
    const qreal w = 0.78 * b.radius;
    const qreal h = 0.92 * b.radius;
    const QRectF box = centredBox(b.centre + QPointF(w / 6, 0), w, h);
    fillGlyph(painter, GlyphPaths::triangleRight(box), colours.glyph, b.radius);
}

void drawPause(QPainter &painter, QSizeF size, ButtonState state)
{
    const ButtonColours colours = accentColours(state);
    const RoundButton b = drawRoundFace(painter, size, colours);
    const qreal barWidth = 0.24 * b.radius;
    const qreal gap = 0.22 * b.radius;
    const qreal h = 0.86 * b.radius;
    painter.setPen(Qt::NoPen);
    painter.setBrush(colours.glyph);
    const qreal corner = barWidth * 0.25;
    painter.drawRoundedRect(centredBox(b.centre - QPointF((gap + barWidth) / 2, 0), barWidth, h),
                            corner, corner);
    painter.drawRoundedRect(centredBox(b.centre + QPointF((gap + barWidth) / 2, 0), barWidth, h),
                            corner, corner);
}

void drawJumpBack(QPainter &painter, QSizeF size, ButtonState state)
{
    const ButtonColours colours = plainButton.forState(state);
    const RoundButton b = drawRoundFace(painter, size, colours);
    drawDoubleTriangle(painter, b, colours.glyph, true);
}

void drawStop(QPainter &painter, QSizeF size, ButtonState state)
{
    const ButtonColours colours = plainButton.forState(state);
    const RoundButton b = drawRoundFace(painter, size, colours);
    const qreal side = 0.72 * b.radius;
    painter.setPen(Qt::NoPen);
    painter.setBrush(colours.glyph);
    const qreal corner = side * 0.12;
    painter.drawRoundedRect(centredBox(b.centre, side, side), corner, corner);
}

void drawJumpForward(QPainter &painter, QSizeF size, ButtonState state)
{
    const ButtonColours colours = plainButton.forState(state);
    const RoundButton b = drawRoundFace(painter, size, colours);
    drawDoubleTriangle(painter, b, colours.glyph, false);
}

void drawOpen(QPainter &painter, QSizeF size, ButtonState state)
{
    const ButtonColours colours = plainButton.forState(state);
    const QRectF face = QRectF(QPointF(0, 0), size).adjusted(1, 1, -1, -1);
    const qreal corner = 0.22 * std::min(face.width(), face.height());
    painter.setPen(QPen(colours.rim, PictureStyle::rimStroke));
    painter.setBrush(colours.face);
    painter.drawRoundedRect(face, corner, corner);

    const QRectF folderBox = centredBox(face.center(), 0.60 * face.width(), 0.56 * face.height());
    const GlyphPaths::OpenFolder folder = GlyphPaths::openFolder(folderBox);
    painter.setPen(
        QPen(colours.glyph, PictureStyle::iconStroke, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    painter.setBrush(PictureStyle::lightened(colours.detail, 0.45));
    painter.drawPath(folder.back);
    painter.setBrush(colours.detail);
    painter.drawPath(folder.front);
}

} // namespace TransportPictures
