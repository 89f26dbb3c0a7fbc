// SPDX-License-Identifier: GPL-3.0-or-later
#include "alarms/alarmtext.h"
#include "app/signalwatcher.h"
#include "app/singleinstance.h"
#include "app/startcheck.h"
#include "common/program.h"
#include "common/table.h"
#include "store/datadir.h"
#include "ui/messagebox.h"

#include <QLocalSocket>
#include <csignal>
#include <memory>
#include <sys/stat.h>
#include <thread>
#include <unistd.h>

// One program per data directory, and a termination signal that ends it whatever is open; the
// program holding the directory is a child (this binary in a helper role).

using testing::say;

namespace {

using Decision = jot::StartDecision;
using Box = QMessageBox;
using L = QStringList;
const QString kAsked = QStringLiteral("Your tasks could not be saved");

// Without a runtime folder, the socket's folder in the temporary folder made by another user
// (as root) and open to others, till the next test.
void squat(const QTemporaryDir& temp) {
    qunsetenv("XDG_RUNTIME_DIR");
    const QString folder = temp.filePath("jotlark-" + QString::number(::getuid()));
    QDir().mkpath(folder);
    QFile::setPermissions(folder, QFile::Permissions(0x7777));
    // Open to others stands in when the folder cannot be given away.
    [[maybe_unused]] const int given = ::chown(QFile::encodeName(folder), 65534, 65534);
}

// Child: a program holding the data directory, saying "shown" when a later start asks, with
// its failed-save Exit question open and said. With "full", it could not make its lock file.
int holder(int argc, char* argv[]) {
    QApplication app(argc, argv);
    testing::quietOffscreen();
    jot::SignalWatcher watcher;
    jot::SingleInstance instance(jot::dossier_donnees());
    if (const testing::FileSizeLimit disk(0, argc > 2);
        instance.acquire() != jot::SingleInstance::Outcome::Run)
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
    const testing::FileSizeLimit disk(0, argc > 3);
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
        testing::startRole(*this, arguments);
        return !waitForLine(arguments[0] == "--holder" ? kAsked : "ready").isEmpty();
    }
    ~Child() override {
        kill();
        waitForFinished();
    }
    // The next line that starts so, or "" after 10 s without one.
    QString waitForLine(const QString& start = {}) {
        while (canReadLine() || waitForReadyRead(10000))
            if (const QString line = QString::fromUtf8(readLine()).trimmed();
                line.startsWith(start))
                return line;
        return {};
    }
};

} // namespace

struct StartCase {
    QByteArray name;
    QString holder;             // a live program: "answers", "stopped"
    QByteArray lock;            // left without a holder; %p: this process, %h: host
    Box::StandardButton answer; // to the question, if any
    Decision decision;
    bool early = false; // the lock tried first on a thread, as main() does
    QString where = {}; // "data folder": the lock left there, by a sync; "no runtime": none, the
                        // lock lives there; "squatted": that, the socket's folder another
                        // user's, and the start asks for --new
    bool full = false;  // no lock can be made, for the holder as for this start
};
struct TogetherCase {
    QByteArray name; // where: "stale lock", "full runtime", "no runtime, full" data folder
    int rounds;
};
struct SocketCase {
    QByteArray name;
    QString runtime; // "private", "open" to others, "none", "long"
    int dataPath;    // the data folder's length at least
    QString place;   // "runtime", "temp", "none" (a link in the way)
};
struct HandOverCase {
    QByteArray name;
    QString running; // "program", "failing" (its saves), "squatted", "none"; "socket": the
                     // arguments' first written on the socket as one write, not a start
    int tasks;
    L arguments;           // %d: the day after tomorrow
    int status;            // with "socket", the answers awaited, each holding `said`
    QString said;          // on standard error
    QByteArray added = {}; // the end of the file; %a: the alarm at 21:00
    int notes = 0;         // open afterwards
};

class TstSession : public QObject {
    Q_OBJECT
    QTemporaryDir m_runtime; // the session's private runtime directory, not the user's
    QTemporaryDir m_temp;    // the temporary folder, not the machine's

private Q_SLOTS:

    void init() {
        qputenv("XDG_RUNTIME_DIR", m_runtime.path().toLocal8Bit());
        QFile::setPermissions(m_runtime.path(), QFile::Permissions(0x7700));
        qputenv("TMPDIR", m_temp.path().toLocal8Bit());
        QDir(m_temp.filePath("jotlark-" + QString::number(::getuid()))).removeRecursively();
    }

    void start_data() {
        const QByteArray elsewhere = "4242\njotlark\nelsewhere.example\n";
        const auto none = Box::NoButton;
        testing::table<StartCase>(
            {{"running", "answers", {}, none, Decision::GiveWay},
             {"running, not answering", "stopped", {}, none, Decision::Refuse},
             {"an earlier boot's, our pid", "", "%p\ntst_session\n%h\n", none, Decision::Run},
             {"garbled lock", "", "\xff\x01 x\n", none, Decision::Run},
             {"another host, No", "", elsewhere, Box::No, Decision::Refuse},
             {"another host, Yes", "", elsewhere, Box::Yes, Decision::Run},
             {"free, locked early", "", {}, none, Decision::Run, true},
             {"running, locked early", "answers", {}, none, Decision::GiveWay, true},
             {"another host's, synced", "", elsewhere, none, Decision::Run, false, "data folder"},
             {"another host, no runtime, No", "", elsewhere, Box::No, Decision::Refuse, false,
              "no runtime"},
             {"no runtime, running", "answers", {}, none, Decision::GiveWay, false, "no runtime"},
             {"full disk, running", "answers", {}, none, Decision::GiveWay, false, "", true},
             {"full disk, free", "", {}, none, Decision::Run, false, "", true},
             {"squatted, --new", "stopped", {}, none, Decision::Refuse, false, "squatted"}});
    }
    void start() {
        QFETCH(StartCase, row);
        TempDataHome home;
        if (row.where == "no runtime")
            qunsetenv("XDG_RUNTIME_DIR");
        const bool squatted = row.where == "squatted";
        if (squatted)
            squat(m_temp);
        jot::SingleInstance instance(jot::dossier_donnees());
        if (squatted) {
            instance.setRequest({jot::Request::Action::New, "x", {}});
            QTest::ignoreMessage(QtCriticalMsg, QRegularExpression("socket folder .*jotlark-"));
        }
        const QString lockPath =
            row.where == "data folder" ? home.dataDir() + "jotlark.lock" : instance.lockPath();
        // The lock lives in the data folder only without a runtime folder.
        QCOMPARE(instance.lockPath().startsWith(home.dataDir()),
                 row.where == "no runtime" || row.where == "squatted");
        Child running;
        const QByteArray pid = QByteArray::number(QCoreApplication::applicationPid());
        row.lock.replace("%p", pid).replace("%h", QSysInfo::machineHostName().toUtf8());
        QVERIFY(!row.holder.isEmpty()
                    ? running.run(row.full ? L{"--holder", "full"} : L{"--holder"})
                    : row.lock.isNull() || testing::writeFile(lockPath, row.lock));
        if (row.holder == "stopped") // alive, its socket there, but never reading it
            ::kill(static_cast<pid_t>(running.processId()), SIGSTOP);
        QList<Box::StandardButton> defaults; // a question's is No: Enter never starts a second copy
        jot::setMessageResponderForTests([&](QMessageBox& b) {
            defaults << b.standardButton(b.defaultButton());
            return row.answer ? row.answer : Box::Ok;
        });
        const bool refused = row.decision == Decision::Refuse;
        if (refused && !squatted) // on screen, and on standard error for a terminal
            QTest::ignoreMessage(QtCriticalMsg, QRegularExpression("Jotlark"));
        if (row.full && row.decision == Decision::Run)
            QTest::ignoreMessage(QtWarningMsg, QRegularExpression("cannot create the lock file"));
        if (row.early)
            std::thread(&jot::SingleInstance::lockIfFree, &instance).join();
        {
            const testing::FileSizeLimit disk(0, row.full);
            QCOMPARE(jot::checkStart(instance), row.decision);
        }
        QCOMPARE(defaults, row.answer             ? QList{Box::No}
                           : refused && !squatted ? QList{Box::Ok}
                                                  : QList<Box::StandardButton>());
        QVERIFY(row.decision != Decision::GiveWay || !running.waitForLine("shown").isEmpty());
        if (row.decision == Decision::Run) { // held, private, and a later start finds it
            QCOMPARE(testing::readFile(instance.lockPath()).startsWith(pid + '\n'), !row.full);
            // In the runtime folder, sticky too: its clean-up leaves it alone.
            const mode_t mode = instance.lockPath().startsWith(home.dataDir()) ? 0600 : 01600;
            QVERIFY(row.full || testing::modeOf(instance.lockPath()) == mode);
            QTRY_VERIFY(QFileInfo::exists(jot::SingleInstance::socketPath(jot::dossier_donnees())));
        }
        if (row.holder.isEmpty() && (refused || row.where == "data folder")) // left as it was
            QCOMPARE(testing::readFile(lockPath), row.lock);
        if (row.name == "running") { // SIGTERM ends it within 2 s, saving once, its question open
            QDir(home.taskFile()).removeRecursively(); // the save can go through now
            ::kill(static_cast<pid_t>(running.processId()), SIGTERM);
            QVERIFY(running.waitForFinished(2000));
            QVERIFY(running.exitStatus() == QProcess::NormalExit && running.exitCode() == 0);
            QCOMPARE(testing::readFile(home.taskFile()),
                     testing::records(2).sliced(testing::records(1).size()));
        }
    }

    // Starts at once, over the same stale lock or where no lock can be written: one runs, the
    // others give way to it.
    void togetherOnce_data() {
        testing::table<TogetherCase>(
            {{"stale lock", 30}, {"full runtime", 10}, {"no runtime, full", 10}});
    }
    void togetherOnce() {
        QFETCH(TogetherCase, row);
        TempDataHome home;
        if (row.name.startsWith("no runtime"))
            qunsetenv("XDG_RUNTIME_DIR");
        const QString lock = jot::SingleInstance::lockPathFor(jot::dossier_donnees());
        const QByteArray stale = "1\ntst_session\n" + QSysInfo::machineHostName().toUtf8() + '\n';
        const QString go = home.path() + "/go";
        const L arguments = row.name == "stale lock" ? L{"--race", go} : L{"--race", go, "full"};
        for (int round = 0; round < row.rounds; ++round) {
            QFile::remove(go);
            QVERIFY(row.name != "stale lock" || testing::writeFile(lock, stale));
            std::array<Child, 3> starts;
            for (Child& start : starts)
                QVERIFY(start.run(arguments));
            QVERIFY(testing::writeFile(go, {}));
            QStringList outcomes;
            for (Child& start : starts)
                outcomes << start.waitForLine();
            outcomes.sort();
            QCOMPARE(outcomes, QStringList({"0", "1", "1"})); // Run, HandedOver twice
        }
    }

    // The hand-over socket is private: in the runtime folder if private and the name fits,
    // else in the user's private folder in the temporary folder, never one another user made.
    void socketPlace_data() {
        testing::table<SocketCase>({{"runtime folder", "private", 0, "runtime"},
                                    {"runtime folder open to others", "open", 0, "temp"},
                                    {"no runtime folder, long data path", "none", 100, "temp"},
                                    {"runtime folder of a long path", "long", 0, "temp"},
                                    {"a link in the temporary folder", "none", 0, "none"}});
    }
    void socketPlace() {
        QFETCH(SocketCase, row);
        TempDataHome home;
        qputenv("XDG_DATA_HOME", QFile::encodeName(home.path() + '/' + QString(row.dataPath, 'd')));
        const QString dir = jot::dossier_donnees();
        QString folder = m_temp.filePath("jotlark-" + QString::number(::getuid()));
        if (row.runtime == "open")
            QFile::setPermissions(m_runtime.path(), QFile::Permissions(0x7755));
        else if (row.runtime == "none")
            qunsetenv("XDG_RUNTIME_DIR");
        else if (row.runtime == "long") {
            const QString deep = m_runtime.filePath(QString(100, 'r'));
            QVERIFY(QDir().mkpath(deep) && QFile::setPermissions(deep, QFile::Permissions(0x7700)));
            qputenv("XDG_RUNTIME_DIR", QFile::encodeName(deep));
        } else
            folder = m_runtime.path();
        const QDir target(m_temp.filePath("elsewhere"));
        if (row.place == "none") { // another user's link, say, to a folder the other user reads
            QDir(folder).removeRecursively();
            QVERIFY(target.mkpath(".") && QFile::link(target.path(), folder));
            QTest::ignoreMessage(QtWarningMsg, QRegularExpression("no private folder"));
        }
        QCOMPARE(QFileInfo(jot::SingleInstance::socketPath(dir)).path(), folder);
        jot::SingleInstance instance(dir);
        QCOMPARE(instance.acquire(), jot::SingleInstance::Outcome::Run);
        QCoreApplication::processEvents(); // the socket is made once the event loop runs
        const QFileInfo socket(jot::SingleInstance::socketPath(dir));
        QCOMPARE(socket.exists(), row.place != "none");
        QVERIFY(target.isEmpty());
        if (row.place == "none") {
            QVERIFY(QFile::remove(folder));
            return;
        }
        QCOMPARE(testing::modeOf(socket.filePath()) & 077, 0u);
        QCOMPARE(testing::modeOf(folder) & 077, 0u);
    }

    // A later start's request, carried out by the running program (this process) or refused
    // on standard error; with none running the start runs and adds the task itself. On the
    // socket every request of a write is answered, in order; a line not understood, or too
    // long, is refused, and an alarm the command line would refuse; neither changes anything,
    // and the next connection is answered.
    void handOver_data() {
        const QByteArray milk = ",\"Buy milk~and bread\",\"%a\",\"\"\r\n",
                         x = ",\"x\",\"\",\"\"\r\n";
        const L withAlarm{"--new", "Buy milk\nand bread", "--at", "%d 21:00"};
        const QString newX = "jotlark/2 new text=x\n", unknown = "jotlark/2 refused unknown",
                      past = "refused new the alarm 2020-01-01 09:00 is in the past";
        testing::table<HandOverCase>(
            {{"new task", "program", 2, withAlarm, 0, "", milk, 1},
             {"empty new task", "program", 2, {"--new"}, 0, "", ",\"\",\"\",\"\"\r\n", 1},
             {"100 tasks", "program", 100, {"--new", "x"}, 1, "100 tasks", {}, 0},
             {"show all", "program", 2, {"--show-all"}, 0, "", {}, 2},
             {"hide all", "program", 2, {"--hide-all"}, 0, "", {}, 0},
             {"none running", "none", 2, withAlarm, 0, "", milk, 0},
             {"saves failing", "failing", 2, {"--new", "x"}, 1, "not saved: replacing", {}, 1},
             {"squatted socket folder", "squatted", 2, withAlarm, 0, "", milk, 1},
             {"a later version", "socket", 2, {"jotlark/3 new text=x\n"}, 1, unknown, {}, 0},
             {"endless line", "socket", 2, {QString(jot::kMaxRequestBytes + 1, 'a')}, 1, unknown},
             {"a past date", "socket", 2, {"jotlark/2 new at=2020-01-01T09:00\n"}, 1, past},
             {"two in one write", "socket", 2, {newX + newX}, 2, "jotlark/2 done new", x, 2}});
    }
    void handOver() {
        QFETCH(HandOverCase, row);
        const QDate day = QDate::currentDate().addDays(2);
        row.arguments.replaceInStrings("%d", day.toString("yyyy-MM-dd"));
        row.added.replace("%a", jot::alarmTextAt(day, QTime(21, 0)).toUtf8());
        testing::Program program(testing::records(row.tasks)); // running once it holds the lock
        if (row.running == "squatted")
            squat(m_temp);
        jot::SingleInstance instance(jot::dossier_donnees());
        QSignalSpy shown(&instance, &jot::SingleInstance::activationRequested);
        if (row.running != "none") {
            QCOMPARE(instance.acquire(), jot::SingleInstance::Outcome::Run);
            instance.setRequestHandler(
                [&](const jot::Request& r) { return program.main->carryOut(r); });
            QCoreApplication::processEvents(); // the socket is made once the event loop runs
            if (row.arguments.contains("--hide-all"))
                program.trigger("m_toutafficher"); // notes for it to close
            if (row.running == "failing")          // a directory in the file's place
                QVERIFY(QFile::remove(program.home.taskFile()) &&
                        QDir().mkpath(program.home.taskFile() + "/x"));
        }
        const QByteArray before = program.fileBytes();
        if (row.running == "socket") {
            for (const QString& line : {row.arguments[0], QString("show\n")}) {
                QLocalSocket socket;
                socket.connectToServer(jot::SingleInstance::socketPath(jot::dossier_donnees()));
                QVERIFY(socket.waitForConnected(1000));
                socket.write(line.toUtf8());
                for (int n = 0; n < (line == "show\n" ? 1 : row.status); ++n) {
                    QTRY_VERIFY(socket.canReadLine());
                    const QString got = QByteArray::fromPercentEncoding(socket.readLine());
                    QVERIFY2(got.contains(line == "show\n" ? "ok" : row.said), qPrintable(got));
                }
            }
            QCOMPARE(shown.count(), 1);
            // Each new task saved (a note losing the focus to the next saves once more).
            QVERIFY(row.added.isEmpty() ? program.saves->count() == 0
                                        : program.saves->count() >= row.status);
        } else {
            QProcess start;
            start.start(JOTLARK_BIN, row.arguments);
            if (row.running == "none") { // it runs: the task is saved, then a signal ends it
                QTRY_VERIFY_WITH_TIMEOUT(program.fileBytes().endsWith(row.added), 10000);
                start.terminate();
            }
            QTRY_COMPARE_WITH_TIMEOUT(start.state(), QProcess::NotRunning, 10000);
            QCOMPARE(start.exitStatus(), QProcess::NormalExit);
            QCOMPARE(start.exitCode(), row.status);
            const QString err = start.readAllStandardError();
            QVERIFY2(err.contains(row.said), qPrintable(err));
            if (row.running == "none")
                return;
        }
        const QByteArray after = program.fileBytes();
        // A line, and a note open, for each task added.
        QVERIFY2(row.added.isEmpty() ? after == before
                                     : after.startsWith(before) && after.endsWith(row.added) &&
                                           after.count('\n') == before.count('\n') + row.notes,
                 after.constData());
        int open = 0;
        for (int r = 1; r < program.list().rows(); ++r)
            open += program.noteOf(r) != nullptr;
        QCOMPARE(open, row.notes);
        if (!row.added.isEmpty()) // the new task's note, with the keyboard
            QCOMPARE(QApplication::activeWindow(), program.noteOf(program.list().rows() - 1));
    }
};

int main(int argc, char* argv[]) {
    return testing::mainWithRoles<QApplication, TstSession>(
        argc, argv, {{"--holder", holder}, {"--race", racer}});
}

#include "tst_session.moc"
