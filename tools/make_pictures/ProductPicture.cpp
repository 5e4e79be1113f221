#include "ProductPicture.h"

#include "pictures/PictureStyle.h"

#include <QFont>
#include <QFontMetricsF>
#include <QPainter>
#include <QPainterPath>

#include <algorithm>
#include <cmath>

namespace ProductPicture {
namespace {

const QString productName = QStringLiteral("Quillory");

void drawQuill(QPainter &painter, QPointF nib, QPointF tip)
{
    const QPointF along = tip - nib;
    const QPointF across(-along.y(), along.x()); // left of the shaft
    const auto at = [&](qreal t, qreal side) { return nib + t * along + side * across; };

    QPainterPath vane;
    vane.moveTo(at(0.12, 0.0));
    vane.cubicTo(at(0.30, 0.30), at(0.75, 0.26), tip);
    vane.cubicTo(at(0.80, -0.14), at(0.40, -0.16), at(0.12, 0.0));
    painter.setPen(Qt::NoPen);
    painter.setBrush(PictureStyle::accent);
    painter.drawPath(vane);

    // Notches in the vane make the leaf shape read as a feather.
    painter.setPen(QPen(PictureStyle::windowBackground, 1.2, Qt::SolidLine, Qt::RoundCap));
    painter.drawLine(at(0.52, 0.22), at(0.44, 0.12));
    painter.drawLine(at(0.70, -0.11), at(0.62, -0.06));

    painter.setPen(
        QPen(PictureStyle::glyph, PictureStyle::iconStroke, Qt::SolidLine, Qt::RoundCap));
    painter.drawLine(nib, at(0.82, 0.0));
}

// Bars of a made-up recording, quiet at both ends, drawn from the nib onwards.
void drawWaveform(QPainter &painter, qreal left, qreal right, qreal centreY, qreal maxHalf)
{
    painter.setPen(QPen(PictureStyle::accentDark, 1.4, Qt::SolidLine, Qt::RoundCap));
    const qreal step = 3.0;
    const int count = static_cast<int>((right - left) / step) + 1;
    for (int i = 0; i < count; ++i) {
        const qreal x = left + i * step;
        const qreal envelope = std::sin(M_PI * i / (count - 1));
        const qreal voice = std::fabs(std::sin(i * 0.55) * std::cos(i * 0.17 + 0.4)) * 0.8 + 0.2;
        const qreal half = std::max(0.4, maxHalf * envelope * voice);
        painter.drawLine(QPointF(x, centreY - half), QPointF(x, centreY + half));
    }
}

} // namespace

void draw(QPainter &painter, QSizeF size)
{
    const qreal w = size.width();
    const qreal h = size.height();

    QFont font(QStringLiteral("DejaVu Sans"));
    font.setBold(true);
    font.setPixelSize(qRound(0.50 * h));
    font.setLetterSpacing(QFont::PercentageSpacing, 104);
    const qreal textWidth = QFontMetricsF(font).horizontalAdvance(productName);

    // Quill and name are centred together; the quill spans about 0.6 h.
    const qreal quillSpan = 0.60 * h;
    const qreal gap = 0.22 * h;
    const qreal left = std::max(2.0, (w - quillSpan - gap - textWidth) / 2);
    const QPointF nib(left, 0.80 * h);
    drawQuill(painter, nib, QPointF(left + quillSpan, 0.08 * h));

    const qreal textLeft = left + quillSpan + gap;
    painter.setFont(font);
    painter.setPen(PictureStyle::glyph);
    painter.drawText(QPointF(textLeft, 0.58 * h), productName);

    drawWaveform(painter, nib.x() + 4, std::min(textLeft + textWidth, w - 4), nib.y(), 0.10 * h);
}

} // namespace ProductPicture
