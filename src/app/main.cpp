// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/signalwatcher.h"
#include "app/singleinstance.h"
#include "app/startcheck.h"
#include "calendar/calendarfile.h"
#include "launch/commandline.h"
#include "launch/platform.h"
#include "launch/qttranslations.h"
#include "mainwin/f_iir.h"
#include "store/datadir.h"
#include "ui/programicon.h"

#include <QApplication>
#include <QThread>
#include <memory>

int main(int argc, char* argv[]) {
    // The name trays and task bars show. Not set as the display name, which Qt would add to
    // every caption ("The 03/14 at 09:00 am — Jotlark"); the display name falls back to it.
    // The data directory does not depend on it (it is "jotlk" in the user's data folder).
    // It is also the windows' class on X11, which the desktop entry's StartupWMClass names.
    QApplication::setApplicationName(QStringLiteral(JOT_WM_CLASS));
    QApplication::setApplicationVersion(QStringLiteral(JOT_VERSION));
    // Before the application exists: --help needs no display, and the platform is read when
    // the application connects to one.
    jot::Request request;
    QString exportTarget;
    if (const std::optional<int> status =
            jot::handleCommandLine(argc, argv, &request, &exportTarget))
        return *status;
    // For scripts and backups: the task file as a calendar, without a display.
    if (!exportTarget.isEmpty())
        return jot::exportForCommandLine(exportTarget);
    // Qt would abort without a display, with a message about plugins.
    if (const std::optional<int> status = jot::refuseWithoutDisplay(argc, argv))
        return *status;
    jot::choosePlatform();

    // Writing the lock file waits for the disk: a thread of its own takes the lock while the
    // application connects to the display.
    const QString dataDir = jot::dossier_donnees();
    jot::SingleInstance instance(dataDir);
    instance.setRequest(request);
    const std::unique_ptr<QThread> locking(
        QThread::create(&jot::SingleInstance::lockIfFree, &instance));
    locking->start();

    QApplication app(argc, argv);
    // The desktop file name ties the windows to the menu entry and its icon.
    QApplication::setDesktopFileName(QStringLiteral(JOT_APP_ID));
    QApplication::setWindowIcon(jot::programIcon());
    jot::loadQtTranslations(app);
    jot::loadJotlarkTranslations(app);
    // The main window hides into the tray and notes come and go: only Exit ends the program.
    QApplication::setQuitOnLastWindowClosed(false);

    locking->wait();
    switch (jot::checkStart(instance)) {
    case jot::StartDecision::Run:
        break;
    case jot::StartDecision::GiveWay:
        return 0; // the running program shows itself, or did what was asked, instead
    case jot::StartDecision::Refuse:
        return 1; // the reason has been shown
    }

    jot::SignalWatcher watcher;
    f_iir w;
    QObject::connect(&instance, &jot::SingleInstance::activationRequested, &w,
                     &f_iir::restaurer_fenetre_principale);
    instance.setRequestHandler([&w](const jot::Request& r) { return w.carryOut(r); });
    QObject::connect(&watcher, &jot::SignalWatcher::received, &w, &f_iir::endNow);
    w.Form_Load(dataDir);
    // Nobody else was running: this start does what it would have asked.
    if (request.action != jot::Request::Action::Show) {
        QString why;
        if (!jot::confirms(request, jot::encodeAnswer(request, w.carryOut(request)), &why))
            qWarning().noquote() << QStringLiteral("Jotlark:") << why;
    }
    return app.exec();
}
