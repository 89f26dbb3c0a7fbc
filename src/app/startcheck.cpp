// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/startcheck.h"

#include "app/singleinstance.h"
#include "ui/messagebox.h"

#include <QCoreApplication>
#include <QDebug>

namespace jot {

namespace {
const QString kTitle = QStringLiteral("Jotlark");

QString tr(const char* text) {
    return QCoreApplication::translate("jot", text);
}

// Before any window exists: on screen for the desktop, on standard error for a terminal.
StartDecision refuse(const QString& why) {
    qCritical().noquote() << why;
    askUser(nullptr, QMessageBox::Warning, kTitle, why, QMessageBox::Ok, QMessageBox::Ok);
    return StartDecision::Refuse;
}
} // namespace

StartDecision checkStart(SingleInstance& instance) {
    switch (instance.acquire()) {
    case SingleInstance::Outcome::Run:
        return StartDecision::Run;
    case SingleInstance::Outcome::HandedOver:
        return StartDecision::GiveWay;
    case SingleInstance::Outcome::Declined:
        // Standard error only: a script must not wait on a box, and the running program tells
        // the desktop itself why it refused.
        qCritical().noquote() << QStringLiteral("Jotlark:") << instance.declined();
        return StartDecision::Refuse;
    case SingleInstance::Outcome::Silent:
        return refuse(tr("Jotlark is already running (process %1) but does not answer.\n\n"
                         "Wait for it or end it, then start Jotlark again.")
                          .arg(instance.ownerPid()));
    case SingleInstance::Outcome::Failed:
        return refuse(tr("Jotlark cannot replace the lock file %1 left by an earlier run.\n\n"
                         "Remove it, then start Jotlark again.")
                          .arg(instance.lockPath()));
    case SingleInstance::Outcome::OtherHost:
        break;
    }
    // The program there may be live: two copies would overwrite each other's changes.
    const QString where = tr("Your tasks are in use by Jotlark on %1 (process %2), as the "
                             "lock file %3 says.")
                              .arg(instance.ownerHost())
                              .arg(instance.ownerPid())
                              .arg(instance.lockPath());
    if (askUser(nullptr, QMessageBox::Question, kTitle,
                where + tr("\n\nStart Jotlark here anyway? If both run, each may overwrite "
                           "the other's changes."),
                QMessageBox::Yes | QMessageBox::No, QMessageBox::No) != QMessageBox::Yes) {
        qCritical().noquote() << where << tr("Jotlark was not started.");
        return StartDecision::Refuse;
    }
    if (!instance.takeOver())
        return refuse(tr("Jotlark cannot replace the lock file %1.").arg(instance.lockPath()));
    return StartDecision::Run;
}

} // namespace jot
