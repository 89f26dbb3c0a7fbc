// SPDX-License-Identifier: GPL-3.0-or-later
#include "desktop/traywatch.h"

#include <QCoreApplication>
#include <QDBusServiceWatcher>
#include <QGuiApplication>
#include <xcb/xcb.h>

namespace jot {

TrayWatch::TrayWatch(const QDBusConnection& bus, QObject* parent) : QObject(parent) {
    watchX11();
    if (bus.isConnected()) {
        m_dbus = new QDBusServiceWatcher(QStringLiteral("org.kde.StatusNotifierWatcher"), bus,
                                         QDBusServiceWatcher::WatchForRegistration, this);
        connect(m_dbus, &QDBusServiceWatcher::serviceRegistered, this, &TrayWatch::trayMayHaveCome);
    }
}

TrayWatch::~TrayWatch() {
    if (m_manager)
        QCoreApplication::instance()->removeNativeEventFilter(this);
}

void TrayWatch::watchX11() {
    const auto* x11 =
        qGuiApp ? qGuiApp->nativeInterface<QNativeInterface::QX11Application>() : nullptr;
    xcb_connection_t* c = x11 ? x11->connection() : nullptr;
    if (!c)
        return;
    const xcb_screen_t* screen = xcb_setup_roots_iterator(xcb_get_setup(c)).data;
    const auto atom = [c](const char* name) {
        xcb_intern_atom_reply_t* r =
            xcb_intern_atom_reply(c, xcb_intern_atom(c, 0, uint16_t(qstrlen(name)), name), nullptr);
        const xcb_atom_t a = r ? r->atom : xcb_atom_t(XCB_ATOM_NONE);
        free(r);
        return a;
    };
    m_manager = atom("MANAGER");
    m_selection = atom("_NET_SYSTEM_TRAY_S0");
    if (!screen || !m_manager) {
        m_manager = 0;
        return;
    }
    // The tray's announcement goes to the root window's structure listeners: added to what
    // Qt already listens for there, never in its place.
    xcb_get_window_attributes_reply_t* a =
        xcb_get_window_attributes_reply(c, xcb_get_window_attributes(c, screen->root), nullptr);
    const uint32_t mask = (a ? a->your_event_mask : 0) | XCB_EVENT_MASK_STRUCTURE_NOTIFY;
    free(a);
    xcb_change_window_attributes(c, screen->root, XCB_CW_EVENT_MASK, &mask);
    xcb_flush(c);
    QCoreApplication::instance()->installNativeEventFilter(this);
}

bool TrayWatch::nativeEventFilter(const QByteArray& eventType, void* message, qintptr*) {
    if (eventType != "xcb_generic_event_t")
        return false;
    const auto* event = static_cast<xcb_generic_event_t*>(message);
    if ((event->response_type & 0x7f) != XCB_CLIENT_MESSAGE)
        return false;
    const auto* m = static_cast<xcb_client_message_event_t*>(message);
    // Asked once Qt has seen the message too: it finds the tray by the same announcement.
    if (m->type == m_manager && m->format == 32 && m->data.data32[1] == m_selection)
        QMetaObject::invokeMethod(this, &TrayWatch::trayMayHaveCome, Qt::QueuedConnection);
    return false;
}

} // namespace jot
