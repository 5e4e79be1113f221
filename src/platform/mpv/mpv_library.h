#pragma once

#include <mpv/client.h>
#include <mpv/render.h>

#include <QByteArray>
#include <QString>

namespace quillory {

// libmpv's functions, resolved from the shared library at run time: the program
// starts (and shows its window) without waiting for libmpv and the ~190
// libraries it pulls in, and a machine without libmpv gets a message instead of
// a program that cannot start. Only libmpv's header is used at build time.
struct MpvLibrary {
    decltype(&mpv_create) create = nullptr;
    decltype(&mpv_initialize) initialize = nullptr;
    decltype(&mpv_terminate_destroy) terminateDestroy = nullptr;
    decltype(&mpv_set_option_string) setOptionString = nullptr;
    decltype(&mpv_set_wakeup_callback) setWakeupCallback = nullptr;
    decltype(&mpv_wait_event) waitEvent = nullptr;
    decltype(&mpv_command) command = nullptr;
    decltype(&mpv_command_ret) commandRet = nullptr;
    decltype(&mpv_free_node_contents) freeNodeContents = nullptr;
    decltype(&mpv_get_property) getProperty = nullptr;
    decltype(&mpv_get_property_string) getPropertyString = nullptr;
    decltype(&mpv_set_property) setProperty = nullptr;
    decltype(&mpv_observe_property) observeProperty = nullptr;
    decltype(&mpv_free) free = nullptr;

    // Optional: picture output and a second client for watching the player. A
    // libmpv without them plays sound only; hasVideoOutput() says which.
    decltype(&mpv_render_context_create) renderContextCreate = nullptr;
    decltype(&mpv_render_context_free) renderContextFree = nullptr;
    decltype(&mpv_render_context_render) renderContextRender = nullptr;
    decltype(&mpv_render_context_set_update_callback) renderContextSetUpdateCallback = nullptr;
    decltype(&mpv_render_context_update) renderContextUpdate = nullptr;
    decltype(&mpv_create_client) createClient = nullptr;
    decltype(&mpv_destroy) destroy = nullptr;
    decltype(&mpv_unobserve_property) unobserveProperty = nullptr;
    bool hasVideoOutput() const
    {
        return renderContextCreate && renderContextFree && renderContextRender &&
               renderContextSetUpdateCallback && renderContextUpdate && createClient && destroy;
    }

    // The library file whose client API this build's header describes.
    static constexpr const char *DefaultName = "libmpv.so.2";

    // Loads `name` once per process and name (thread-safe); the library stays
    // loaded until the process ends. Nothing when it is missing, is no libmpv,
    // or lacks a function; `error` then says why.
    static const MpvLibrary *load(const QByteArray &name, QString *error = nullptr);
};

} // namespace quillory
