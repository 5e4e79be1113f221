#pragma once

#include <QString>

class QImage;

// Writes a picture in the format named by the file's suffix (jpg, png, bmp),
// through a temporary file so an interrupted run never leaves a torn picture.
// Returns an empty string on success, otherwise the reason it failed.
QString writePicture(const QImage &image, const QString &path);
