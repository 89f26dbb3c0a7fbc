// SPDX-License-Identifier: GPL-3.0-or-later
#include "launch/commandline.h"
#include "launch/platform.h"
#include "launch/qttranslations.h"

#include <QtTest>

using L = QStringList;

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
    }
    // A command line that ends the program is tried on the program itself, with no display and
    // a home that cannot be written: it must need neither. One that goes on would need a display.
    void commandLine() {
        QFETCH(L, arguments);
        QFETCH(int, status);
        QFETCH(L, printed);
        const QString beside = QFileInfo(JOTLARK_BIN).path() + "/jotstore"; // left by a run
        QVERIFY2(!QFileInfo::exists(beside), qPrintable(beside));
        if (status < 0) {
            QVERIFY(!jot::parseCommandLine(L{"jotlark"} + arguments).exitStatus);
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

    // With no usable data folder the tasks stay beside the program, found before the
    // application exists (the lock is taken while it connects to the display), and the start
    // says where; when even that folder cannot be made, it says so and runs all the same. Tried
    // on a copy of the program, so that nothing is left beside the real one.
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

    // Qt's message box buttons in the user's language.
    void qtTranslations() {
        QLocale::setDefault(QLocale(QLocale::French));
        jot::loadQtTranslations(*QCoreApplication::instance());
        QCOMPARE(QCoreApplication::translate("QPlatformTheme", "&Yes"), QStringLiteral("&Oui"));
    }
};

QTEST_GUILESS_MAIN(TstLaunch)
#include "tst_launch.moc"
