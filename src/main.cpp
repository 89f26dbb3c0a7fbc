#include "mainwin/f_iir.h"
#include "mainwin/signalwatcher.h"
#include "mainwin/singleinstance.h"
#include "mainwin/startcheck.h"
#include "store/datadir.h"

#include <QApplication>
#include <QIcon>

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    // The data directory does not depend on these names (it is "jotlk" in the user's data
    // folder); the desktop file name ties the windows to the menu entry and its icon.
    QApplication::setApplicationName(QStringLiteral("jotlark"));
    QApplication::setDesktopFileName(QStringLiteral("jotlark"));
    QApplication::setWindowIcon(QIcon(QStringLiteral(":/jotlark.svg")));
    // The main window hides into the tray and notes come and go: only Exit ends the program.
    QApplication::setQuitOnLastWindowClosed(false);

    jot::SingleInstance instance(jot::dossier_donnees());
    switch (jot::checkStart(instance)) {
    case jot::StartDecision::Run:
        break;
    case jot::StartDecision::GiveWay:
        return 0; // the running program shows itself instead
    case jot::StartDecision::Refuse:
        return 1; // the reason has been shown
    }

    jot::SignalWatcher watcher;
    f_iir w;
    QObject::connect(&instance, &jot::SingleInstance::activationRequested, &w,
                     &f_iir::restaurer_fenetre_principale);
    QObject::connect(&watcher, &jot::SignalWatcher::received, &w, &f_iir::terminer);
    w.Form_Load();
    return app.exec();
}
