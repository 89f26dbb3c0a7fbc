// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "alarms/snooze.h"

#include <QHash>
#include <QList>
#include <QObject>
#include <QString>
#include <memory>
#include <utility>

class QMenu;
class QSystemTrayIcon;
class QTimer;
class QWidget;

namespace jot {

class DesktopNotifier;
class SoundPlayer;
class TrayWatch;

// How Jotlark reaches the user while its windows may be hidden: the tray icon with its menu,
// and notices of what happened. A notice goes to the desktop's notification server; without
// one (or when it refuses), to the tray's message; without a tray nothing is told. A tray that
// comes after the program (a start at log-in) is watched for. Alarms ring aloud: the server
// plays their sound when it can, the program itself when it cannot or when there is none.
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
    ~Notices() override;

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
    // The list could not be saved or read, or a task asked from elsewhere not added.
    void warning(const QString& message);
    // The user dealt with the alarm: its notification goes.
    void withdraw(const QString& tag);
    // Whether alarms are heard: the server's sound hint and the program's own sound.
    void setSound(bool on);

Q_SIGNALS:
    void activated(); // the icon clicked or double-clicked
    void newRequested();
    void restoreRequested();
    void exitRequested();
    void trayAppeared();                 // after the program started without one
    void alarmShown(const QString& tag); // the notification's default action
    void alarmSnoozed(const QString& tag, jot::Snooze how);

private:
    void checkTray();
    DesktopNotifier* notifier();
    void trayMessage(const QString& tag, const QString& message);
    void playSound();

    QMenu* mPopupSys = nullptr;
    QSystemTrayIcon* m_tray = nullptr;
    TrayWatch* m_trayWatch = nullptr; // while there is no tray
    bool m_iconComing = false;
    QList<std::pair<QString, QString>> m_held; // tray messages waiting for it: tag, message
    DesktopNotifier* m_notifier = nullptr;     // created when first needed: D-Bus costs at start
    // What each notification sent says in the tray should the server refuse it, by tag.
    QHash<QString, QString> m_sent;
    bool m_sound = true;
    std::unique_ptr<SoundPlayer> m_player; // made at the first sound it plays
};

} // namespace jot
