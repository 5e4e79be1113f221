#pragma once

#include <QSize>
#include <QString>
#include <QVector>

#include <functional>

class QPainter;
class QSizeF;

// Every picture the program ships: its file name in the Files folder, its
// design size in pixels (the size of the control that shows it), and how to
// draw it. The file name's suffix chooses the file format.
struct PictureEntry {
    QString fileName;
    QSize designSize;
    std::function<void(QPainter &, QSizeF)> draw;
};

QVector<PictureEntry> pictureCatalogue();
