// SPDX-License-Identifier: GPL-3.0-or-later
#include "mainwin/notices.h"

#include "desktop/desktopnotifier.h"
#include "desktop/soundplayer.h"
#include "desktop/traywatch.h"
#include "mainwin/tray.h"
#include "ui/programicon.h"

#include <QMenu>
#include <QStringList>
#include <QSystemTrayIcon>
#include <QTimer>
#include <QWidget>

namespace jot {

namespace {

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

Notices::~Notices() = default;

void Notices::addIcon() {
    m_iconComing = false;
    if (trayAvailable()) {
        m_tray->show();
    } else {
        // A program started at log-in may come before the panel that holds the tray.
        m_trayWatch = new TrayWatch(QDBusConnection::sessionBus(), this);
        m_trayWatch->setObjectName(QStringLiteral("m_trayWatch"));
        connect(m_trayWatch, &TrayWatch::trayMayHaveCome, this, &Notices::checkTray);
    }
    for (const auto& [tag, message] : std::exchange(m_held, {}))
        trayMessage(tag, message);
}

void Notices::addIconSoon() {
    m_iconComing = true;
    QTimer::singleShot(0, this, &Notices::addIcon);
}

void Notices::checkTray() {
    if (!m_trayWatch || !trayAvailable())
        return;
    m_trayWatch->deleteLater();
    m_trayWatch = nullptr;
    m_tray->show();
    Q_EMIT trayAppeared();
}

void Notices::removeIcon() {
    m_tray->hide();
    delete m_trayWatch;
    m_trayWatch = nullptr;
}

bool Notices::hasTray() const {
    return m_tray->isVisible();
}

DesktopNotifier* Notices::notifier() {
    if (!m_notifier) {
        m_notifier = new DesktopNotifier(QDBusConnection::sessionBus(), this);
        m_notifier->setSound(m_sound);
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
    // Once for all the alarms of a tick; the server plays it itself only when it says it can.
    if (rung.isEmpty() || !m_sound)
        return;
    if (unsent.size() == rung.size())
        playSound();
    else
        m_notifier->whenCapabilitiesKnown([this] {
            if (!m_notifier->playsSound())
                playSound();
        });
}

void Notices::playSound() {
    if (!m_player)
        m_player = createSoundPlayer();
    m_player->play();
}

void Notices::withdraw(const QString& tag) {
    m_sent.remove(tag);
    if (m_notifier)
        m_notifier->close(tag);
}

void Notices::setSound(bool on) {
    m_sound = on;
    if (m_notifier)
        m_notifier->setSound(on);
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
