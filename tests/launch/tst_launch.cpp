// SPDX-License-Identifier: GPL-3.0-or-later
#include "common/table.h"
#include "common/tempdatahome.h"
#include "launch/commandline.h"
#include "launch/platform.h"
#include "launch/request.h"
#include "store/clock.h"

#include <QtTest>
#include <ctime>

using L = QStringList;
using Action = jot::Request::Action;

struct CommandLineCase {
    QByteArray name;
    L arguments;
    int status; // -1: the program goes on
    L printed;  // what the output and the error output hold
};
struct WhenCase {
    QByteArray name;
    QString when, expected; // "yyyy-MM-dd HH:mm", or a piece of the reason
};
struct RequestCase {
    QByteArray name, line; // without its newline
    bool understood;
};
struct RefusedCase {
    QByteArray name, at;
    QString why; // a piece of the reason; empty: carried out
};
struct AnswerCase {
    QByteArray name;
    Action action;
    QByteArray answer;
    QString why; // empty: confirmed
};
struct PlatformCase {
    QByteArray name;
    L environment;       // QT_QPA_PLATFORM, WAYLAND_DISPLAY, DISPLAY
    QByteArray platform; // QT_QPA_PLATFORM afterwards
};

// What is settled before the application exists: the command line, the display platform and
// Qt's own translations.
class TstLaunch : public QObject {
    Q_OBJECT
    // This one's, without a display, with the variables given (name, value, ...) set.
    static QProcessEnvironment environment(const L& set) {
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        for (const char* name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"})
            env.remove(name);
        for (int i = 0; i + 1 < set.size(); i += 2)
            env.insert(set[i], set[i + 1]);
        return env;
    }
private Q_SLOTS:
    void commandLine_data() {
        testing::table<CommandLineCase>(
            {{"restarted by the session manager", {"-session", "10ab_7"}, -1, {}},
             {"help", {"--help"}, 0, {"--version", ""}},
             {"version", {"--version"}, 0, {"Jotlark " JOT_VERSION "\n", ""}},
             {"unknown option", {"--bogus"}, 2, {"", "'bogus'"}},
             {"stray argument", {"foo"}, 2, {"", "'foo'"}},
             {"no display", {}, 1, {"", "no graphical session"}},
             {"no display for the platform asked",
              {"-platform", "xcb"},
              1,
              {"", "DISPLAY nor WAYLAND_DISPLAY"}},
             {"new task", {"--new", "Buy", "milk", "--at", "+1d"}, -1, {}},
             {"WHEN out of range", {"--new", "--at", "25:00"}, 2, {"", "25:00"}},
             {"--at alone", {"--at", "10:00"}, 2, {"", "--at"}},
             {"two requests", {"--show-all", "--hide-all"}, 2, {"", "alone"}},
             {"export and a request", {"--export", "-", "--new"}, 2, {"", "alone"}},
             {"a text without --new", {"--show-all", "x"}, 2, {"", "'x'"}}});
    }
    // A command line that ends the program needs no display and no writable home.
    void commandLine() {
        QFETCH(CommandLineCase, row);
        const QString beside = QFileInfo(JOTLARK_BIN).path() + "/jotstore"; // left by a run
        QVERIFY2(!QFileInfo::exists(beside), qPrintable(beside));
        if (row.status < 0) {
            const jot::CommandLineOutcome outcome =
                jot::parseCommandLine(L{"jotlark"} + row.arguments);
            QVERIFY(!outcome.exitStatus);
            QCOMPARE(outcome.request.text, row.arguments.contains("--new") ? "Buy milk" : "");
            QCOMPARE(bool(outcome.request.alarm), row.arguments.contains("--at"));
            return;
        }
        QProcess program; // nothing can be made under a file
        program.setProcessEnvironment(
            environment({"HOME", "/dev/null/home", "XDG_DATA_HOME", "/dev/null/data"}));
        program.start(JOTLARK_BIN, row.arguments);
        QVERIFY(program.waitForFinished(10000));
        QCOMPARE(program.exitStatus(), QProcess::NormalExit);
        QCOMPARE(program.exitCode(), row.status);
        const QString out = program.readAllStandardOutput(), err = program.readAllStandardError();
        QVERIFY2(row.printed[0].isEmpty() ? out.isEmpty() : out.contains(row.printed[0]),
                 qPrintable(out));
        QVERIFY2(row.printed[1].isEmpty() ? err.isEmpty() : err.contains(row.printed[1]),
                 qPrintable(err));
        QVERIFY(!QFileInfo::exists(beside));
    }

    // --export writes the task file as a calendar without a display, or says why it cannot.
    // To standard output, and to a file that cannot be made: the status and what is printed.
    void exportWithoutDisplay() {
        for (const auto& [target, status, printed] :
             {std::tuple{"-", 0, "SUMMARY:Buy milk"}, {"no/tasks.ics", 1, "no/tasks.ics"}}) {
            QTemporaryDir home;
            QVERIFY(
                testing::writeFile(home.filePath("jotlk/planifs.txt"),
                                   "\"Le 12/01 \xc3\xa0 09:00 am\",\"Buy milk\",\"\",\"\"\r\n"));
            QProcess program;
            program.setProcessEnvironment(environment({"XDG_DATA_HOME", home.path()}));
            program.setWorkingDirectory(home.path());
            program.start(JOTLARK_BIN, {"--export", target});
            QVERIFY(program.waitForFinished(10000));
            QCOMPARE(program.exitCode(), status);
            const QString out = program.readAllStandardOutput() + program.readAllStandardError();
            QVERIFY2(out.contains(printed), qPrintable(out));
        }
    }

    // With no usable data folder the tasks stay beside the program (a copy), locked before the
    // display is up, and the start says where; when even that fails (a file in the way) it
    // says so and runs.
    void besideTheProgram() {
        for (const bool made : {true, false}) {
            QTemporaryDir dir;
            const QString program = dir.filePath("jotlark");
            QVERIFY(QFile::copy(JOTLARK_BIN, program));
            const QString blocked =
                dir.filePath(made ? "file" : "jotstore"); // nothing made under it
            QVERIFY(testing::writeFile(blocked, {}));
            QProcess running;
            running.setProcessEnvironment(environment(
                {"QT_QPA_PLATFORM", "offscreen", "HOME", blocked + "/home", "XDG_DATA_HOME",
                 blocked + "/data", "XDG_CONFIG_HOME", dir.filePath("config"), "XDG_RUNTIME_DIR",
                 dir.filePath("runtime"), "TMPDIR", dir.path()}));
            running.start(program);
            QVERIFY(running.waitForStarted());
            running.setReadChannel(QProcess::StandardError);
            QString said;
            while (!said.contains("data folder") && running.waitForReadyRead(10000))
                said += running.readAllStandardError();
            QVERIFY2(said.section("data folder", 1).contains(dir.filePath("jotstore/")),
                     qPrintable(said));
            qint64 pid = 0;
            QLockFile lock(dir.filePath("jotstore/jotlark.lock"));
            QVERIFY(!made || lock.getLockInfo(&pid, nullptr, nullptr));
            QCOMPARE(pid, made ? running.processId() : 0);
            running.terminate();
            QVERIFY(running.waitForFinished(10000));
            QCOMPARE(running.exitStatus(), QProcess::NormalExit);
        }
    }

    // A --at WHEN from Saturday 2026-03-14 10:20:30, to its minute ("+N" from the next whole
    // minute); refused with the reason when it cannot be an alarm.
    void when_data() {
        testing::table<WhenCase>();
        for (const QString row :
             {"10:20 = 2026-03-14 10:20", "10:19 = 2026-03-15 10:19", // past: tomorrow
              "tomorrow 9:05 = 2026-03-15 09:05", "2027-03-15 23:59 = 2027-03-15 23:59",
              "2027-03-16 00:00 = 366 days", "2026-03-14 10:00 = past",
              "2027-02-29 10:00 = not a date", "tomorrow 9am = 2026-03-15 09:00",
              "+5 = not understood", "10:30:00 = not understood"})
            testing::addRow(WhenCase{row.section(" = ", 0, 0).toUtf8(), row.section(" = ", 0, 0),
                                     row.section(" = ", 1)});
    }
    void when() {
        QFETCH(WhenCase, row);
        const QDateTime now(QDate(2026, 3, 14), QTime(10, 20, 30));
        QString why;
        const std::optional<QDateTime> at = jot::parseWhen(row.when, now, &why);
        if (at)
            QCOMPARE(at->toString("yyyy-MM-dd HH:mm"), row.expected);
        else
            QVERIFY2(why.contains(row.expected), qPrintable(why));
    }

    // A later start's line: understood with each field once, in this version; re-encoded alike.
    void request_data() {
        testing::table<RequestCase>();
        for (const QByteArray line :
             {"show", "jotlark/2 new",
              "jotlark/2 new at=2026-03-14T10:30 text=Buy%20milk%0A%C3%A0%20midi",
              "jotlark/2 show-all", "jotlark/2 hide-all", "jotlark/2 new at=2026-03-14T10:20"})
            testing::addRow(RequestCase{line, line, true});
        for (const QByteArray& line : std::initializer_list<QByteArray>{
                 "jotlark/3 new", "jotlark/2 delete-all", "jotlark/2 new at=Saturday",
                 "jotlark/2 new at=2026-03-14T10:20:00", "jotlark/2 new at=2026-02-30T10:30",
                 "jotlark/2 new at=2026-03-14T10:30 at=2026-03-14T10:45",
                 "jotlark/2 new colour=red", "jotlark/2 show-all text=x", "jotlark/2 new text=%FF",
                 "ok", "empty", "jotlark/2 new text=" + QByteArray(jot::kMaxRequestBytes, 'a')})
            testing::addRow(RequestCase{line.left(40), line == "empty" ? "" : line, false});
    }
    void request() {
        QFETCH(RequestCase, row);
        const std::optional<jot::Request> request = jot::decodeRequest(row.line);
        QCOMPARE(bool(request), row.understood);
        if (request)
            QCOMPARE(jot::encodeRequest(*request), row.line + '\n');
    }

    // The running program checks an alarm handed over as the command line checks --at, at
    // Saturday 2026-03-14 10:16 in Paris: the line it was sent in took a moment to arrive.
    void refused_data() {
        testing::table<RefusedCase>(
            {{"a minute late", "2026-03-14T10:15", ""},
             {"past", "2026-03-14T10:00", "in the past"},
             {"the day after", "2027-03-16T00:00", "366 days ahead"},
             {"daylight-saving gap", "2026-03-29T02:30", "does not exist"}});
    }
    void refused() {
        QFETCH(RefusedCase, row);
        qputenv("TZ", "Europe/Paris");
        ::tzset();
        const std::optional<jot::Request> request =
            jot::decodeRequest("jotlark/2 new at=" + row.at);
        QVERIFY(request);
        const QString said = jot::refusal(*request, QDateTime(QDate(2026, 3, 14), QTime(10, 16)));
        QVERIFY2(row.why.isEmpty() ? said.isEmpty() : said.contains(row.why), qPrintable(said));
    }

    // Done only on the answer that echoes the request: an older program answers "ok" to all.
    // (A task added, refused at 100 tasks or not saved: seen end to end in tst_session.)
    void answer_data() {
        testing::table<AnswerCase>(
            {{"shown", Action::Show, "ok\n", ""},
             {"older program", Action::New, "ok\n", "older version"},
             {"another request done", Action::ShowAll, "jotlark/2 done new\n", "older version"},
             {"not understood", Action::HideAll, "jotlark/2 refused unknown\n", "understand"},
             {"no answer", Action::New, {}, "did not answer"},
             {"refused with a reason", Action::New, "jotlark/2 refused new it%27s%20past\n",
              ": it's past"}});
    }
    void answer() {
        QFETCH(AnswerCase, row);
        jot::Request request;
        request.action = row.action;
        QString said;
        QCOMPARE(jot::confirms(request, row.answer, &said), row.why.isEmpty());
        QVERIFY2(said.contains(row.why), qPrintable(said));
    }

    // Where XWayland is at hand, X11, unless the user chose.
    void platform_data() {
        testing::table<PlatformCase>(
            {{"X11", {"", "", ":0"}, {}},
             {"Wayland with XWayland", {"", "wayland-0", ":0"}, "xcb"},
             {"Wayland alone", {"", "wayland-0", ""}, "wayland"},
             {"the user's choice", {"wayland", "wayland-0", ":0"}, "wayland"}});
    }
    // The environment is left as the row set it: no test after this one reads it.
    void platform() {
        QFETCH(PlatformCase, row);
        const char* const names[] = {"QT_QPA_PLATFORM", "WAYLAND_DISPLAY", "DISPLAY"};
        for (int i = 0; i < 3; ++i) // empty reads as unset
            qputenv(names[i], row.environment[i].toUtf8());
        jot::choosePlatform();
        QCOMPARE(qgetenv("QT_QPA_PLATFORM"), row.platform);
    }
};

QTEST_GUILESS_MAIN(TstLaunch)
#include "tst_launch.moc"
