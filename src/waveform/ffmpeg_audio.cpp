#include "ffmpeg_audio.h"

#include <dlfcn.h>
#include <mutex>

namespace quillory {

namespace {

struct Loaded {
    FfmpegAudio functions;
    bool ok = false;
    QString why;
};

void *openLibrary(const char *stem, int major, QString *why)
{
    const QByteArray name = QByteArray(stem) + ".so." + QByteArray::number(major);
    void *handle = dlopen(name.constData(), RTLD_NOW | RTLD_LOCAL);
    if (!handle && why->isEmpty())
        *why = QString::fromUtf8(dlerror());
    return handle;
}

template <typename F> bool resolve(void *library, const char *name, F *slot)
{
    *slot = library ? reinterpret_cast<F>(dlsym(library, name)) : nullptr;
    return *slot != nullptr;
}

Loaded load()
{
    Loaded loaded;
    // Kept loaded for the rest of the run: decoders may be made at any time.
    void *format = openLibrary("libavformat", LIBAVFORMAT_VERSION_MAJOR, &loaded.why);
    void *codec = openLibrary("libavcodec", LIBAVCODEC_VERSION_MAJOR, &loaded.why);
    void *util = openLibrary("libavutil", LIBAVUTIL_VERSION_MAJOR, &loaded.why);
    void *resample = openLibrary("libswresample", LIBSWRESAMPLE_VERSION_MAJOR, &loaded.why);
    FfmpegAudio &f = loaded.functions;
#define QUILLORY_RESOLVE(library, name) resolve(library, #name, &f.name)
    loaded.ok =
        QUILLORY_RESOLVE(format, avformat_alloc_context) &&
        QUILLORY_RESOLVE(format, avformat_open_input) &&
        QUILLORY_RESOLVE(format, avformat_find_stream_info) &&
        QUILLORY_RESOLVE(format, avformat_close_input) &&
        QUILLORY_RESOLVE(format, av_find_best_stream) && QUILLORY_RESOLVE(format, av_read_frame) &&
        QUILLORY_RESOLVE(format, av_seek_frame) &&
        QUILLORY_RESOLVE(codec, avcodec_alloc_context3) &&
        QUILLORY_RESOLVE(codec, avcodec_free_context) &&
        QUILLORY_RESOLVE(codec, avcodec_parameters_to_context) &&
        QUILLORY_RESOLVE(codec, avcodec_open2) && QUILLORY_RESOLVE(codec, avcodec_send_packet) &&
        QUILLORY_RESOLVE(codec, avcodec_receive_frame) &&
        QUILLORY_RESOLVE(codec, avcodec_flush_buffers) &&
        QUILLORY_RESOLVE(codec, av_packet_alloc) && QUILLORY_RESOLVE(codec, av_packet_free) &&
        QUILLORY_RESOLVE(codec, av_packet_unref) && QUILLORY_RESOLVE(util, av_frame_alloc) &&
        QUILLORY_RESOLVE(util, av_frame_free) && QUILLORY_RESOLVE(util, av_frame_unref) &&
        QUILLORY_RESOLVE(util, av_rescale_q) && QUILLORY_RESOLVE(util, av_rescale) &&
        QUILLORY_RESOLVE(util, av_strerror) && QUILLORY_RESOLVE(resample, swr_alloc_set_opts2) &&
        QUILLORY_RESOLVE(resample, swr_init) && QUILLORY_RESOLVE(resample, swr_convert) &&
        QUILLORY_RESOLVE(resample, swr_free);
#undef QUILLORY_RESOLVE
    if (!loaded.ok && loaded.why.isEmpty())
        loaded.why = QStringLiteral("FFmpeg's libraries lack a function the decoder needs");
    return loaded;
}

} // namespace

const FfmpegAudio *FfmpegAudio::get(QString *why)
{
    static std::once_flag once;
    static Loaded loaded;
    std::call_once(once, [] { loaded = load(); });
    if (!loaded.ok) {
        if (why)
            *why = loaded.why;
        return nullptr;
    }
    return &loaded.functions;
}

} // namespace quillory
