#include "mainwin/notices.h"

#include "mainwin/tray.h"
#include "ui/programicon.h"

#include <QMenu>
#include <QSystemTrayIcon>
#include <QTimer>
#include <QWidget>

namespace jot {

namespace {

// A program started at log-in may come before the panel that holds the tray.
constexpr int kTrayWatchMs = 2000;
constexpr int kTrayWatchChecks = 60;

} // namespace

Notices::Notices(QWidget* window) : QObject(window) {
    setObjectName(QStringLiteral("m_notices"));
    // Only ever shown by the tray icon.
    mPopupSys = new QMenu(tr("&SysTRay"), window);
    mPopupSys->setObjectName(QStringLiteral("mPopupSys"));
    const auto item = [this](const char* name, const QString& caption, void (Notices::*signal)()) {
        QAction* a = mPopupSys->addAction(caption);
        a->setObjectName(QLatin1String(name));
        connect(a, &QAction::triggered, this, signal);
    };
    item("mPopNew", tr("&New"), &Notices::newRequested);
    item("mPopRestore", tr("&Restore"), &Notices::restoreRequested);
    item("mPopExit", tr(" &Exit"), &Notices::exitRequested);

    m_tray = new QSystemTrayIcon(programIcon(), this);
    m_tray->setToolTip(QStringLiteral("Jotlark"));
    m_tray->setContextMenu(mPopupSys);
    connect(m_tray, &QSystemTrayIcon::activated, this,
            [this](QSystemTrayIcon::ActivationReason reason) {
                if (reason == QSystemTrayIcon::Trigger || reason == QSystemTrayIcon::DoubleClick)
                    Q_EMIT activated();
            });
}

void Notices::addIcon() {
    if (trayAvailable()) {
        m_tray->show();
        return;
    }
    m_trayWatch = new QTimer(this);
    m_trayWatch->setObjectName(QStringLiteral("m_trayWatch"));
    m_trayWatch->setInterval(kTrayWatchMs);
    connect(m_trayWatch, &QTimer::timeout, this, &Notices::checkTray);
    m_trayWatch->start();
}

void Notices::checkTray() {
    if (trayAvailable()) {
        m_trayWatch->stop();
        m_tray->show();
        Q_EMIT trayAppeared();
    } else if (++m_trayChecks >= kTrayWatchChecks) {
        m_trayWatch->stop();
    }
}

void Notices::removeIcon() {
    m_tray->hide();
    if (m_trayWatch)
        m_trayWatch->stop();
}

bool Notices::hasTray() const {
    return m_tray->isVisible();
}

void Notices::notify(Kind kind, const QString& message) {
    if (hasTray())
        m_tray->showMessage(QStringLiteral("Jotlark"), message,
                            kind == Kind::Warning ? QSystemTrayIcon::Warning
                                                  : QSystemTrayIcon::Information);
}

} // namespace jot
