// SPDX-License-Identifier: GPL-3.0-or-later
#include "common/program.h"
#include "mainwin/signalwatcher.h"
#include "mainwin/singleinstance.h"
#include "mainwin/startcheck.h"
#include "store/datadir.h"
#include "ui/messagebox.h"

#include <csignal>
#include <cstdio>
#include <cstring>
#include <memory>

// The start and the end of a run: one program per data directory, and a termination signal
// that ends the program whatever is open. The program that holds the directory is a child
// (this binary in a helper role), so that the test outlives it.

namespace {

using Decision = jot::StartDecision;
using Box = QMessageBox;
const QString kAsked = QStringLiteral("Your tasks could not be saved");

void say(const QString& line) {
    std::printf("%s\n", qPrintable(line));
    std::fflush(stdout);
}

// Child: a program holding the data directory that says "shown" when a later start asks for
// it, its Exit question about a failed save open (task 1 deleted, unsaved) and said.
int holder(int argc, char* argv[]) {
    QApplication app(argc, argv);
    testing::quietOffscreen();
    jot::SignalWatcher watcher;
    jot::SingleInstance instance(jot::dossier_donnees());
    if (instance.acquire() != jot::SingleInstance::Outcome::Run)
        return 2;
    QObject::connect(&instance, &jot::SingleInstance::activationRequested, [] { say("shown"); });
    const QString file = jot::dossier_donnees() + "planifs.txt";
    testing::writeFile(file, testing::records(2));
    f_iir w;
    QObject::connect(&watcher, &jot::SignalWatcher::received, &w, &f_iir::terminer);
    w.Form_Load();
    w.findChild<QPushButton*>("Command3")->click();
    jot::setMessageResponderForTests([](QMessageBox& box) {
        QTimer::singleShot(0, [&box] { say(box.text().section('\n', 0, 0)); });
        box.exec();
        return box.standardButton(box.clickedButton());
    });
    QFile::remove(file); // saves fail
    QDir().mkpath(file + "/x");
    QTimer::singleShot(0, w.findChild<QAction*>("m_quitter"), &QAction::trigger);
    return app.exec();
}

// Ended with the test: a holder left running would hold its lock into the next test.
struct Child : QProcess {
    // Up once its question is open.
    bool run() {
        setProcessChannelMode(QProcess::ForwardedErrorChannel);
        start(QCoreApplication::applicationFilePath(), {"--holder"});
        return waitForLine(kAsked);
    }
    ~Child() override {
        kill();
        waitForFinished();
    }
    bool waitForLine(const QString& start) {
        while (canReadLine() || waitForReadyRead(10000))
            if (QString::fromUtf8(readLine()).startsWith(start))
                return true;
        return false;
    }
};

} // namespace

class TstSession : public QObject {
    Q_OBJECT
    QTemporaryDir m_runtime; // the session's private runtime directory, not the user's

private Q_SLOTS:
    void init() {
        qputenv("XDG_RUNTIME_DIR", m_runtime.path().toLocal8Bit());
        QFile::setPermissions(m_runtime.path(), QFile::Permissions(0x7700));
    }

    void start_data() {
        QTest::addColumn<QString>("holder");  // a live program: "answers", "stopped"
        QTest::addColumn<QByteArray>("lock"); // left without a holder; %p: this process, %h: host
        QTest::addColumn<Box::StandardButton>("answer"); // to the question, if any
        QTest::addColumn<Decision>("decision");
        QTest::addColumn<bool>("early"); // the lock tried first on a thread, as main() does
        const QByteArray elsewhere = "4242\njotlark\nelsewhere.example\n";
        const auto row = [](const char* name, const char* holder, const QByteArray& lock,
                            Box::StandardButton answer, Decision decision, bool early = false) {
            QTest::newRow(name) << QString(holder) << lock << answer << decision << early;
        };
        row("running", "answers", {}, Box::NoButton, Decision::GiveWay);
        row("running, not answering", "stopped", {}, Box::NoButton, Decision::Refuse);
        row("left by an earlier boot under this process's number", "", "%p\ntst_session\n%h\n",
            Box::NoButton, Decision::Run);
        row("garbled lock", "", "\xff\x01 x\n", Box::NoButton, Decision::Run);
        row("another host, No", "", elsewhere, Box::No, Decision::Refuse);
        row("another host, Yes", "", elsewhere, Box::Yes, Decision::Run);
        row("free, locked early", "", {}, Box::NoButton, Decision::Run, true);
        row("running, locked early", "answers", {}, Box::NoButton, Decision::GiveWay, true);
    }
    void start() {
        QFETCH(QString, holder);
        QFETCH(QByteArray, lock);
        QFETCH(Box::StandardButton, answer);
        QFETCH(Decision, decision);
        QFETCH(bool, early);
        TempDataHome home;
        const QString lockPath = jot::dossier_donnees() + "jotlark.lock";
        Child running;
        lock.replace("%p", QByteArray::number(QCoreApplication::applicationPid()))
            .replace("%h", QSysInfo::machineHostName().toUtf8());
        QVERIFY(!holder.isEmpty() ? running.run()
                                  : lock.isNull() || testing::writeFile(lockPath, lock));
        if (holder == "stopped") // alive, its socket there, but never reading it
            ::kill(static_cast<pid_t>(running.processId()), SIGSTOP);
        QList<Box::StandardButton> defaults; // a question's is No: Enter never starts a second copy
        jot::setMessageResponderForTests([&](QMessageBox& b) {
            defaults << b.standardButton(b.defaultButton());
            return answer ? answer : Box::Ok;
        });
        const bool refused = decision == Decision::Refuse;
        if (refused) // on screen, and on standard error for a terminal
            QTest::ignoreMessage(QtCriticalMsg, QRegularExpression("Jotlark"));
        jot::SingleInstance instance(jot::dossier_donnees());
        if (early) {
            const std::unique_ptr<QThread> locking(
                QThread::create(&jot::SingleInstance::lockIfFree, &instance));
            locking->start();
            QVERIFY(locking->wait());
        }
        QCOMPARE(jot::checkStart(instance), decision);
        QCOMPARE(defaults, answer    ? QList{Box::No}
                           : refused ? QList{Box::Ok}
                                     : QList<Box::StandardButton>());
        QVERIFY(decision != Decision::GiveWay || running.waitForLine("shown"));
        const QByteArray now = testing::readFile(lockPath);
        if (decision == Decision::Run) { // held, and a later start finds it
            QVERIFY(now.startsWith(QByteArray::number(QCoreApplication::applicationPid()) + '\n'));
            QTRY_VERIFY(QFileInfo::exists(jot::SingleInstance::socketPath(jot::dossier_donnees())));
        } else if (holder.isEmpty()) // refused: the lock is left as it was
            QCOMPARE(now, lock);
    }

    // The hand-over socket is private to the user, in the runtime directory only while that
    // is private too.
    void socketPlace() {
        TempDataHome home;
        const QString dir = jot::dossier_donnees(), path = jot::SingleInstance::socketPath(dir);
        QVERIFY(path.startsWith(m_runtime.path()));
        jot::SingleInstance instance(dir);
        QCOMPARE(instance.acquire(), jot::SingleInstance::Outcome::Run);
        QCoreApplication::processEvents(); // the socket is made once the event loop runs
        const QFileInfo socket(path);
        QVERIFY(socket.exists() && !socket.isFile() && !socket.isDir());
        QCOMPARE(socket.permissions() & QFile::Permissions(0x0077), QFile::Permissions());
        QFile::setPermissions(m_runtime.path(), QFile::Permissions(0x7755));
        QVERIFY(jot::SingleInstance::socketPath(dir).startsWith(dir));
    }

    // A termination signal ends the program within two seconds, saving once, even while the
    // failed-save question is open.
    void signalEndsRun() {
        TempDataHome home;
        Child child;
        QVERIFY(child.run());
        QDir(home.taskFile()).removeRecursively(); // the save can go through now
        ::kill(static_cast<pid_t>(child.processId()), SIGTERM);
        QVERIFY(child.waitForFinished(2000));
        QCOMPARE(child.exitStatus(), QProcess::NormalExit);
        QCOMPARE(child.exitCode(), 0);
        QCOMPARE(testing::readFile(home.taskFile()),
                 testing::records(2).sliced(testing::records(1).size()));
    }
};

int main(int argc, char* argv[]) {
    if (argc == 2 && std::strcmp(argv[1], "--holder") == 0)
        return holder(argc, argv);
    QApplication app(argc, argv);
    TstSession test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_session.moc"
