#include "AppIcon.h"

#include "pictures/PictureStyle.h"

#include <QBuffer>
#include <QDir>
#include <QFileInfo>
#include <QImage>
#include <QPainter>
#include <QPainterPath>
#include <QSaveFile>
#include <QStringList>
#include <QVector>

#include <algorithm>
#include <cmath>

namespace AppIcon {
namespace {

constexpr qreal canvas = 256.0;
const int pngSizes[] = {16, 24, 32, 48, 64, 128, 256};

// One filled or stroked outline of the icon.
struct Shape {
    QPainterPath path;
    QColor fill;   // invalid: not filled
    QColor stroke; // invalid: not stroked
    qreal strokeWidth = 0;
};

QVector<Shape> shapes()
{
    QVector<Shape> list;

    QPainterPath tile;
    tile.addRoundedRect(QRectF(16, 16, 224, 224), 44, 44);
    list.append({tile, PictureStyle::accent, QColor(), 0});

    QPainterPath sheet;
    sheet.addRoundedRect(QRectF(44, 40, 168, 176), 14, 14);
    list.append({sheet, PictureStyle::paper, QColor(), 0});

    // Bars of a made-up recording across the foot of the sheet.
    QPainterPath bars;
    const int count = 17;
    for (int i = 0; i < count; ++i) {
        const qreal x = 62 + i * 8.25;
        const qreal envelope = std::sin(M_PI * (i + 0.5) / count);
        const qreal voice = std::fabs(std::sin(i * 0.9) * std::cos(i * 0.31 + 0.4)) * 0.75 + 0.25;
        const qreal half = std::max(2.0, 26 * envelope * voice);
        bars.moveTo(x, 176 - half);
        bars.lineTo(x, 176 + half);
    }
    list.append({bars, QColor(), PictureStyle::accentDark, 4.5});

    // The quill, from the nib at the lower left up to the tip at the upper right.
    const QPointF nib(70, 150);
    const QPointF tip(206, 30);
    const QPointF along = tip - nib;
    const QPointF across(-along.y(), along.x());
    const auto at = [&](qreal t, qreal side) { return nib + t * along + side * across; };
    QPainterPath vane;
    vane.moveTo(at(0.12, 0.0));
    vane.cubicTo(at(0.30, 0.30), at(0.75, 0.26), tip);
    vane.cubicTo(at(0.80, -0.14), at(0.40, -0.16), at(0.12, 0.0));
    vane.closeSubpath();
    list.append({vane, PictureStyle::accent, QColor(), 0});

    QPainterPath notches;
    notches.moveTo(at(0.52, 0.22));
    notches.lineTo(at(0.44, 0.12));
    notches.moveTo(at(0.70, -0.11));
    notches.lineTo(at(0.62, -0.06));
    list.append({notches, QColor(), PictureStyle::paper, 5});

    QPainterPath shaft;
    shaft.moveTo(nib);
    shaft.lineTo(at(0.82, 0.0));
    list.append({shaft, QColor(), PictureStyle::glyph, 7});
    return list;
}

QString number(qreal v)
{
    return QString::number(std::round(v * 100) / 100, 'g', 8);
}

QString svgPath(const QPainterPath &path)
{
    QStringList parts;
    for (int i = 0; i < path.elementCount(); ++i) {
        const QPainterPath::Element e = path.elementAt(i);
        switch (e.type) {
        case QPainterPath::MoveToElement:
            parts << QStringLiteral("M%1 %2").arg(number(e.x), number(e.y));
            break;
        case QPainterPath::LineToElement:
            parts << QStringLiteral("L%1 %2").arg(number(e.x), number(e.y));
            break;
        case QPainterPath::CurveToElement: {
            const QPainterPath::Element c2 = path.elementAt(i + 1);
            const QPainterPath::Element end = path.elementAt(i + 2);
            parts << QStringLiteral("C%1 %2 %3 %4 %5 %6")
                         .arg(number(e.x), number(e.y), number(c2.x), number(c2.y), number(end.x),
                              number(end.y));
            i += 2;
            break;
        }
        case QPainterPath::CurveToDataElement:
            break;
        }
    }
    return parts.join(QLatin1Char(' '));
}

QImage render(int size)
{
    QImage image(size, size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.scale(size / canvas, size / canvas);
    for (const Shape &s : shapes()) {
        painter.setBrush(s.fill.isValid() ? QBrush(s.fill) : QBrush(Qt::NoBrush));
        painter.setPen(s.stroke.isValid()
                           ? QPen(s.stroke, s.strokeWidth, Qt::SolidLine, Qt::RoundCap)
                           : QPen(Qt::NoPen));
        painter.drawPath(s.path);
    }
    return image;
}

QString save(const QString &path, const QByteArray &bytes)
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size() || !file.commit())
        return path + QStringLiteral(": ") + file.errorString();
    return QString();
}

} // namespace

QString svgText()
{
    QString svg = QStringLiteral("<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
                                 "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"256\" "
                                 "height=\"256\" viewBox=\"0 0 256 256\">\n");
    for (const Shape &s : shapes()) {
        svg += QStringLiteral("  <path d=\"%1\"").arg(svgPath(s.path));
        svg += s.fill.isValid() ? QStringLiteral(" fill=\"%1\"").arg(s.fill.name())
                                : QStringLiteral(" fill=\"none\"");
        if (s.stroke.isValid())
            svg += QStringLiteral(" stroke=\"%1\" stroke-width=\"%2\" stroke-linecap=\"round\"")
                       .arg(s.stroke.name(), number(s.strokeWidth));
        svg += QStringLiteral("/>\n");
    }
    svg += QStringLiteral("</svg>\n");
    return svg;
}

QStringList writeIconTheme(const QString &folder, QString *error)
{
    QStringList written;
    const QString svgPath = folder + QStringLiteral("/scalable/apps/") + iconName + ".svg";
    QString problem = save(svgPath, svgText().toUtf8());
    if (problem.isEmpty())
        written << svgPath;
    for (int size : pngSizes) {
        if (!problem.isEmpty())
            break;
        const QString path =
            folder + QStringLiteral("/%1x%1/apps/").arg(size) + iconName + QStringLiteral(".png");
        QByteArray bytes;
        {
            QBuffer buffer(&bytes);
            buffer.open(QIODevice::WriteOnly);
            render(size).save(&buffer, "PNG");
        }
        problem = save(path, bytes);
        if (problem.isEmpty())
            written << path;
    }
    if (error)
        *error = problem;
    return written;
}

} // namespace AppIcon
