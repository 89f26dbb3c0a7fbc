#include "launch/commandline.h"
#include "launch/platform.h"
#include "launch/qttranslations.h"

#include <QtTest>

// What is settled before the application exists: the command line, the display platform and
// Qt's own translations.
class TstLaunch : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void commandLine_data() {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<int>("status"); // -1: the program goes on
        QTest::addColumn<QString>("out");
        QTest::addColumn<QString>("err");
        const auto row = [](const char* name, const QStringList& arguments, int status,
                            const char* out = "", const char* err = "") {
            QTest::newRow(name) << arguments << status << QString(out) << QString(err);
        };
        row("nothing", {}, -1);
        row("restarted by the session manager", {"-session", "10ab_7"}, -1);
        row("help", {"--help"}, 0, "--version");
        row("version", {"--version"}, 0, "Jotlark " JOT_VERSION "\n");
        row("unknown option", {"--bogus"}, 2, "", "'bogus'");
    }
    // A command line that ends the program is tried on the program itself, with no display and
    // a home that cannot be written: it must need neither. One that goes on would need a display.
    void commandLine() {
        QFETCH(QStringList, arguments);
        QFETCH(int, status);
        QFETCH(QString, out);
        QFETCH(QString, err);
        if (status < 0) {
            QVERIFY(!jot::parseCommandLine(QStringList{"jotlark"} + arguments).exitStatus);
            return;
        }
        QTemporaryDir dir;
        const QString blocked = dir.filePath("file"); // nothing can be made under a file
        QVERIFY(QFile(blocked).open(QIODevice::WriteOnly));
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        for (const char* name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"})
            env.remove(name);
        env.insert("HOME", blocked + "/home");
        env.insert("XDG_DATA_HOME", blocked + "/data");
        QProcess program;
        program.setProcessEnvironment(env);
        program.setWorkingDirectory(dir.path());
        program.start(JOTLARK_BIN, arguments);
        QVERIFY(program.waitForFinished(10000));
        QCOMPARE(program.exitStatus(), QProcess::NormalExit);
        QCOMPARE(program.exitCode(), status);
        const QString stdOut = program.readAllStandardOutput();
        const QString stdErr = program.readAllStandardError();
        QVERIFY2(out.isEmpty() ? stdOut.isEmpty() : stdOut.contains(out), qPrintable(stdOut));
        QVERIFY2(err.isEmpty() ? stdErr.isEmpty() : stdErr.contains(err), qPrintable(stdErr));
        QVERIFY(!QFileInfo::exists(QFileInfo(JOTLARK_BIN).path() + "/jotstore"));
    }

    // With no usable data folder the tasks stay beside the program, found before the
    // application exists (the lock is taken while it connects to the display). Tried on a copy
    // of the program, so that nothing is left beside the real one.
    void besideTheProgram() {
        QTemporaryDir dir;
        const QString program = dir.filePath("jotlark");
        QVERIFY(QFile::copy(JOTLARK_BIN, program));
        const QString blocked = dir.filePath("file"); // nothing can be made under a file
        QVERIFY(QFile(blocked).open(QIODevice::WriteOnly));
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert("QT_QPA_PLATFORM", "offscreen");
        env.insert("HOME", blocked + "/home");
        env.insert("XDG_DATA_HOME", blocked + "/data");
        env.insert("XDG_CONFIG_HOME", dir.filePath("config"));
        env.insert("XDG_RUNTIME_DIR", dir.filePath("runtime"));
        QProcess running;
        running.setProcessEnvironment(env);
        running.start(program);
        QVERIFY(running.waitForStarted());
        qint64 pid = 0;
        QLockFile lock(dir.filePath("jotstore/jotlark.lock"));
        QTRY_VERIFY(lock.getLockInfo(&pid, nullptr, nullptr));
        QCOMPARE(pid, running.processId());
        running.terminate();
        QVERIFY(running.waitForFinished(10000));
    }

    void platform_data() {
        QTest::addColumn<QByteArray>("chosen");
        QTest::addColumn<QByteArray>("wayland");
        QTest::addColumn<QByteArray>("x11");
        QTest::addColumn<QByteArray>("platform"); // QT_QPA_PLATFORM afterwards
        const auto row = [](const char* name, const char* chosen, const char* wayland,
                            const char* x11, const char* platform) {
            QTest::newRow(name) << QByteArray(chosen) << QByteArray(wayland) << QByteArray(x11)
                                << QByteArray(platform);
        };
        row("X11", "", "", ":0", "");
        row("Wayland with XWayland", "", "wayland-0", ":0", "xcb");
        row("Wayland alone", "", "wayland-0", "", "wayland");
        row("the user's choice", "wayland", "wayland-0", ":0", "wayland");
    }
    void platform() {
        QFETCH(QByteArray, chosen);
        QFETCH(QByteArray, wayland);
        QFETCH(QByteArray, x11);
        QFETCH(QByteArray, platform);
        const QByteArray saved = qgetenv("QT_QPA_PLATFORM");
        const auto set = [](const char* name, const QByteArray& value) {
            value.isEmpty() ? qunsetenv(name) : qputenv(name, value);
        };
        set("QT_QPA_PLATFORM", chosen);
        set("WAYLAND_DISPLAY", wayland);
        set("DISPLAY", x11);
        jot::choosePlatform();
        const QByteArray result = qgetenv("QT_QPA_PLATFORM");
        set("QT_QPA_PLATFORM", saved);
        QCOMPARE(result, platform);
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
