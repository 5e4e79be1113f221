#include "pictures/ToolbarPicture.h"

#include "pictures/GlyphPaths.h"
#include "pictures/PictureStyle.h"

#include <QPainter>
#include <QPainterPath>
#include <QVector>

namespace ToolbarPicture {
namespace {

enum class Icon {
    NewDocument,
    OpenFolder,
    Save,
    Print,
    AlignLeft,
    AlignCentre,
    AlignRight,
    LargerFont,
    SmallerFont,
    FontColour,
    BulletedList,
    DecreaseIndent,
    IncreaseIndent,
    Picture,
};

struct Placement {
    Icon icon;
    qreal left; // left edge of the icon's cell, design pixels
};

// Cell width in design pixels; the click areas are 29 to 33 pixels wide.
constexpr qreal cellWidth = 30;

// The editor places the strip at 150 twips and its click areas at these lefts
// (twips, 15 per pixel at 96 DPI).
constexpr int stripLeftTwips = 150;
constexpr int twipsPerPixel = 15;
constexpr qreal iconSize = 20;

qreal pixelsFromAreaLeft(int areaLeftTwips)
{
    return static_cast<qreal>(areaLeftTwips - stripLeftTwips) / twipsPerPixel;
}

QPen strokePen(const QColor &colour = PictureStyle::glyph, qreal width = PictureStyle::iconStroke)
{
    return QPen(colour, width, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
}

// Every icon is drawn in a 20 x 20 box whose origin is (0, 0).
void drawNewDocument(QPainter &p)
{
    const qreal fold = 5;
    QPainterPath page;
    page.moveTo(4, 1.5);
    page.lineTo(16 - fold, 1.5);
    page.lineTo(16, 1.5 + fold);
    page.lineTo(16, 18.5);
    page.lineTo(4, 18.5);
    page.closeSubpath();
    p.setPen(strokePen());
    p.setBrush(PictureStyle::paper);
    p.drawPath(page);
    QPainterPath corner;
    corner.moveTo(16 - fold, 1.5);
    corner.lineTo(16 - fold, 1.5 + fold);
    corner.lineTo(16, 1.5 + fold);
    p.setBrush(Qt::NoBrush);
    p.drawPath(corner);
}

void drawOpenFolder(QPainter &p)
{
    const GlyphPaths::OpenFolder folder = GlyphPaths::openFolder(QRectF(1.5, 3, 17, 14));
    p.setPen(strokePen());
    p.setBrush(PictureStyle::lightened(PictureStyle::folderFill, 0.45));
    p.drawPath(folder.back);
    p.setBrush(PictureStyle::folderFill);
    p.drawPath(folder.front);
}

void drawSave(QPainter &p)
{
    QPainterPath body;
    body.moveTo(2.5, 2.5);
    body.lineTo(14.5, 2.5);
    body.lineTo(17.5, 5.5);
    body.lineTo(17.5, 17.5);
    body.lineTo(2.5, 17.5);
    body.closeSubpath();
    p.setPen(strokePen());
    p.setBrush(PictureStyle::buttonFace);
    p.drawPath(body);
    // Metal shutter at the top, paper label at the bottom.
    p.setBrush(PictureStyle::glyph);
    p.drawRect(QRectF(6, 2.5, 7, 4.5));
    p.setBrush(PictureStyle::paper);
    p.drawRect(QRectF(5, 10.5, 10, 7));
}

void drawPrint(QPainter &p)
{
    p.setPen(strokePen());
    p.setBrush(PictureStyle::paper);
    p.drawRect(QRectF(5.5, 2, 9, 5.5));
    p.setBrush(PictureStyle::buttonFace);
    p.drawRoundedRect(QRectF(1.5, 7, 17, 8), 1.5, 1.5);
    p.setBrush(PictureStyle::paper);
    p.drawRect(QRectF(5.5, 12, 9, 6.5));
    p.setPen(Qt::NoPen);
    p.setBrush(PictureStyle::accent);
    p.drawEllipse(QPointF(15.5, 9.5), 0.9, 0.9);
}

enum class Alignment { Left, Centre, Right };

void drawAlignment(QPainter &p, Alignment alignment)
{
    p.setPen(strokePen());
    const qreal lengths[] = {16, 10, 16, 10};
    for (int row = 0; row < 4; ++row) {
        const qreal y = 4 + row * 4;
        const qreal len = lengths[row];
        qreal x = 2;
        if (alignment == Alignment::Centre)
            x = 10 - len / 2;
        else if (alignment == Alignment::Right)
            x = 18 - len;
        p.drawLine(QPointF(x, y), QPointF(x + len, y));
    }
}

void drawSizeStep(QPainter &p, bool larger)
{
    p.setPen(strokePen(PictureStyle::glyph, 1.8));
    p.setBrush(Qt::NoBrush);
    p.drawPath(GlyphPaths::letterA(QRectF(1.5, 4, 11, 14)));
    p.setPen(strokePen());
    p.drawLine(QPointF(13.5, 6), QPointF(18.5, 6));
    if (larger)
        p.drawLine(QPointF(16, 3.5), QPointF(16, 8.5));
}

void drawFontColour(QPainter &p)
{
    p.setPen(strokePen(PictureStyle::glyph, 1.8));
    p.setBrush(Qt::NoBrush);
    p.drawPath(GlyphPaths::letterA(QRectF(4.5, 1.5, 11, 12)));
    p.setPen(Qt::NoPen);
    p.setBrush(PictureStyle::fontColourBar);
    p.drawRect(QRectF(2, 15, 16, 3.5));
}

void drawBulletedList(QPainter &p)
{
    for (int row = 0; row < 3; ++row) {
        const qreal y = 4 + row * 6;
        p.setPen(Qt::NoPen);
        p.setBrush(PictureStyle::glyph);
        p.drawEllipse(QPointF(3.5, y), 1.7, 1.7);
        p.setPen(strokePen());
        p.drawLine(QPointF(8, y), QPointF(18, y));
    }
}

void drawIndent(QPainter &p, bool increase)
{
    p.setPen(strokePen());
    p.drawLine(QPointF(2, 3), QPointF(18, 3));
    p.drawLine(QPointF(10, 8), QPointF(18, 8));
    p.drawLine(QPointF(10, 12), QPointF(18, 12));
    p.drawLine(QPointF(2, 17), QPointF(18, 17));
    const QRectF arrow(2, 6.5, 5, 7);
    p.setPen(strokePen(PictureStyle::glyph, 1.0));
    p.setBrush(PictureStyle::glyph);
    p.drawPath(increase ? GlyphPaths::triangleRight(arrow) : GlyphPaths::triangleLeft(arrow));
}

void drawPicture(QPainter &p)
{
    const QRectF frame(1.5, 3, 17, 14);
    p.setPen(strokePen());
    p.setBrush(PictureStyle::paper);
    p.drawRect(frame);
    p.setPen(Qt::NoPen);
    p.setBrush(PictureStyle::folderFill);
    p.drawEllipse(QPointF(13.5, 7), 2, 2);
    QPainterPath hills;
    hills.moveTo(2.5, 16);
    hills.lineTo(7.5, 9);
    hills.lineTo(11, 13);
    hills.lineTo(13, 11);
    hills.lineTo(17.5, 16);
    hills.closeSubpath();
    p.setBrush(PictureStyle::accent);
    p.drawPath(hills);
}

void drawIcon(QPainter &p, Icon icon)
{
    switch (icon) {
    case Icon::NewDocument:
        return drawNewDocument(p);
    case Icon::OpenFolder:
        return drawOpenFolder(p);
    case Icon::Save:
        return drawSave(p);
    case Icon::Print:
        return drawPrint(p);
    case Icon::AlignLeft:
        return drawAlignment(p, Alignment::Left);
    case Icon::AlignCentre:
        return drawAlignment(p, Alignment::Centre);
    case Icon::AlignRight:
        return drawAlignment(p, Alignment::Right);
    case Icon::LargerFont:
        return drawSizeStep(p, true);
    case Icon::SmallerFont:
        return drawSizeStep(p, false);
    case Icon::FontColour:
        return drawFontColour(p);
    case Icon::BulletedList:
        return drawBulletedList(p);
    case Icon::DecreaseIndent:
        return drawIndent(p, false);
    case Icon::IncreaseIndent:
        return drawIndent(p, true);
    case Icon::Picture:
        return drawPicture(p);
    }
}

QVector<Placement> placements()
{
    // The last three follow the bulleted list at one cell each, past the
    // 6915-twip cut (461 px), and end at the strip's right edge (556 px).
    return {
        {Icon::NewDocument, pixelsFromAreaLeft(150)},
        {Icon::OpenFolder, pixelsFromAreaLeft(570)},
        {Icon::Save, pixelsFromAreaLeft(1050)},
        {Icon::Print, pixelsFromAreaLeft(1440)},
        {Icon::AlignLeft, pixelsFromAreaLeft(3780)},
        {Icon::AlignCentre, pixelsFromAreaLeft(4230)},
        {Icon::AlignRight, pixelsFromAreaLeft(4680)},
        {Icon::LargerFont, pixelsFromAreaLeft(5160)},
        {Icon::SmallerFont, pixelsFromAreaLeft(5610)},
        {Icon::FontColour, pixelsFromAreaLeft(6060)},
        {Icon::BulletedList, pixelsFromAreaLeft(6600)},
        {Icon::DecreaseIndent, 466},
        {Icon::IncreaseIndent, 496},
        {Icon::Picture, 526},
    };
}

} // namespace

void draw(QPainter &painter, QSizeF size)
{
    for (const Placement &placement : placements()) {
        painter.save();
        painter.translate(placement.left + (cellWidth - iconSize) / 2,
                          (size.height() - iconSize) / 2);
        drawIcon(painter, placement.icon);
        painter.restore();
    }
}

} // namespace ToolbarPicture
