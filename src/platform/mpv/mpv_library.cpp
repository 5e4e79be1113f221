#include "platform/mpv/mpv_library.h"

#include <QHash>
#include <dlfcn.h>
#include <memory>
#include <mutex>

namespace quillory {

namespace {

struct Loaded {
    std::unique_ptr<MpvLibrary> library; // null when loading failed
    QString error;
};

template <typename F> bool resolve(void *handle, F *function, const char *name, QString *missing)
{
    *function = reinterpret_cast<F>(dlsym(handle, name));
    if (*function == nullptr && missing->isEmpty())
        *missing = QString::fromLatin1(name);
    return *function != nullptr;
}

// Missing ones stay null: the player then has no picture, only sound.
void loadVideoFunctions(void *handle, MpvLibrary *library)
{
    QString ignored;
    resolve(handle, &library->renderContextCreate, "mpv_render_context_create", &ignored);
    resolve(handle, &library->renderContextFree, "mpv_render_context_free", &ignored);
    resolve(handle, &library->renderContextRender, "mpv_render_context_render", &ignored);
    resolve(handle, &library->renderContextSetUpdateCallback,
            "mpv_render_context_set_update_callback", &ignored);
    resolve(handle, &library->renderContextUpdate, "mpv_render_context_update", &ignored);
    resolve(handle, &library->createClient, "mpv_create_client", &ignored);
    resolve(handle, &library->destroy, "mpv_destroy", &ignored);
    resolve(handle, &library->unobserveProperty, "mpv_unobserve_property", &ignored);
}

Loaded loadLibrary(const QByteArray &name)
{
    Loaded result;
    void *handle = dlopen(name.constData(), RTLD_NOW | RTLD_LOCAL);
    if (handle == nullptr) {
        const char *why = dlerror();
        result.error = why != nullptr ? QString::fromLocal8Bit(why) : QString::fromLatin1(name);
        return result;
    }
    auto library = std::make_unique<MpvLibrary>();
    QString missing;
    bool all = true;
    all &= resolve(handle, &library->create, "mpv_create", &missing);
    all &= resolve(handle, &library->initialize, "mpv_initialize", &missing);
    all &= resolve(handle, &library->terminateDestroy, "mpv_terminate_destroy", &missing);
    all &= resolve(handle, &library->setOptionString, "mpv_set_option_string", &missing);
    all &= resolve(handle, &library->setWakeupCallback, "mpv_set_wakeup_callback", &missing);
    all &= resolve(handle, &library->waitEvent, "mpv_wait_event", &missing);
    all &= resolve(handle, &library->command, "mpv_command", &missing);
    all &= resolve(handle, &library->commandRet, "mpv_command_ret", &missing);
    all &= resolve(handle, &library->freeNodeContents, "mpv_free_node_contents", &missing);
    all &= resolve(handle, &library->getProperty, "mpv_get_property", &missing);
    all &= resolve(handle, &library->getPropertyString, "mpv_get_property_string", &missing);
    all &= resolve(handle, &library->setProperty, "mpv_set_property", &missing);
    all &= resolve(handle, &library->observeProperty, "mpv_observe_property", &missing);
    all &= resolve(handle, &library->free, "mpv_free", &missing);
    loadVideoFunctions(handle, library.get());
    using ClientApiVersion = unsigned long (*)();
    auto version = reinterpret_cast<ClientApiVersion>(dlsym(handle, "mpv_client_api_version"));
    if (!all) {
        result.error = QStringLiteral("%1 lacks %2").arg(QString::fromLatin1(name), missing);
    } else if (version == nullptr || (version() >> 16) != (MPV_CLIENT_API_VERSION >> 16)) {
        // Another major version may lay out events and nodes differently.
        result.error =
            QStringLiteral("%1 has another client API version").arg(QString::fromLatin1(name));
    } else {
        result.library = std::move(library);
        return result; // kept loaded: mpv's threads and handlers live in it
    }
    dlclose(handle);
    return result;
}

} // namespace

const MpvLibrary *MpvLibrary::load(const QByteArray &name, QString *error)
{
    static std::mutex mutex;
    // Lives as long as the process, like the libraries it holds.
    static auto *loaded = new QHash<QByteArray, Loaded *>;
    std::lock_guard<std::mutex> lock(mutex);
    Loaded *&entry = (*loaded)[name];
    if (entry == nullptr)
        entry = new Loaded(loadLibrary(name));
    if (error != nullptr)
        *error = entry->error;
    return entry->library.get();
}

} // namespace quillory
