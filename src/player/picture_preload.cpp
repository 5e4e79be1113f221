#include "picture_preload.h"

#include "platform/files/text_file.h"

#include <QHash>
#include <QSet>
#include <condition_variable>
#include <mutex>
#include <thread>

namespace quillory {

namespace {

// Owns its worker: one still running at the program's end is waited for, never
// left to end the program from std::thread's destructor.
struct Preload {
    ~Preload()
    {
        if (worker.joinable())
            worker.join();
    }
    std::mutex mutex;
    std::condition_variable decoded;
    QSet<QString> pending;
    QHash<QString, QImage> images;
    std::thread worker;
};

Preload &preload()
{
    static Preload state;
    return state;
}

QImage decode(const QString &path)
{
    QByteArray bytes;
    return readRegularFile(path, PictureFileLimit, &bytes) ? QImage::fromData(bytes) : QImage();
}

} // namespace

void PicturePreload::start(const QStringList &paths)
{
    Preload &state = preload();
    finish();
    {
        std::lock_guard<std::mutex> lock(state.mutex);
        for (const QString &path : paths)
            if (!state.images.contains(path))
                state.pending.insert(path);
    }
    state.worker = std::thread([paths, &state] {
        for (const QString &path : paths) {
            {
                std::lock_guard<std::mutex> lock(state.mutex);
                if (!state.pending.contains(path))
                    continue;
            }
            QImage image = decode(path);
            std::lock_guard<std::mutex> lock(state.mutex);
            state.images.insert(path, std::move(image));
            state.pending.remove(path);
            state.decoded.notify_all();
        }
    });
}

QImage PicturePreload::read(const QString &path)
{
    Preload &state = preload();
    {
        std::unique_lock<std::mutex> lock(state.mutex);
        state.decoded.wait(lock, [&] { return !state.pending.contains(path); });
        const auto known = state.images.constFind(path);
        if (known != state.images.cend())
            return *known;
    }
    return decode(path);
}

void PicturePreload::finish()
{
    Preload &state = preload();
    if (state.worker.joinable())
        state.worker.join();
}

} // namespace quillory
