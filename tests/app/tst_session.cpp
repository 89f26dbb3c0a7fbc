// SPDX-License-Identifier: GPL-3.0-or-later
#include "alarms/alarmtext.h"
#include "app/signalwatcher.h"
#include "app/singleinstance.h"
#include "app/startcheck.h"
#include "common/program.h"
#include "store/datadir.h"
#include "ui/messagebox.h"

#include <QLocalServer>
#include <QLocalSocket>
#include <csignal>
#include <cstring>
#include <memory>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

// One program per data directory, and a termination signal that ends it whatever is open; the
// program holding the directory is a child (this binary in a helper role).

using testing::say;

namespace {

using Decision = jot::StartDecision;
using Box = QMessageBox;
using L = QStringList;
const QString kAsked = QStringLiteral("Your tasks could not be saved");

// A disk on which no file can grow, as when it is full; SIGXFSZ is ignored.
struct FullDisk {
    explicit FullDisk(bool on) {
        ::getrlimit(RLIMIT_FSIZE, &saved);
        const rlimit none{0, saved.rlim_max};
        if (on)
            ::setrlimit(RLIMIT_FSIZE, &none);
    }
    ~FullDisk() { ::setrlimit(RLIMIT_FSIZE, &saved); }
    rlimit saved{};
};

// Without a runtime folder, the socket's folder in the temporary folder made by another user
// (as root) and open to others, while it lasts.
struct Squat {
    Squat(bool on, const QTemporaryDir& temp) {
        if (!on)
            return;
        qunsetenv("XDG_RUNTIME_DIR");
        folder = temp.filePath("jotlark-" + QString::number(::getuid()));
        QDir(folder).removeRecursively();
        QDir().mkpath(folder);
        QFile::setPermissions(folder, QFile::Permissions(0x7777));
        // Open to others stands in when the folder cannot be given away.
        [[maybe_unused]] const int given = ::chown(QFile::encodeName(folder), 65534, 65534);
    }
    ~Squat() {
        if (!folder.isEmpty())
            QDir(folder).removeRecursively();
    }
    explicit operator bool() const { return !folder.isEmpty(); }
    QString folder;
};

// Child: a program holding the data directory, saying "shown" when a later start asks, with
// its failed-save Exit question open and said. With "full", it could not make its lock file.
int holder(int argc, char* argv[]) {
    QApplication app(argc, argv);
    testing::quietOffscreen();
    jot::SignalWatcher watcher;
    jot::SingleInstance instance(jot::dossier_donnees());
    if (const FullDisk disk(argc > 2); instance.acquire() != jot::SingleInstance::Outcome::Run)
        return 2;
    QObject::connect(&instance, &jot::SingleInstance::activationRequested, [] { say("shown"); });
    const QString file = jot::dossier_donnees() + "planifs.txt";
    testing::writeFile(file, testing::records(2));
    f_iir w;
    QObject::connect(&watcher, &jot::SignalWatcher::received, &w, &f_iir::endNow);
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

// Child: a start that spins till the file named appears (lining starts up within microseconds,
// as a wake-up would not), says acquire()'s outcome and, when it runs, answers later starts.
// With "full", it cannot write its lock.
int racer(int argc, char* argv[]) {
    QCoreApplication app(argc, argv);
    jot::SingleInstance instance(jot::dossier_donnees());
    const FullDisk disk(argc > 3);
    say("ready");
    while (::access(argv[2], F_OK) != 0) {
    }
    if (argc > 3) // said on standard error by the one that runs
        qInstallMessageHandler([](QtMsgType, const QMessageLogContext&, const QString&) {});
    const jot::SingleInstance::Outcome outcome = instance.acquire();
    say(QString::number(int(outcome)));
    return outcome == jot::SingleInstance::Outcome::Run ? app.exec() : 0;
}

// Ended with the test: a holder left running would hold its lock into the next test. Up once
// its question is open, or it is ready.
struct Child : QProcess {
    bool run(const QStringList& arguments = {"--holder"}) {
        setProcessChannelMode(QProcess::ForwardedErrorChannel);
        start(QCoreApplication::applicationFilePath(), arguments);
        return waitForLine(arguments[0] == "--holder" ? kAsked : "ready");
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
    QString nextLine() {
        return canReadLine() || waitForReadyRead(10000) ? QString::fromUtf8(readLine()).trimmed()
                                                        : QString();
    }
};

} // namespace

class TstSession : public QObject {
    Q_OBJECT
    QTemporaryDir m_runtime; // the session's private runtime directory, not the user's
    QTemporaryDir m_temp;    // the temporary folder, not the machine's

private Q_SLOTS:
    void initTestCase() { std::signal(SIGXFSZ, SIG_IGN); }

    void init() {
        qputenv("XDG_RUNTIME_DIR", m_runtime.path().toLocal8Bit());
        QFile::setPermissions(m_runtime.path(), QFile::Permissions(0x7700));
        qputenv("TMPDIR", m_temp.path().toLocal8Bit());
    }

    void start_data() {
        QTest::addColumn<QString>("holder");  // a live program: "answers", "stopped"
        QTest::addColumn<QByteArray>("lock"); // left without a holder; %p: this process, %h: host
        QTest::addColumn<Box::StandardButton>("answer"); // to the question, if any
        QTest::addColumn<Decision>("decision");
        QTest::addColumn<bool>("early");    // the lock tried first on a thread, as main() does
        QTest::addColumn<QString>("where"); // "data folder": the lock left there, by a sync;
                                            // "no runtime": none, the lock lives there;
                                            // "squatted": that, the socket's folder another
                                            // user's, and the start asks for --new
        QTest::addColumn<bool>("full");     // no lock can be made, for the holder as for this start
        const QByteArray elsewhere = "4242\njotlark\nelsewhere.example\n";
        const auto row = [](const char* name, const char* holder, const QByteArray& lock,
                            Box::StandardButton answer, Decision decision, bool early = false,
                            const char* where = "", bool full = false) {
            QTest::newRow(name) << QString(holder) << lock << answer << decision << early
                                << QString(where) << full;
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
        row("another host's lock brought by a sync", "", elsewhere, Box::NoButton, Decision::Run,
            false, "data folder");
        row("another host, no runtime folder, No", "", elsewhere, Box::No, Decision::Refuse, false,
            "no runtime");
        row("no runtime folder, running", "answers", {}, Box::NoButton, Decision::GiveWay, false,
            "no runtime");
        row("full disk, running", "answers", {}, Box::NoButton, Decision::GiveWay, false, "", true);
        row("full disk, free", "", {}, Box::NoButton, Decision::Run, false, "", true);
        row("squatted socket folder, not answering --new", "stopped", {}, Box::NoButton,
            Decision::Refuse, false, "squatted");
    }
    void start() {
        QFETCH(QString, holder);
        QFETCH(QByteArray, lock);
        QFETCH(Box::StandardButton, answer);
        QFETCH(Decision, decision);
        QFETCH(bool, early);
        QFETCH(QString, where);
        QFETCH(bool, full);
        TempDataHome home;
        if (where == "no runtime")
            qunsetenv("XDG_RUNTIME_DIR");
        const Squat squatted(where == "squatted", m_temp);
        jot::SingleInstance instance(jot::dossier_donnees());
        if (squatted) {
            instance.setRequest({jot::Request::Action::New, "x", {}});
            QTest::ignoreMessage(QtCriticalMsg, QRegularExpression("socket folder .*jotlark-"));
        }
        const QString lockPath =
            where == "data folder" ? home.dataDir() + "jotlark.lock" : instance.lockPath();
        QCOMPARE(lockPath.startsWith(home.dataDir()), !where.isEmpty());
        Child running;
        lock.replace("%p", QByteArray::number(QCoreApplication::applicationPid()))
            .replace("%h", QSysInfo::machineHostName().toUtf8());
        QVERIFY(!holder.isEmpty() ? running.run(full ? L{"--holder", "full"} : L{"--holder"})
                                  : lock.isNull() || testing::writeFile(lockPath, lock));
        if (holder == "stopped") // alive, its socket there, but never reading it
            ::kill(static_cast<pid_t>(running.processId()), SIGSTOP);
        QList<Box::StandardButton> defaults; // a question's is No: Enter never starts a second copy
        jot::setMessageResponderForTests([&](QMessageBox& b) {
            defaults << b.standardButton(b.defaultButton());
            return answer ? answer : Box::Ok;
        });
        const bool refused = decision == Decision::Refuse;
        if (refused && !squatted) // on screen, and on standard error for a terminal
            QTest::ignoreMessage(QtCriticalMsg, QRegularExpression("Jotlark"));
        if (full && decision == Decision::Run)
            QTest::ignoreMessage(QtWarningMsg, QRegularExpression("cannot create the lock file"));
        if (early) {
            const std::unique_ptr<QThread> locking(
                QThread::create(&jot::SingleInstance::lockIfFree, &instance));
            locking->start();
            QVERIFY(locking->wait());
        }
        {
            const FullDisk disk(full);
            QCOMPARE(jot::checkStart(instance), decision);
        }
        QCOMPARE(defaults, answer                 ? QList{Box::No}
                           : refused && !squatted ? QList{Box::Ok}
                                                  : QList<Box::StandardButton>());
        QVERIFY(decision != Decision::GiveWay || running.waitForLine("shown"));
        if (decision == Decision::Run) { // held, private, and a later start finds it
            const QByteArray now = testing::readFile(instance.lockPath());
            QCOMPARE(now.startsWith(QByteArray::number(QCoreApplication::applicationPid()) + '\n'),
                     !full);
            struct stat st {};
            QVERIFY(full || ::stat(QFile::encodeName(instance.lockPath()), &st) == 0);
            // In the runtime folder, sticky too: its clean-up leaves it alone.
            const mode_t mode = instance.lockPath().startsWith(home.dataDir()) ? 0600 : 01600;
            QVERIFY(full || (st.st_mode & 07777) == mode);
            QTRY_VERIFY(QFileInfo::exists(jot::SingleInstance::socketPath(jot::dossier_donnees())));
        }
        if (holder.isEmpty() && (refused || where == "data folder")) // left as it was
            QCOMPARE(testing::readFile(lockPath), lock);
    }

    // Starts at once, over the same stale lock or where no lock can be written: one runs, the
    // others give way to it.
    void togetherOnce_data() {
        QTest::addColumn<QString>("where"); // "stale lock", "full runtime", "no runtime, full"
        QTest::addColumn<int>("rounds");
        QTest::newRow("stale lock") << "stale lock" << 30;
        QTest::newRow("full runtime folder") << "full runtime" << 10;
        QTest::newRow("no runtime folder, full data folder") << "no runtime, full" << 10;
    }
    void togetherOnce() {
        QFETCH(QString, where);
        QFETCH(int, rounds);
        TempDataHome home;
        if (where.startsWith("no runtime"))
            qunsetenv("XDG_RUNTIME_DIR");
        const QString lock = jot::SingleInstance::lockPathFor(jot::dossier_donnees());
        const QByteArray stale = "1\ntst_session\n" + QSysInfo::machineHostName().toUtf8() + '\n';
        const QString go = home.path() + "/go";
        const L arguments = where == "stale lock" ? L{"--race", go} : L{"--race", go, "full"};
        for (int round = 0; round < rounds; ++round) {
            QFile::remove(go);
            QVERIFY(where != "stale lock" || testing::writeFile(lock, stale));
            std::array<Child, 3> starts;
            for (Child& start : starts)
                QVERIFY(start.run(arguments));
            QVERIFY(testing::writeFile(go, {}));
            QStringList outcomes;
            for (Child& start : starts)
                outcomes << start.nextLine();
            outcomes.sort();
            QCOMPARE(outcomes, QStringList({"0", "1", "1"})); // Run, HandedOver twice
        }
    }

    // The hand-over socket is private: in the runtime folder if private and the name fits,
    // else in the user's private folder in the temporary folder, never one another user made.
    void socketPlace_data() {
        QTest::addColumn<QString>("runtime"); // "private", "open" to others, "none", "long"
        QTest::addColumn<int>("dataPath");    // the data folder's length at least
        QTest::addColumn<QString>("place");   // "runtime", "temp", "none" (a link in the way)
        QTest::newRow("runtime folder") << "private" << 0 << "runtime";
        QTest::newRow("runtime folder open to others") << "open" << 0 << "temp";
        QTest::newRow("no runtime folder, long data path") << "none" << 100 << "temp";
        QTest::newRow("runtime folder of a long path") << "long" << 0 << "temp";
        QTest::newRow("a link in the temporary folder") << "none" << 0 << "none";
    }
    void socketPlace() {
        QFETCH(QString, runtime);
        QFETCH(int, dataPath);
        QFETCH(QString, place);
        TempDataHome home;
        const QString data = home.path() + '/' + QString(dataPath, 'd');
        qputenv("XDG_DATA_HOME", QFile::encodeName(data));
        const QString dir = jot::dossier_donnees();
        QString folder = m_temp.filePath("jotlark-" + QString::number(::getuid()));
        if (runtime == "open")
            QFile::setPermissions(m_runtime.path(), QFile::Permissions(0x7755));
        else if (runtime == "none")
            qunsetenv("XDG_RUNTIME_DIR");
        else if (runtime == "long") {
            const QString deep = m_runtime.filePath(QString(100, 'r'));
            QVERIFY(QDir().mkpath(deep) && QFile::setPermissions(deep, QFile::Permissions(0x7700)));
            qputenv("XDG_RUNTIME_DIR", QFile::encodeName(deep));
        } else
            folder = m_runtime.path();
        const QDir target(m_temp.filePath("elsewhere"));
        if (place == "none") { // another user's link, say, to a folder the other user reads
            QDir(folder).removeRecursively();
            QVERIFY(target.mkpath(".") && QFile::link(target.path(), folder));
            QTest::ignoreMessage(QtWarningMsg, QRegularExpression("no private folder"));
        }
        QCOMPARE(QFileInfo(jot::SingleInstance::socketPath(dir)).path(), folder);
        QVERIFY(QFile::encodeName(jot::SingleInstance::socketPath(dir)).size() <= 107);
        jot::SingleInstance instance(dir);
        QCOMPARE(instance.acquire(), jot::SingleInstance::Outcome::Run);
        QCoreApplication::processEvents(); // the socket is made once the event loop runs
        const QFileInfo socket(jot::SingleInstance::socketPath(dir));
        QCOMPARE(socket.exists(), place != "none");
        QVERIFY(target.isEmpty());
        if (place == "none") {
            QVERIFY(QFile::remove(folder));
            return;
        }
        QVERIFY(!socket.isFile() && !socket.isDir());
        QCOMPARE(socket.permissions() & QFile::Permissions(0x0077), QFile::Permissions());
        QCOMPARE(QFileInfo(folder).permissions() & QFile::Permissions(0x0077),
                 QFile::Permissions());
    }

    // A later start's request, carried out by the running program (this process) or refused
    // on standard error; with none running the start runs and adds the task itself.
    void handOver_data() {
        QTest::addColumn<QString>("running"); // "program", "older" (answers "ok" to all), "none"
        QTest::addColumn<int>("tasks");
        QTest::addColumn<L>("arguments"); // %d: the day after tomorrow
        QTest::addColumn<int>("status");
        QTest::addColumn<QString>("said");     // on standard error
        QTest::addColumn<QByteArray>("added"); // the end of the file; %a: the alarm at 21:00
        QTest::addColumn<int>("notes");        // open afterwards
        const QByteArray milk = ",\"Buy milk~and bread\",\"%a\",\"\"\r\n";
        const L withAlarm{"--new", "Buy milk\nand bread", "--at", "%d 21:00"};
        QTest::newRow("new task") << "program" << 2 << withAlarm << 0 << "" << milk << 1;
        QTest::newRow("empty new task")
            << "program" << 2 << L{"--new"} << 0 << "" << QByteArray(",\"\",\"\",\"\"\r\n") << 1;
        QTest::newRow("100 tasks")
            << "program" << 100 << L{"--new", "x"} << 1 << "100 tasks" << QByteArray() << 0;
        QTest::newRow("show all") << "program" << 2 << L{"--show-all"} << 0 << "" << QByteArray()
                                  << 2;
        QTest::newRow("hide all") << "program" << 2 << L{"--hide-all"} << 0 << "" << QByteArray()
                                  << 0;
        QTest::newRow("older program")
            << "older" << 2 << L{"--new", "x"} << 1 << "older version" << QByteArray() << 0;
        QTest::newRow("none running") << "none" << 2 << withAlarm << 0 << "" << milk << 0;
        QTest::newRow("saves failing") << "failing" << 2 << L{"--new", "x"} << 1
                                       << "added, but not saved: replacing" << QByteArray() << 1;
        QTest::newRow("squatted socket folder")
            << "squatted" << 2 << withAlarm << 0 << "" << milk << 1;
    }
    void handOver() {
        QFETCH(QString, running);
        QFETCH(int, tasks);
        QFETCH(L, arguments);
        QFETCH(int, status);
        QFETCH(QString, said);
        QFETCH(QByteArray, added);
        QFETCH(int, notes);
        const QDate day = QDate::currentDate().addDays(2);
        arguments.replaceInStrings("%d", day.toString("yyyy-MM-dd"));
        added.replace("%a", jot::alarmTextAt(day, QTime(21, 0)).toUtf8());
        TempDataHome home; // where no program runs here
        QVERIFY(testing::writeFile(home.taskFile(), testing::records(tasks)));
        const Squat squatted(running == "squatted", m_temp);
        std::optional<testing::Program> program;
        std::unique_ptr<jot::SingleInstance> instance;
        QLockFile lock(jot::SingleInstance::lockPathFor(jot::dossier_donnees()));
        QLocalServer older;
        if (running != "older" && running != "none") {
            program.emplace(testing::records(tasks));
            instance = std::make_unique<jot::SingleInstance>(jot::dossier_donnees());
            QCOMPARE(instance->acquire(), jot::SingleInstance::Outcome::Run);
            instance->setRequestHandler(
                [&](const jot::Request& r) { return program->main->carryOut(r); });
            QCoreApplication::processEvents(); // the socket is made once the event loop runs
            if (arguments.contains("--hide-all"))
                program->trigger("m_toutafficher"); // notes for it to close
            if (running == "failing")               // a directory in the file's place
                QVERIFY(QFile::remove(program->home.taskFile()) &&
                        QDir().mkpath(program->home.taskFile() + "/x"));
        } else if (running == "older") {
            QVERIFY(lock.tryLock(0));
            QVERIFY(older.listen(jot::SingleInstance::socketPath(jot::dossier_donnees())));
            connect(&older, &QLocalServer::newConnection, &older, [&older] {
                QLocalSocket* s = older.nextPendingConnection();
                connect(s, &QLocalSocket::readyRead, s, [s] { s->write("ok\n"); });
            });
        }
        const QString file = program ? program->home.taskFile() : home.taskFile();
        const QByteArray before = testing::readFile(file);
        QProcess start;
        start.start(JOTLARK_BIN, arguments);
        if (running == "none") { // it runs: the task is saved, then a signal ends it
            QTRY_VERIFY_WITH_TIMEOUT(testing::readFile(file).endsWith(added), 10000);
            start.terminate();
        }
        QTRY_COMPARE_WITH_TIMEOUT(start.state(), QProcess::NotRunning, 10000);
        QCOMPARE(start.exitStatus(), QProcess::NormalExit);
        QCOMPARE(start.exitCode(), status);
        const QString err = start.readAllStandardError();
        QVERIFY2(err.contains(said), qPrintable(err));
        if (running == "none")
            return;
        const QByteArray after = testing::readFile(file);
        QVERIFY2(added.isEmpty() ? after == before
                                 : after.startsWith(before) && after.endsWith(added) &&
                                       after.count('\n') == before.count('\n') + 1,
                 after.constData());
        if (!program)
            return;
        int open = 0;
        for (int row = 1; row < program->list().rows(); ++row)
            open += program->noteOf(row) != nullptr;
        QCOMPARE(open, notes);
        if (!added.isEmpty()) // the new task's note, with the keyboard
            QCOMPARE(QApplication::activeWindow(), program->noteOf(program->list().rows() - 1));
    }

    // Every request of a write is answered, in order. A line not understood, or too long, is
    // refused, and an alarm the command line would refuse; neither changes anything, and the
    // next connection is answered.
    void requests_data() {
        QTest::addColumn<QByteArray>("sent");
        QTest::addColumn<L>("answers"); // pieces, percent-decoded
        QTest::addColumn<int>("added");
        const QByteArray x = "jotlark/2 new text=x\n";
        QTest::newRow("a later version")
            << QByteArray("jotlark/3 new text=x\n") << L{"jotlark/2 refused unknown"} << 0;
        QTest::newRow("endless line")
            << QByteArray(jot::kMaxRequestBytes + 1, 'a') << L{"refused unknown"} << 0;
        QTest::newRow("a far date") << QByteArray("jotlark/2 new at=2099-12-31T09:00\n")
                                    << L{"refused new the alarm 2099-12-31 09:00 is more"} << 0;
        QTest::newRow("a past date")
            << QByteArray("jotlark/2 new at=2020-01-01T09:00\n")
            << L{"refused new the alarm 2020-01-01 09:00 is in the past"} << 0;
        QTest::newRow("two requests in one write")
            << x + x << L{"jotlark/2 done new", "jotlark/2 done new"} << 2;
    }
    void requests() {
        QFETCH(QByteArray, sent);
        QFETCH(L, answers);
        QFETCH(int, added);
        testing::Program program(testing::records(2));
        jot::SingleInstance instance(jot::dossier_donnees());
        QCOMPARE(instance.acquire(), jot::SingleInstance::Outcome::Run);
        instance.setRequestHandler(
            [&](const jot::Request& r) { return program.main->carryOut(r); });
        QSignalSpy shown(&instance, &jot::SingleInstance::activationRequested);
        QCoreApplication::processEvents(); // the socket is made once the event loop runs
        for (const QByteArray& line : {sent, QByteArray("show\n")}) {
            QLocalSocket socket;
            socket.connectToServer(jot::SingleInstance::socketPath(jot::dossier_donnees()));
            QVERIFY(socket.waitForConnected(1000));
            socket.write(line);
            for (const QString& answer : line == "show\n" ? L{"ok"} : answers) {
                QTRY_VERIFY(socket.canReadLine());
                const QString got = QByteArray::fromPercentEncoding(socket.readLine());
                QVERIFY2(got.contains(answer), qPrintable(got));
            }
        }
        QCOMPARE(shown.count(), 1);
        QCOMPARE(program.list().rows(), 3 + added);
        // Each new task saved (a note losing the focus to the next saves once more).
        QVERIFY(added ? program.saves->count() >= added : program.saves->count() == 0);
    }

    // SIGTERM ends the program within 2 s, saving once, even with the failed-save question open.
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
    if (argc >= 2 && std::strcmp(argv[1], "--holder") == 0)
        return holder(argc, argv);
    if (argc >= 3 && std::strcmp(argv[1], "--race") == 0)
        return racer(argc, argv);
    QApplication app(argc, argv);
    TstSession test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_session.moc"
