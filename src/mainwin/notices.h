// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QHash>
#include <QList>
#include <QObject>
#include <QString>
#include <utility>

class QMenu;
class QSystemTrayIcon;
class QTimer;
class QWidget;

namespace jot {

class DesktopNotifier;

// How Jotlark reaches the user while its windows may be hidden: the tray icon with its menu,
// and notices of what happened. A notice goes to the desktop's notification server; without
// one (or when it refuses), to the tray's message; without a tray nothing is told. A tray that
// comes after the program (a start at log-in) is watched for.
class Notices : public QObject {
    Q_OBJECT
public:
    // A task whose alarm rang.
    struct Ring {
        QString tag; // handed back by alarmShown() and alarmSnoozed()
        QString summary;
        QString alarm;
    };

    // The menu is the window's child, so that it goes with the window.
    explicit Notices(QWidget* window);

    // Shows the icon, or watches for a tray to show it in.
    void addIcon();
    // The same once the event loop runs, so after a window shown meanwhile: asking for the
    // tray takes round trips to the display. The tray's messages wait for it till then.
    void addIconSoon();
    // The icon goes and the watch stops: the program is ending.
    void removeIcon();
    bool hasTray() const;
    // A notification for each task; without a server one tray message lists them all.
    void alarms(const QList<Ring>& rung);
    // The list could not be saved or read.
    void warning(const QString& message);

Q_SIGNALS:
    void activated(); // the icon clicked or double-clicked
    void newRequested();
    void restoreRequested();
    void exitRequested();
    void trayAppeared();                 // after the program started without one
    void alarmShown(const QString& tag); // the notification's default action
    void alarmSnoozed(const QString& tag);

private:
    void checkTray();
    DesktopNotifier* notifier();
    void trayMessage(const QString& tag, const QString& message);

    QMenu* mPopupSys = nullptr;
    QSystemTrayIcon* m_tray = nullptr;
    QTimer* m_trayWatch = nullptr;
    int m_trayChecks = 0;
    bool m_iconComing = false;
    QList<std::pair<QString, QString>> m_held; // tray messages waiting for it: tag, message
    DesktopNotifier* m_notifier = nullptr;     // created when first needed: D-Bus costs at start
    // What each notification sent says in the tray should the server refuse it, by tag.
    QHash<QString, QString> m_sent;
};

} // namespace jot
