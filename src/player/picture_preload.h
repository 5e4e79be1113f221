#pragma once

#include <QImage>
#include <QString>
#include <QStringList>

namespace quillory {

// Pictures decoded on a worker ahead of their first use: the start-up names the
// ones the player's first frame shows, so the GUI thread, building the window
// meanwhile, only has to put them on screen. Decoding needs the application
// object; start() is called once it exists.
class PicturePreload {
public:
    // Starts decoding `paths` on a worker, in order.
    static void start(const QStringList &paths);
    // The picture at `path`: the one decoded ahead (waiting for the worker if it
    // has not got there yet), or, for a path never named, read now.
    static QImage read(const QString &path);
    // Waits for the worker to end; called before the application object goes.
    static void finish();
};

} // namespace quillory
