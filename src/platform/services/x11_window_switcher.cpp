#include "qt_services.h"

#include <QApplication>
#include <QSet>
#include <QWidget>
#include <cstdlib>
#include <cstring>
#include <xcb/xcb.h>

namespace quillory {

namespace {

xcb_atom_t atom(xcb_connection_t *c, const char *name)
{
    xcb_intern_atom_cookie_t cookie =
        xcb_intern_atom(c, 1, static_cast<uint16_t>(strlen(name)), name);
    xcb_intern_atom_reply_t *reply = xcb_intern_atom_reply(c, cookie, nullptr);
    xcb_atom_t result = reply ? reply->atom : static_cast<xcb_atom_t>(XCB_ATOM_NONE);
    free(reply);
    return result;
}

QList<xcb_window_t> windowList(xcb_connection_t *c, xcb_window_t window, xcb_atom_t property)
{
    QList<xcb_window_t> list;
    if (property == XCB_ATOM_NONE)
        return list;
    xcb_get_property_cookie_t cookie =
        xcb_get_property(c, 0, window, property, XCB_ATOM_WINDOW, 0, 4096);
    xcb_get_property_reply_t *reply = xcb_get_property_reply(c, cookie, nullptr);
    if (reply && reply->format == 32) {
        const auto *ids = static_cast<const xcb_window_t *>(xcb_get_property_value(reply));
        const int n = xcb_get_property_value_length(reply) / 4;
        for (int i = 0; i < n; ++i)
            list << ids[i];
    }
    free(reply);
    return list;
}

bool isHidden(xcb_connection_t *c, xcb_window_t window, xcb_atom_t state, xcb_atom_t hidden)
{
    if (state == XCB_ATOM_NONE || hidden == XCB_ATOM_NONE)
        return false;
    xcb_get_property_reply_t *reply = xcb_get_property_reply(
        c, xcb_get_property(c, 0, window, state, XCB_ATOM_ATOM, 0, 64), nullptr);
    bool result = false;
    if (reply && reply->format == 32) {
        const auto *atoms = static_cast<const xcb_atom_t *>(xcb_get_property_value(reply));
        const int n = xcb_get_property_value_length(reply) / 4;
        for (int i = 0; i < n; ++i)
            result = result || atoms[i] == hidden;
    }
    free(reply);
    return result;
}

} // namespace

void X11WindowSwitcher::activatePreviousWindow(QWidget *from)
{
    auto *x11 = qGuiApp ? qGuiApp->nativeInterface<QNativeInterface::QX11Application>() : nullptr;
    if (x11 == nullptr)
        return;
    xcb_connection_t *c = x11->connection();
    if (c == nullptr)
        return;
    const xcb_screen_t *screen = xcb_setup_roots_iterator(xcb_get_setup(c)).data;
    if (screen == nullptr)
        return;

    QSet<xcb_window_t> ours;
    for (QWidget *w : QApplication::topLevelWidgets())
        if (w->internalWinId() != 0)
            ours.insert(static_cast<xcb_window_t>(w->internalWinId()));
    if (from && from->window()->internalWinId() != 0)
        ours.insert(static_cast<xcb_window_t>(from->window()->internalWinId()));

    const xcb_atom_t stacking = atom(c, "_NET_CLIENT_LIST_STACKING");
    const xcb_atom_t active = atom(c, "_NET_ACTIVE_WINDOW");
    const xcb_atom_t state = atom(c, "_NET_WM_STATE");
    const xcb_atom_t hidden = atom(c, "_NET_WM_STATE_HIDDEN");
    const QList<xcb_window_t> stack = windowList(c, screen->root, stacking);
    for (int i = stack.size() - 1; i >= 0; --i) {
        const xcb_window_t target = stack[i];
        if (ours.contains(target) || isHidden(c, target, state, hidden))
            continue;
        xcb_client_message_event_t event{};
        event.response_type = XCB_CLIENT_MESSAGE;
        event.format = 32;
        event.window = target;
        event.type = active;
        event.data.data32[0] = 2; // request from a pager-like tool: always honoured
        event.data.data32[1] = XCB_CURRENT_TIME;
        xcb_send_event(c, 0, screen->root,
                       XCB_EVENT_MASK_SUBSTRUCTURE_REDIRECT | XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY,
                       reinterpret_cast<const char *>(&event));
        xcb_flush(c);
        return;
    }
}

} // namespace quillory
