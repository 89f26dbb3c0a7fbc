// SPDX-License-Identifier: GPL-3.0-or-later
#include "common/table.h"
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
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        for (const char* name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"})
            env.remove(name);
        env.insert("HOME", "/dev/null/home"); // nothing can be made under a file
        env.insert("XDG_DATA_HOME", "/dev/null/data");
        QProcess program;
        program.setProcessEnvironment(env);
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
             {std::tuple{"-", 0, "SUMMARY:Buy milk"}, {"no/tasks.ics", 1, "no/tasks.ics"}})
            exportTo(target, status, printed);
    }
    void exportTo(const QString& target, int status, const QString& printed) {
        QTemporaryDir home;
        QVERIFY(QDir(home.path()).mkpath("jotlk"));
        QFile tasks(home.filePath("jotlk/planifs.txt"));
        QVERIFY(tasks.open(QIODevice::WriteOnly));
        tasks.write("\"Le 12/01 \xc3\xa0 09:00 am\",\"Buy milk\",\"\",\"\"\r\n");
        tasks.close();
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        for (const char* name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"})
            env.remove(name);
        env.insert("XDG_DATA_HOME", home.path());
        QProcess program;
        program.setProcessEnvironment(env);
        program.setWorkingDirectory(home.path());
        program.start(JOTLARK_BIN, {"--export", target});
        QVERIFY(program.waitForFinished(10000));
        QCOMPARE(program.exitCode(), status);
        const QString out = program.readAllStandardOutput() + program.readAllStandardError();
        QVERIFY2(out.contains(printed), qPrintable(out));
    }

    // With no usable data folder the tasks stay beside the program (a copy), locked before the
    // display is up, and the start says where; when even that fails it says so and runs.
    void besideTheProgram() {
        besideTheProgramIf(true);
        besideTheProgramIf(false); // cannot be made
    }
    void besideTheProgramIf(bool made) {
        QTemporaryDir dir;
        const QString program = dir.filePath("jotlark");
        QVERIFY(QFile::copy(JOTLARK_BIN, program));
        const QString blocked = dir.filePath(made ? "file" : "jotstore"); // nothing made under it
        QVERIFY(QFile(blocked).open(QIODevice::WriteOnly));
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert("QT_QPA_PLATFORM", "offscreen");
        env.insert("HOME", blocked + "/home");
        env.insert("XDG_DATA_HOME", blocked + "/data");
        env.insert("XDG_CONFIG_HOME", dir.filePath("config"));
        env.insert("XDG_RUNTIME_DIR", dir.filePath("runtime"));
        env.insert("TMPDIR", dir.path());
        QProcess running;
        running.setProcessEnvironment(env);
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

    // A --at WHEN from Saturday 2026-03-14 10:20:30, to its minute ("+N" from the next whole
    // minute); refused with the reason when it cannot be an alarm.
    void when_data() {
        QTest::addColumn<WhenCase>("row");
        const auto row = [](const char* name, const char* when, const char* expected) {
            testing::addRow(WhenCase{name, when, expected});
        };
        row("this very minute", "10:20", "2026-03-14 10:20");
        row("past: tomorrow", "10:19", "2026-03-15 10:19");
        row("tomorrow", "tomorrow 9:05", "2026-03-15 09:05");
        row("dated, the last day", "2027-03-15 23:59", "2027-03-15 23:59");
        row("beyond the last day", "2027-03-16 00:00", "366 days");
        row("past date", "2026-03-14 10:00", "past");
        row("no such date", "2027-02-29 10:00", "not a date");
        row("plain words", "tomorrow 9am", "2026-03-15 09:00");
        row("no unit", "+5", "not understood");
        row("seconds", "10:30:00", "not understood");
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
        QTest::addColumn<RequestCase>("row");
        const auto row = [](const char* name, const QByteArray& line, bool understood) {
            testing::addRow(RequestCase{name, line, understood});
        };
        row("plain start", "show", true);
        row("empty new task", "jotlark/2 new", true);
        row("new task with alarm and text",
            "jotlark/2 new at=2026-03-14T10:30 text=Buy%20milk%0A%C3%A0%20midi", true);
        row("show all", "jotlark/2 show-all", true);
        row("hide all", "jotlark/2 hide-all", true);
        row("a later version", "jotlark/3 new", false);
        row("unknown request", "jotlark/2 delete-all", false);
        row("alarm by weekday", "jotlark/2 new at=Saturday", false);
        row("alarm off a quarter hour", "jotlark/2 new at=2026-03-14T10:20", true);
        row("alarm with seconds", "jotlark/2 new at=2026-03-14T10:20:00", false);
        row("alarm on no date", "jotlark/2 new at=2026-02-30T10:30", false);
        row("alarm twice", "jotlark/2 new at=2026-03-14T10:30 at=2026-03-14T10:45", false);
        row("unknown field", "jotlark/2 new colour=red", false);
        row("field of another request", "jotlark/2 show-all text=x", false);
        row("text not UTF-8", "jotlark/2 new text=%FF", false);
        row("an older program's answer", "ok", false);
        row("empty", "", false);
        row("too long", "jotlark/2 new text=" + QByteArray(jot::kMaxRequestBytes, 'a'), false);
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
    void answer_data() {
        testing::table<AnswerCase>(
            {{"shown", Action::Show, "ok\n", ""},
             {"added", Action::New, "jotlark/2 done new\n", ""},
             {"older program", Action::New, "ok\n", "older version"},
             {"another request done", Action::ShowAll, "jotlark/2 done new\n", "older version"},
             {"100 tasks", Action::New, "jotlark/2 refused full\n", "100 tasks"},
             {"not understood", Action::HideAll, "jotlark/2 refused unknown\n", "understand"},
             {"no answer", Action::New, {}, "did not answer"},
             {"refused with a reason", Action::New, "jotlark/2 refused new it%27s%20past\n",
              ": it's past"},
             {"added, not saved", Action::New, "jotlark/2 unsaved new No%20space\n",
              "added, but not saved: No space"}});
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
