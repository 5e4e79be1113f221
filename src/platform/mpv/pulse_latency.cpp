#include "platform/mpv/pulse_latency.h"

#include <pulse/context.h>
#include <pulse/introspect.h>
#include <pulse/mainloop.h>
#include <pulse/operation.h>
#include <pulse/proplist.h>

#include <QByteArray>
#include <QDeadlineTimer>
#include <dlfcn.h>
#include <unistd.h>

namespace quillory {

namespace {

// The few libpulse functions used, resolved from the library at run time so that
// a machine without PulseAudio still runs the program.
struct PulseApi {
    void *library = nullptr;
    decltype(&pa_mainloop_new) mainloopNew = nullptr;
    decltype(&pa_mainloop_get_api) mainloopGetApi = nullptr;
    decltype(&pa_mainloop_prepare) mainloopPrepare = nullptr;
    decltype(&pa_mainloop_poll) mainloopPoll = nullptr;
    decltype(&pa_mainloop_dispatch) mainloopDispatch = nullptr;
    decltype(&pa_mainloop_free) mainloopFree = nullptr;
    decltype(&pa_context_new) contextNew = nullptr;
    decltype(&pa_context_connect) contextConnect = nullptr;
    decltype(&pa_context_get_state) contextGetState = nullptr;
    decltype(&pa_context_disconnect) contextDisconnect = nullptr;
    decltype(&pa_context_unref) contextUnref = nullptr;
    decltype(&pa_context_get_sink_input_info_list) sinkInputInfoList = nullptr;
    decltype(&pa_operation_get_state) operationGetState = nullptr;
    decltype(&pa_operation_cancel) operationCancel = nullptr;
    decltype(&pa_operation_unref) operationUnref = nullptr;
    decltype(&pa_proplist_gets) proplistGets = nullptr;

    template <typename F> bool resolve(F *function, const char *name)
    {
        *function = reinterpret_cast<F>(dlsym(library, name));
        return *function != nullptr;
    }

    bool load()
    {
        library = dlopen("libpulse.so.0", RTLD_NOW | RTLD_LOCAL);
        if (library == nullptr)
            return false;
        const bool all = resolve(&mainloopNew, "pa_mainloop_new") &&
                         resolve(&mainloopGetApi, "pa_mainloop_get_api") &&
                         resolve(&mainloopPrepare, "pa_mainloop_prepare") &&
                         resolve(&mainloopPoll, "pa_mainloop_poll") &&
                         resolve(&mainloopDispatch, "pa_mainloop_dispatch") &&
                         resolve(&mainloopFree, "pa_mainloop_free") &&
                         resolve(&contextNew, "pa_context_new") &&
                         resolve(&contextConnect, "pa_context_connect") &&
                         resolve(&contextGetState, "pa_context_get_state") &&
                         resolve(&contextDisconnect, "pa_context_disconnect") &&
                         resolve(&contextUnref, "pa_context_unref") &&
                         resolve(&sinkInputInfoList, "pa_context_get_sink_input_info_list") &&
                         resolve(&operationGetState, "pa_operation_get_state") &&
                         resolve(&operationCancel, "pa_operation_cancel") &&
                         resolve(&operationUnref, "pa_operation_unref") &&
                         resolve(&proplistGets, "pa_proplist_gets");
        if (!all) {
            dlclose(library);
            library = nullptr;
        }
        return all;
    }
};

constexpr int ConnectTimeoutMs = 500;
constexpr int QueryTimeoutMs = 100;

} // namespace

struct PulseSinkLatency::Connection {
    PulseApi api;
    pa_mainloop *mainloop = nullptr;
    pa_context *context = nullptr;

    ~Connection()
    {
        if (context != nullptr) {
            api.contextDisconnect(context);
            api.contextUnref(context);
        }
        if (mainloop != nullptr)
            api.mainloopFree(mainloop);
        // libpulse stays loaded: its atexit handlers and threads may still refer to it.
    }

    // One bounded turn of our private main loop; false on a loop error.
    bool turn(const QDeadlineTimer &deadline)
    {
        const qint64 left = std::max<qint64>(deadline.remainingTime(), 0);
        if (api.mainloopPrepare(mainloop, int(left * 1000)) < 0)
            return false;
        if (api.mainloopPoll(mainloop) < 0)
            return false;
        return api.mainloopDispatch(mainloop) >= 0;
    }

    bool connect()
    {
        if (!api.load())
            return false;
        mainloop = api.mainloopNew();
        if (mainloop == nullptr)
            return false;
        context = api.contextNew(api.mainloopGetApi(mainloop), "Quillory position");
        if (context == nullptr ||
            api.contextConnect(context, nullptr, PA_CONTEXT_NOAUTOSPAWN, nullptr) < 0)
            return false;
        const QDeadlineTimer deadline(ConnectTimeoutMs);
        while (!deadline.hasExpired()) {
            const pa_context_state_t state = api.contextGetState(context);
            if (state == PA_CONTEXT_READY)
                return true;
            if (!PA_CONTEXT_IS_GOOD(state) || !turn(deadline))
                return false;
        }
        return false;
    }
};

PulseSinkLatency::PulseSinkLatency() = default;
PulseSinkLatency::~PulseSinkLatency() = default;

namespace {

struct SinkInputQuery {
    const PulseApi *api = nullptr;
    QByteArray pid;
    bool corked = false; // the state of the stream asked about
    std::optional<long long> heldUs;
    std::optional<long long> queuedUs;
};

void onSinkInput(pa_context *, const pa_sink_input_info *info, int eol, void *userdata)
{
    auto *query = static_cast<SinkInputQuery *>(userdata);
    if (eol != 0 || info == nullptr || (info->corked != 0) != query->corked)
        return;
    const char *pid = query->api->proplistGets(info->proplist, PA_PROP_APPLICATION_PROCESS_ID);
    if (pid != nullptr && query->pid == pid) {
        query->heldUs = static_cast<long long>(info->sink_usec);
        query->queuedUs = static_cast<long long>(info->buffer_usec);
    }
}

} // namespace

std::optional<long long> PulseSinkLatency::heldMicroseconds()
{
    return query(false);
}

std::optional<long long> PulseSinkLatency::heldAfterPauseMicroseconds()
{
    return query(true);
}

std::optional<long long> PulseSinkLatency::query(bool corked)
{
    m_queuedUs.reset();
    if (m_failed)
        return std::nullopt;
    if (!m_connection) {
        m_connection = std::make_unique<Connection>();
        if (!m_connection->connect()) {
            m_connection.reset();
            m_failed = true; // no server now: none is looked for again
            return std::nullopt;
        }
    }
    Connection &c = *m_connection;
    if (c.api.contextGetState(c.context) != PA_CONTEXT_READY) {
        m_connection.reset(); // the server went away; try a new connection next time
        return std::nullopt;
    }
    SinkInputQuery query;
    query.api = &c.api;
    query.pid = QByteArray::number(qint64(getpid()));
    query.corked = corked;
    pa_operation *operation = c.api.sinkInputInfoList(c.context, &onSinkInput, &query);
    if (operation == nullptr)
        return std::nullopt;
    const QDeadlineTimer deadline(QueryTimeoutMs);
    while (c.api.operationGetState(operation) == PA_OPERATION_RUNNING && !deadline.hasExpired()) {
        if (!c.turn(deadline))
            break;
    }
    const bool done = c.api.operationGetState(operation) == PA_OPERATION_DONE;
    if (!done)
        c.api.operationCancel(operation);
    c.api.operationUnref(operation);
    if (!done)
        return std::nullopt;
    m_queuedUs = query.queuedUs;
    return query.heldUs;
}

} // namespace quillory
