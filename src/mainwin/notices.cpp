// SPDX-License-Identifier: GPL-3.0-or-later
#include "mainwin/notices.h"

#include "desktop/desktopnotifier.h"
#include "mainwin/tray.h"
#include "ui/programicon.h"

#include <QMenu>
#include <QStringList>
#include <QSystemTrayIcon>
#include <QTimer>
#include <QWidget>

namespace jot {

namespace {

// A program started at log-in may come before the panel that holds the tray.
constexpr int kTrayWatchMs = 2000;
constexpr int kTrayWatchChecks = 60;
// One tag for every warning: a new one replaces the one still shown. No alarm's tag is this.
const QString kWarningTag = QStringLiteral("warning");

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
    m_iconComing = false;
    if (trayAvailable()) {
        m_tray->show();
    } else {
        m_trayWatch = new QTimer(this);
        m_trayWatch->setObjectName(QStringLiteral("m_trayWatch"));
        m_trayWatch->setInterval(kTrayWatchMs);
        connect(m_trayWatch, &QTimer::timeout, this, &Notices::checkTray);
        m_trayWatch->start();
    }
    for (const auto& [tag, message] : std::exchange(m_held, {}))
        trayMessage(tag, message);
}

void Notices::addIconSoon() {
    m_iconComing = true;
    QTimer::singleShot(0, this, &Notices::addIcon);
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

DesktopNotifier* Notices::notifier() {
    if (!m_notifier) {
        m_notifier = new DesktopNotifier(QDBusConnection::sessionBus(), this);
        connect(m_notifier, &DesktopNotifier::activated, this, &Notices::alarmShown);
        connect(m_notifier, &DesktopNotifier::snoozed, this, &Notices::alarmSnoozed);
        connect(m_notifier, &DesktopNotifier::closed, this,
                [this](const QString& tag) { m_sent.remove(tag); });
        connect(m_notifier, &DesktopNotifier::failed, this,
                [this](const QString& tag) { trayMessage(tag, m_sent.take(tag)); });
    }
    return m_notifier;
}

void Notices::alarms(const QList<Ring>& rung) {
    QStringList unsent;
    for (const Ring& r : rung) {
        m_sent.insert(r.tag, r.summary);
        if (!notifier()->notify(DesktopNotifier::Kind::Alarm, r.tag, r.summary, r.alarm))
            unsent << m_sent.take(r.tag);
    }
    if (!unsent.isEmpty())
        trayMessage(QString(), unsent.join(QLatin1Char('\n')));
}

void Notices::warning(const QString& message) {
    m_sent.insert(kWarningTag, message);
    if (!notifier()->notify(DesktopNotifier::Kind::Warning, kWarningTag, QStringLiteral("Jotlark"),
                            message))
        trayMessage(kWarningTag, m_sent.take(kWarningTag));
}

void Notices::trayMessage(const QString& tag, const QString& message) {
    if (m_iconComing) {
        m_held.append({tag, message});
        return;
    }
    if (hasTray())
        showTrayMessage(*m_tray, message,
                        tag == kWarningTag ? QSystemTrayIcon::Warning
                                           : QSystemTrayIcon::Information);
}

} // namespace jot
