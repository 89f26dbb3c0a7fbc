#include "common/program.h"
#include "mainwin/signalwatcher.h"
#include "mainwin/singleinstance.h"
#include "mainwin/startcheck.h"
#include "store/datadir.h"
#include "ui/messagebox.h"

#include <QApplication>
#include <QProcess>
#include <QPushButton>
#include <QThread>
#include <QTimer>
#include <QtTest>
#include <csignal>
#include <cstdio>
#include <cstring>
#include <memory>

// The start and the end of a run: one program per data directory, and a termination signal
// that ends the program whatever is open. The programs that hold a lock or take a signal are
// children (this binary in a helper role), so that the test outlives them.

namespace {

using Decision = jot::StartDecision;

void say(const QString& line) {
    std::printf("%s\n", qPrintable(line));
    std::fflush(stdout);
}

// Child: holds the data directory, and answers a later start or hangs.
int holdLock(int argc, char* argv[], const QString& dir, bool answers) {
    QCoreApplication app(argc, argv);
    jot::SingleInstance instance(dir);
    if (instance.acquire() != jot::SingleInstance::Outcome::Run)
        return 2;
    QObject::connect(&instance, &jot::SingleInstance::activationRequested, [] { say("shown"); });
    say("ready");
    if (!answers)
        QThread::sleep(60); // alive, with its socket, but never reading it
    return app.exec();
}

// Child: the program asking what to do about a failed save; the box's first line goes to the
// test.
int withQuestion(int argc, char* argv[]) {
    QApplication app(argc, argv);
    testing::quietOffscreen();
    jot::SignalWatcher watcher;
    const QString file = jot::dossier_donnees() + QStringLiteral("planifs.txt");
    testing::writeFile(file, testing::records(2));
    f_iir w;
    QObject::connect(&watcher, &jot::SignalWatcher::received, &w, &f_iir::terminer);
    w.Form_Load();
    w.findChild<QPushButton*>("Command3")->click(); // task 1 deleted, left unsaved
    jot::setMessageResponderForTests([](QMessageBox& box) {
        QTimer::singleShot(0, [&box] { say(box.text().section('\n', 0, 0)); });
        box.exec();
        return box.standardButton(box.clickedButton());
    });
    QFile::remove(file); // saves fail
    QDir().mkpath(file + QStringLiteral("/x"));
    QTimer::singleShot(0, w.findChild<QAction*>("m_quitter"), &QAction::trigger);
    return app.exec();
}

// Ours to end: a helper left running would hold its lock into the next test.
struct Child : QProcess {
    ~Child() override {
        kill();
        waitForFinished();
    }
};

bool waitForLine(QProcess& child, const QString& start) {
    while (child.canReadLine() || child.waitForReadyRead(10000))
        if (QString::fromUtf8(child.readLine()).startsWith(start))
            return true;
    return false;
}

qint64 lockOwner(const QString& dir) {
    qint64 pid = 0;
    QLockFile(dir + QStringLiteral("jotlark.lock")).getLockInfo(&pid, nullptr, nullptr);
    return pid;
}

} // namespace

class TstSession : public QObject {
    Q_OBJECT
    QTemporaryDir m_runtime; // the session's private runtime directory, not the user's

    void startChild(QProcess& child, const QStringList& args) {
        child.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        child.start(QCoreApplication::applicationFilePath(), args);
    }

private Q_SLOTS:
    void init() {
        qputenv("XDG_RUNTIME_DIR", m_runtime.path().toLocal8Bit());
        QFile::setPermissions(m_runtime.path(),
                              QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    }

    void start_data() {
        QTest::addColumn<QString>("holder");  // a live program: "answers", "hangs"; or none
        QTest::addColumn<QByteArray>("lock"); // left without a holder; %h is this host
        QTest::addColumn<QMessageBox::StandardButton>("answer"); // to the question, if any
        QTest::addColumn<Decision>("decision");
        QTest::addColumn<QString>("said"); // the box's text, and standard error's on refusal
        QTest::addColumn<bool>("early");   // the lock tried first on a thread, as the program does
        const auto none = QMessageBox::NoButton;
        const QByteArray elsewhere = "4242\njotlark\nelsewhere.example\n";
        const QString inUse = "Your tasks are in use by Jotlark on elsewhere.example";
        const QByteArray crashed = "2147483646\njotlark\n%h\n";
        const auto row = [](const char* name, const QString& holder, const QByteArray& lock,
                            QMessageBox::StandardButton answer, Decision decision,
                            const QString& said, bool early = false) {
            QTest::newRow(name) << holder << lock << answer << decision << said << early;
        };
        row("running", "answers", QByteArray(), none, Decision::GiveWay, "");
        row("running for hours", "answers", "old", none, Decision::GiveWay, "");
        row("running, not answering", "hangs", QByteArray(), none, Decision::Refuse,
            "Jotlark is already running \\(process \\d+\\) but does not answer");
        row("crashed", "", crashed, none, Decision::Run, "");
        row("empty lock", "", "", none, Decision::Run, "");
        row("garbled lock", "", "\xff\x01 x\n", none, Decision::Run, "");
        row("another host, No", "", elsewhere, QMessageBox::No, Decision::Refuse, inUse);
        row("another host, Yes", "", elsewhere, QMessageBox::Yes, Decision::Run, inUse);
        row("free, locked early", "", QByteArray(), none, Decision::Run, "", true);
        row("running, locked early", "answers", QByteArray(), none, Decision::GiveWay, "", true);
    }
    void start() {
        QFETCH(QString, holder);
        QFETCH(QByteArray, lock);
        QFETCH(QMessageBox::StandardButton, answer);
        QFETCH(Decision, decision);
        QFETCH(QString, said);
        QFETCH(bool, early);
        TempDataHome home;
        const QString dir = home.dataDir();
        const QString lockPath = dir + QStringLiteral("jotlark.lock");
        QVERIFY(QDir().mkpath(dir));
        Child running;
        if (!holder.isEmpty()) {
            startChild(running, {"--hold", dir, holder});
            QVERIFY(waitForLine(running, "ready"));
            QFile f(lockPath);
            if (lock == "old")
                QVERIFY(f.open(QIODevice::ReadOnly) &&
                        f.setFileTime(QDate(2000, 1, 1).startOfDay(), QFile::FileModificationTime));
        } else if (!lock.isNull()) {
            lock.replace("%h", QSysInfo::machineHostName().toUtf8());
            QVERIFY(testing::writeFile(lockPath, lock));
        }
        QStringList boxes;
        QList<QMessageBox::StandardButton> defaults;
        jot::setMessageResponderForTests([&](QMessageBox& b) -> QMessageBox::StandardButton {
            boxes << b.text();
            defaults << b.standardButton(b.defaultButton());
            return b.icon() == QMessageBox::Question ? answer : QMessageBox::Ok;
        });
        if (decision == Decision::Refuse)
            QTest::ignoreMessage(QtCriticalMsg, QRegularExpression(said));
        jot::SingleInstance instance(dir);
        if (early) {
            const std::unique_ptr<QThread> locking(
                QThread::create(&jot::SingleInstance::lockIfFree, &instance));
            locking->start();
            QVERIFY(locking->wait());
        }
        QCOMPARE(jot::checkStart(instance), decision);
        QCOMPARE(boxes.size(), said.isEmpty() ? 0 : 1);
        if (!said.isEmpty()) // a question defaults to No: Enter alone never starts a second copy
            QVERIFY(boxes.first().contains(QRegularExpression(said)));
        if (answer != QMessageBox::NoButton)
            QCOMPARE(defaults, QList{QMessageBox::No});
        if (decision == Decision::GiveWay)
            QVERIFY(waitForLine(running, "shown"));
        if (decision == Decision::Run) { // held, and a later start finds it
            QCOMPARE(lockOwner(dir), QCoreApplication::applicationPid());
            QTRY_VERIFY(QFileInfo::exists(jot::SingleInstance::socketPath(dir)));
        } else if (holder.isEmpty()) // refused: the lock is left as it was
            QCOMPARE(testing::readFile(lockPath), lock);
    }

    // The hand-over socket is private to the user; the program runs without it if need be.
    void socketPlace_data() {
        QTest::addColumn<QString>("runtime");
        QTest::addColumn<QString>("place");
        QTest::newRow("private runtime directory") << "private"
                                                   << "runtime";
        QTest::newRow("runtime directory open to others") << "open"
                                                          << "data";
        QTest::newRow("no runtime directory") << ""
                                              << "data";
        QTest::newRow("socket's name taken") << "taken"
                                             << "";
    }
    void socketPlace() {
        QFETCH(QString, runtime);
        QFETCH(QString, place);
        TempDataHome home;
        QVERIFY(QDir().mkpath(home.dataDir()));
        if (runtime.isEmpty())
            qunsetenv("XDG_RUNTIME_DIR");
        if (runtime == "open")
            QFile::setPermissions(m_runtime.path(), QFile::Permissions(0x7755));
        const QString path = jot::SingleInstance::socketPath(home.dataDir());
        QVERIFY(path.startsWith(place == "data" ? home.dataDir() : m_runtime.path()));
        if (runtime == "taken") {
            QVERIFY(QDir().mkpath(path + "/x"));
            QTest::ignoreMessage(QtWarningMsg, QRegularExpression("cannot listen on"));
        }
        jot::SingleInstance instance(home.dataDir());
        QCOMPARE(instance.acquire(), jot::SingleInstance::Outcome::Run);
        QCoreApplication::processEvents(); // the socket is made once the event loop runs
        if (place.isEmpty())
            return;
        const QFileInfo socket(path);
        QVERIFY(socket.exists() && !socket.isFile() && !socket.isDir());
        QCOMPARE(socket.permissions() & QFile::Permissions(0x0077), QFile::Permissions());
    }

    // A termination signal ends the program within two seconds, saving once, even while the
    // failed-save question is open.
    void signalEndsRun() {
        TempDataHome home;
        Child child;
        startChild(child, {"--question"});
        QVERIFY(waitForLine(child, "Your tasks could not be saved"));
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
    if (argc == 4 && std::strcmp(argv[1], "--hold") == 0)
        return holdLock(argc, argv, argv[2], std::strcmp(argv[3], "answers") == 0);
    if (argc == 2 && std::strcmp(argv[1], "--question") == 0)
        return withQuestion(argc, argv);
    QApplication app(argc, argv);
    TstSession test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_session.moc"
