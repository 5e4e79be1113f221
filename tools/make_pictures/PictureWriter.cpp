#include "PictureWriter.h"

#include <QFileInfo>
#include <QImage>
#include <QImageWriter>
#include <QSaveFile>

namespace {

constexpr int jpegQuality = 95;

} // namespace

QString writePicture(const QImage &image, const QString &path)
{
    const QByteArray format = QFileInfo(path).suffix().toLower().toLatin1();
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return file.errorString();

    QImageWriter writer(&file, format);
    if (format == "jpg")
        writer.setQuality(jpegQuality);
    // Opaque RGB keeps the BMP files at 24 bits per pixel and stops the PNG
    // from carrying an unused alpha channel.
    if (!writer.write(image.convertToFormat(QImage::Format_RGB32)))
        return writer.errorString();
    if (!file.commit())
        return file.errorString();
    return QString();
}
