// make_pictures: draws every picture of the program (player buttons and their
// hover versions, the volume knob and track, the file-label picture and the
// editor's icon strip) with QPainter and writes them into the folder given on
// the command line. The output is checked in under resources/Files; rerun this
// tool after changing a drawing and check the new files in.
//
// Every picture is rendered at 2x its design pixel size (design size = the
// control's size in twips / 15). The windows draw them scaled into the design
// rectangle with smooth scaling, so they stay sharp on high-DPI screens.
//
// Usage: make_pictures <output-folder>
//        make_pictures --app-icon <icon-theme-folder>   (the desktop icon, SVG and PNG sizes)

#include "AppIcon.h"
#include "DesignCanvas.h"
#include "PictureCatalogue.h"
#include "PictureWriter.h"

#include <QDir>
#include <QGuiApplication>
#include <QTextStream>

int main(int argc, char *argv[])
{
    // Text drawing needs a GUI application, but never a display.
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    QTextStream out(stdout);
    QTextStream err(stderr);

    const QStringList args = QCoreApplication::arguments();
    if (args.size() == 3 && args.at(1) == QLatin1String("--app-icon")) {
        QString error;
        for (const QString &path : AppIcon::writeIconTheme(args.at(2), &error))
            out << path << '\n';
        if (!error.isEmpty())
            err << error << '\n';
        return error.isEmpty() ? 0 : 1;
    }
    if (args.size() != 2) {
        err << "usage: make_pictures <output-folder> | --app-icon <icon-theme-folder>\n";
        return 2;
    }
    QDir folder(args.at(1));
    if (!folder.mkpath(QStringLiteral("."))) {
        err << "cannot create " << folder.path() << '\n';
        return 1;
    }

    int failures = 0;
    for (const PictureEntry &entry : pictureCatalogue()) {
        const QImage image = paintDesignPicture(
            entry.designSize, [&entry](QPainter &p) { entry.draw(p, QSizeF(entry.designSize)); });
        const QString path = folder.filePath(entry.fileName);
        const QString error = writePicture(image, path);
        if (error.isEmpty()) {
            out << path << ' ' << image.width() << 'x' << image.height() << '\n';
        } else {
            err << path << ": " << error << '\n';
            ++failures;
        }
    }
    return failures == 0 ? 0 : 1;
}
