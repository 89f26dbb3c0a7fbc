// SPDX-License-Identifier: GPL-3.0-or-later
#include "notes/stacking.h"

#include <QGuiApplication>
#include <QWidget>
#include <xcb/xcb.h>

namespace jot {

namespace {

constexpr uint32_t kAllDesktops = 0xFFFFFFFF;
// _NET_WM_STATE's actions, and the source that says a program (not a pager) asks.
constexpr uint32_t kRemove = 0;
constexpr uint32_t kAdd = 1;
constexpr uint32_t kFromProgram = 1;

xcb_connection_t* x11() {
    auto* x = qGuiApp ? qGuiApp->nativeInterface<QNativeInterface::QX11Application>() : nullptr;
    return x ? x->connection() : nullptr;
}

xcb_atom_t atom(xcb_connection_t* c, const char* name) {
    xcb_intern_atom_reply_t* r =
        xcb_intern_atom_reply(c, xcb_intern_atom(c, 0, uint16_t(qstrlen(name)), name), nullptr);
    const xcb_atom_t a = r ? r->atom : xcb_atom_t(XCB_ATOM_NONE);
    free(r);
    return a;
}

xcb_window_t rootOf(xcb_connection_t* c, xcb_window_t w) {
    xcb_query_tree_reply_t* r = xcb_query_tree_reply(c, xcb_query_tree(c, w), nullptr);
    const xcb_window_t root = r ? r->root : xcb_setup_roots_iterator(xcb_get_setup(c)).data->root;
    free(r);
    return root;
}

// A cardinal property of the root window, or `fallback`.
uint32_t rootCardinal(xcb_connection_t* c, xcb_window_t root, const char* name, uint32_t fallback) {
    xcb_get_property_reply_t* r = xcb_get_property_reply(
        c, xcb_get_property(c, 0, root, atom(c, name), XCB_ATOM_CARDINAL, 0, 1), nullptr);
    uint32_t value = fallback;
    if (r && r->format == 32 && xcb_get_property_value_length(r) >= 4)
        value = *static_cast<const uint32_t*>(xcb_get_property_value(r));
    free(r);
    return value;
}

void sendToRoot(xcb_connection_t* c, xcb_window_t w, xcb_atom_t type,
                std::initializer_list<uint32_t> data) {
    xcb_client_message_event_t event{};
    event.response_type = XCB_CLIENT_MESSAGE;
    event.format = 32;
    event.window = w;
    event.type = type;
    int i = 0;
    for (const uint32_t d : data)
        event.data.data32[i++] = d;
    xcb_send_event(c, 0, rootOf(c, w),
                   XCB_EVENT_MASK_SUBSTRUCTURE_REDIRECT | XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY,
                   reinterpret_cast<const char*>(&event));
}

// Adds `state` to, or removes it from, the _NET_WM_STATE of a window not yet mapped; the
// toolkit adds its own states to it when it maps the window.
void setUnmappedState(xcb_connection_t* c, xcb_window_t w, xcb_atom_t state, bool on) {
    const xcb_atom_t netWmState = atom(c, "_NET_WM_STATE");
    xcb_get_property_reply_t* r = xcb_get_property_reply(
        c, xcb_get_property(c, 0, w, netWmState, XCB_ATOM_ATOM, 0, 1024), nullptr);
    QList<xcb_atom_t> states;
    if (r && r->format == 32) {
        const auto* data = static_cast<const xcb_atom_t*>(xcb_get_property_value(r));
        states = QList<xcb_atom_t>(data, data + xcb_get_property_value_length(r) / 4);
    }
    free(r);
    states.removeAll(state);
    if (on)
        states.append(state);
    xcb_change_property(c, XCB_PROP_MODE_REPLACE, w, netWmState, XCB_ATOM_ATOM, 32,
                        uint32_t(states.size()), states.constData());
}

void askState(QWidget* window, const char* name, bool on, bool mapped) {
    xcb_connection_t* c = x11();
    if (!c)
        return;
    const auto w = xcb_window_t(window->winId());
    if (mapped)
        sendToRoot(c, w, atom(c, "_NET_WM_STATE"),
                   {on ? kAdd : kRemove, atom(c, name), 0, kFromProgram, 0});
    else
        setUnmappedState(c, w, atom(c, name), on);
}

} // namespace

bool canAskStacking() {
    return !QGuiApplication::platformName().startsWith(QLatin1String("wayland"));
}

void askAbove(QWidget* window, bool on, bool mapped) {
    askState(window, "_NET_WM_STATE_ABOVE", on, mapped);
    if (xcb_connection_t* c = x11())
        xcb_flush(c);
}

void askOnAllWorkspaces(QWidget* window, bool on, bool mapped) {
    xcb_connection_t* c = x11();
    if (!c)
        return;
    askState(window, "_NET_WM_STATE_STICKY", on, mapped);
    const auto w = xcb_window_t(window->winId());
    const xcb_atom_t desktop = atom(c, "_NET_WM_DESKTOP");
    // Taken off every workspace, a note stays on the one in view.
    const uint32_t where =
        on ? kAllDesktops : rootCardinal(c, rootOf(c, w), "_NET_CURRENT_DESKTOP", 0);
    if (mapped)
        sendToRoot(c, w, desktop, {where, kFromProgram, 0, 0, 0});
    else if (on)
        xcb_change_property(c, XCB_PROP_MODE_REPLACE, w, desktop, XCB_ATOM_CARDINAL, 32, 1, &where);
    else
        xcb_delete_property(c, w, desktop);
    xcb_flush(c);
}

} // namespace jot
