// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QAbstractNativeEventFilter>
#include <QDBusConnection>
#include <QObject>

class QDBusServiceWatcher;

namespace jot {

// Tells when a tray may have come, without asking at intervals: on X11 the new owner of the
// tray selection announces itself to every client (the MANAGER message on the root window);
// trays over D-Bus (StatusNotifierItem) come with org.kde.StatusNotifierWatcher on the
// session bus. The receiver then asks whether there is a tray.
class TrayWatch : public QObject, public QAbstractNativeEventFilter {
    Q_OBJECT
public:
    explicit TrayWatch(const QDBusConnection& bus, QObject* parent = nullptr);
    ~TrayWatch() override;

    bool nativeEventFilter(const QByteArray& eventType, void* message, qintptr* result) override;

Q_SIGNALS:
    void trayMayHaveCome();

private:
    void watchX11();

    quint32 m_manager = 0;   // the MANAGER atom, 0 without X11
    quint32 m_selection = 0; // _NET_SYSTEM_TRAY_S0
    QDBusServiceWatcher* m_dbus = nullptr;
};

} // namespace jot
