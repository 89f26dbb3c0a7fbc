// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/startcheck.h"

#include "app/singleinstance.h"
#include "ui/messagebox.h"

#include <QCoreApplication>
#include <QDebug>

namespace jot {

namespace {
const QString kTitle = QStringLiteral("Jotlark");

// Before any window exists: on screen for the desktop, on standard error for a terminal. A
// start with a request (--new from a script or a key binding) never waits on a box.
StartDecision refuse(const SingleInstance& instance, const QString& why) {
    qCritical().noquote() << why;
    if (instance.request().action == Request::Action::Show)
        askUser(nullptr, QMessageBox::Warning, kTitle, why, QMessageBox::Ok, QMessageBox::Ok);
    return StartDecision::Refuse;
}
} // namespace

StartDecision checkStart(SingleInstance& instance) {
    const SingleInstance::Outcome outcome = instance.acquire();
    // Another user's folder in the way explains why the running program does not answer.
    const QString unfit =
        instance.unfitSocketFolder().isEmpty()
            ? QString()
            : QCoreApplication::translate(
                  "StartCheck",
                  "\n\nIts socket folder %1 was made by another user, or is open to others: "
                  "remove it, then start Jotlark again.")
                  .arg(instance.unfitSocketFolder());
    switch (outcome) {
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
        return refuse(instance, QCoreApplication::translate(
                                    "StartCheck",
                                    "Jotlark is already running (process %1) but does not "
                                    "answer.\n\nWait for it or end it, then start Jotlark again.")
                                        .arg(instance.ownerPid()) +
                                    unfit);
    case SingleInstance::Outcome::Failed:
        return refuse(instance,
                      QCoreApplication::translate(
                          "StartCheck",
                          "Jotlark cannot replace the lock file %1 left by an earlier run.\n\n"
                          "Remove it, then start Jotlark again.")
                          .arg(instance.lockPath()));
    case SingleInstance::Outcome::OtherHost:
        break;
    }
    // The program there may be live: two copies would overwrite each other's changes.
    const QString where =
        QCoreApplication::translate("StartCheck",
                                    "Your tasks are in use by Jotlark on %1 (process %2), as the "
                                    "lock file %3 says.")
            .arg(instance.ownerHost())
            .arg(instance.ownerPid())
            .arg(instance.lockPath());
    if (instance.request().action != Request::Action::Show) {
        qCritical().noquote() << where
                              << QCoreApplication::translate(
                                     "StartCheck", "Start Jotlark without arguments to choose.");
        return StartDecision::Refuse;
    }
    if (askUser(nullptr, QMessageBox::Question, kTitle,
                where + QCoreApplication::translate(
                            "StartCheck",
                            "\n\nStart Jotlark here anyway? If both run, each may overwrite "
                            "the other's changes."),
                QMessageBox::Yes | QMessageBox::No, QMessageBox::No) != QMessageBox::Yes) {
        qCritical().noquote() << where
                              << QCoreApplication::translate("StartCheck",
                                                             "Jotlark was not started.");
        return StartDecision::Refuse;
    }
    if (!instance.takeOver())
        return refuse(instance, QCoreApplication::translate(
                                    "StartCheck", "Jotlark cannot replace the lock file %1.")
                                    .arg(instance.lockPath()));
    return StartDecision::Run;
}

} // namespace jot
