#pragma once

#include <QObject>

class QMenu;
class QSystemTrayIcon;
class QTimer;
class QWidget;

namespace jot {

// How Jotlark reaches the user while its windows may be hidden: the tray icon with its menu,
// and notices of what happened. Its one way of telling is the tray's message; without a tray
// nothing is told. A tray that comes after the program (a start at log-in) is watched for.
class Notices : public QObject {
    Q_OBJECT
public:
    enum class Kind {
        Alarm,   // a task's alarm rang
        Warning, // the list could not be saved or read
    };

    // The menu is the window's child, so that it goes with the window.
    explicit Notices(QWidget* window);

    // Shows the icon, or watches for a tray to show it in.
    void addIcon();
    // The icon goes and the watch stops: the program is ending.
    void removeIcon();
    bool hasTray() const;
    void notify(Kind kind, const QString& message);

Q_SIGNALS:
    void activated(); // the icon clicked or double-clicked
    void newRequested();
    void restoreRequested();
    void exitRequested();
    void trayAppeared(); // after the program started without one

private:
    void checkTray();

    QMenu* mPopupSys = nullptr;
    QSystemTrayIcon* m_tray = nullptr;
    QTimer* m_trayWatch = nullptr;
    int m_trayChecks = 0;
};

} // namespace jot
