// SPDX-License-Identifier: GPL-3.0-or-later
#include "launch/commandline.h"
#include "launch/platform.h"
#include "launch/request.h"
#include "store/clock.h"

#include <QtTest>
#include <ctime>

using L = QStringList;
using Action = jot::Request::Action;

// What is settled before the application exists: the command line, the display platform and
// Qt's own translations.
class TstLaunch : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void commandLine_data() {
        QTest::addColumn<L>("arguments");
        QTest::addColumn<int>("status"); // -1: the program goes on
        QTest::addColumn<L>("printed");  // what the output and the error output hold
        QTest::newRow("restarted by the session manager") << L{"-session", "10ab_7"} << -1 << L();
        QTest::newRow("help") << L{"--help"} << 0 << L{"--version", ""};
        QTest::newRow("version") << L{"--version"} << 0 << L{"Jotlark " JOT_VERSION "\n", ""};
        QTest::newRow("unknown option") << L{"--bogus"} << 2 << L{"", "'bogus'"};
        QTest::newRow("stray argument") << L{"foo"} << 2 << L{"", "'foo'"};
        QTest::newRow("no display") << L{} << 1 << L{"", "no graphical session"};
        QTest::newRow("no display for the platform asked")
            << L{"-platform", "xcb"} << 1 << L{"", "DISPLAY nor WAYLAND_DISPLAY"};
        QTest::newRow("new task") << L{"--new", "Buy", "milk", "--at", "+1d"} << -1 << L();
        QTest::newRow("WHEN out of range") << L{"--new", "--at", "25:00"} << 2 << L{"", "25:00"};
        QTest::newRow("--at alone") << L{"--at", "10:00"} << 2 << L{"", "--at"};
        QTest::newRow("two requests") << L{"--show-all", "--hide-all"} << 2 << L{"", "alone"};
        QTest::newRow("export and a request") << L{"--export", "-", "--new"} << 2 << L{"", "alone"};
        QTest::newRow("a text without --new") << L{"--show-all", "x"} << 2 << L{"", "'x'"};
    }
    // A command line that ends the program needs no display and no writable home.
    void commandLine() {
        QFETCH(L, arguments);
        QFETCH(int, status);
        QFETCH(L, printed);
        const QString beside = QFileInfo(JOTLARK_BIN).path() + "/jotstore"; // left by a run
        QVERIFY2(!QFileInfo::exists(beside), qPrintable(beside));
        if (status < 0) {
            const jot::CommandLineOutcome outcome = jot::parseCommandLine(L{"jotlark"} + arguments);
            QVERIFY(!outcome.exitStatus);
            QCOMPARE(outcome.request.text, arguments.contains("--new") ? "Buy milk" : "");
            QCOMPARE(bool(outcome.request.alarm), arguments.contains("--at"));
            return;
        }
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        for (const char* name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"})
            env.remove(name);
        env.insert("HOME", "/dev/null/home"); // nothing can be made under a file
        env.insert("XDG_DATA_HOME", "/dev/null/data");
        QProcess program;
        program.setProcessEnvironment(env);
        program.start(JOTLARK_BIN, arguments);
        QVERIFY(program.waitForFinished(10000));
        QCOMPARE(program.exitStatus(), QProcess::NormalExit);
        QCOMPARE(program.exitCode(), status);
        const QString out = program.readAllStandardOutput(), err = program.readAllStandardError();
        QVERIFY2(printed[0].isEmpty() ? out.isEmpty() : out.contains(printed[0]), qPrintable(out));
        QVERIFY2(printed[1].isEmpty() ? err.isEmpty() : err.contains(printed[1]), qPrintable(err));
        QVERIFY(!QFileInfo::exists(beside));
    }

    // --export writes the task file as a calendar without a display, or says why it cannot.
    void exportWithoutDisplay_data() {
        QTest::addColumn<QString>("target");
        QTest::addColumn<int>("status");
        QTest::addColumn<QString>("printed"); // on standard output or error
        QTest::newRow("standard output") << "-" << 0 << "SUMMARY:Buy milk";
        QTest::newRow("a file that cannot be made") << "no/tasks.ics" << 1 << "no/tasks.ics";
    }
    void exportWithoutDisplay() {
        QFETCH(QString, target);
        QFETCH(int, status);
        QFETCH(QString, printed);
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
    void besideTheProgram_data() {
        QTest::addColumn<bool>("made");
        QTest::newRow("made") << true;
        QTest::newRow("cannot be made") << false;
    }
    void besideTheProgram() {
        QFETCH(bool, made);
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
        QTest::addColumn<QString>("when");
        QTest::addColumn<QString>("expected"); // "yyyy-MM-dd HH:mm", or a piece of the reason
        const auto row = [](const char* name, const char* when, const char* expected) {
            QTest::newRow(name) << QString(when) << QString(expected);
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
        QFETCH(QString, when);
        QFETCH(QString, expected);
        const QDateTime now(QDate(2026, 3, 14), QTime(10, 20, 30));
        QString why;
        const std::optional<QDateTime> at = jot::parseWhen(when, now, &why);
        if (at)
            QCOMPARE(at->toString("yyyy-MM-dd HH:mm"), expected);
        else
            QVERIFY2(why.contains(expected), qPrintable(why));
    }

    // A later start's line: understood with each field once, in this version; re-encoded alike.
    void request_data() {
        QTest::addColumn<QByteArray>("line"); // without its newline
        QTest::addColumn<bool>("understood");
        const auto row = [](const char* name, const QByteArray& line, bool understood) {
            QTest::newRow(name) << line << understood;
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
        QFETCH(QByteArray, line);
        QFETCH(bool, understood);
        const std::optional<jot::Request> request = jot::decodeRequest(line);
        QCOMPARE(bool(request), understood);
        if (request)
            QCOMPARE(jot::encodeRequest(*request), line + '\n');
    }

    // The running program checks an alarm handed over as the command line checks --at, at
    // Saturday 2026-03-14 10:16 in Paris: the line it was sent in took a moment to arrive.
    void refused_data() {
        QTest::addColumn<QByteArray>("at");
        QTest::addColumn<QString>("why"); // a piece of the reason; empty: carried out
        QTest::newRow("a minute late") << QByteArray("2026-03-14T10:15") << "";
        QTest::newRow("past") << QByteArray("2026-03-14T10:00") << "in the past";
        QTest::newRow("the day after") << QByteArray("2027-03-16T00:00") << "366 days ahead";
        QTest::newRow("daylight-saving gap") << QByteArray("2026-03-29T02:30") << "does not exist";
    }
    void refused() {
        QFETCH(QByteArray, at);
        QFETCH(QString, why);
        qputenv("TZ", "Europe/Paris");
        ::tzset();
        const std::optional<jot::Request> request = jot::decodeRequest("jotlark/2 new at=" + at);
        QVERIFY(request);
        const QString said = jot::refusal(*request, QDateTime(QDate(2026, 3, 14), QTime(10, 16)));
        QVERIFY2(why.isEmpty() ? said.isEmpty() : said.contains(why), qPrintable(said));
    }

    // Done only on the answer that echoes the request: an older program answers "ok" to all.
    void answer_data() {
        QTest::addColumn<Action>("action");
        QTest::addColumn<QByteArray>("answer");
        QTest::addColumn<QString>("why"); // empty: confirmed
        QTest::newRow("shown") << Action::Show << QByteArray("ok\n") << "";
        QTest::newRow("added") << Action::New << QByteArray("jotlark/2 done new\n") << "";
        QTest::newRow("older program") << Action::New << QByteArray("ok\n") << "older version";
        QTest::newRow("another request done")
            << Action::ShowAll << QByteArray("jotlark/2 done new\n") << "older version";
        QTest::newRow("100 tasks")
            << Action::New << QByteArray("jotlark/2 refused full\n") << "100 tasks";
        QTest::newRow("not understood")
            << Action::HideAll << QByteArray("jotlark/2 refused unknown\n") << "understand";
        QTest::newRow("no answer") << Action::New << QByteArray() << "did not answer";
        QTest::newRow("refused with a reason")
            << Action::New << QByteArray("jotlark/2 refused new it%27s%20past\n") << ": it's past";
        QTest::newRow("added, not saved")
            << Action::New << QByteArray("jotlark/2 unsaved new No%20space\n")
            << "added, but not saved: No space";
    }
    void answer() {
        QFETCH(Action, action);
        QFETCH(QByteArray, answer);
        QFETCH(QString, why);
        jot::Request request;
        request.action = action;
        QString said;
        QCOMPARE(jot::confirms(request, answer, &said), why.isEmpty());
        QVERIFY2(said.contains(why), qPrintable(said));
    }

    // Where XWayland is at hand, X11, unless the user chose.
    void platform_data() {
        QTest::addColumn<L>("environment");       // QT_QPA_PLATFORM, WAYLAND_DISPLAY, DISPLAY
        QTest::addColumn<QByteArray>("platform"); // QT_QPA_PLATFORM afterwards
        QTest::newRow("X11") << L{"", "", ":0"} << QByteArray();
        QTest::newRow("Wayland with XWayland") << L{"", "wayland-0", ":0"} << QByteArray("xcb");
        QTest::newRow("Wayland alone") << L{"", "wayland-0", ""} << QByteArray("wayland");
        QTest::newRow("the user's choice")
            << L{"wayland", "wayland-0", ":0"} << QByteArray("wayland");
    }
    // The environment is left as the row set it: no test after this one reads it.
    void platform() {
        QFETCH(L, environment);
        const char* const names[] = {"QT_QPA_PLATFORM", "WAYLAND_DISPLAY", "DISPLAY"};
        for (int i = 0; i < 3; ++i) // empty reads as unset
            qputenv(names[i], environment[i].toUtf8());
        jot::choosePlatform();
        QTEST(qgetenv("QT_QPA_PLATFORM"), "platform");
    }
};

QTEST_GUILESS_MAIN(TstLaunch)
#include "tst_launch.moc"
