#include "common/tempdatahome.h"
#include "store/autostart.h"

#include <QProcess>
#include <QStandardPaths>
#include <QtTest>

class TstAutostart : public QObject {
    Q_OBJECT

private Q_SLOTS:
    // Written, valid, removed; the path reaches Exec whatever characters it holds.
    void entry_data() {
        QTest::addColumn<QString>("executable");
        QTest::addColumn<QString>("exec");
        const auto row = [](const char* name, const char* executable, const char* exec) {
            QTest::newRow(name) << QString(executable) << QString(exec);
        };
        row("space", "/home/a b/jotlark", "\"/home/a b/jotlark\"");
        row("shell characters", "/opt/j$k\\x/jot`lark", "\"/opt/j\\\\$k\\\\\\\\x/jot\\\\`lark\"");
        row("percent", "/opt/100%/jotlark", "/opt/100%%/jotlark");
    }
    void entry() {
        QFETCH(QString, executable);
        QFETCH(QString, exec);
        TempDataHome home;
        const QString path = jot::autostartPath();
        QVERIFY(path.startsWith(home.configHome()));
        QVERIFY(!jot::startsAtLogIn() && jot::setStartAtLogIn(true, executable));
        QVERIFY(jot::startsAtLogIn());
        const QByteArray entry = testing::readFile(path);
        QVERIFY2(entry.contains("\nExec=" + exec.toUtf8() + '\n'), entry.constData());
        QProcess validate; // desktop-file-validate: installed by scripts/setup.sh
        validate.setProcessChannelMode(QProcess::MergedChannels);
        validate.start(QStringLiteral("desktop-file-validate"), {path});
        QVERIFY2(validate.waitForFinished(), "desktop-file-validate is missing");
        const QByteArray said = validate.readAll();
        QVERIFY2(validate.exitCode() == 0 && said.isEmpty(), said.constData());
        QVERIFY(jot::setStartAtLogIn(false, executable));
        QVERIFY(!jot::startsAtLogIn() && !QFile::exists(path));
    }

    void unwritable() {
        TempDataHome home;
        QVERIFY(testing::writeFile(home.configHome() + QStringLiteral("/autostart"), "a file"));
        QVERIFY(!jot::setStartAtLogIn(true, QStringLiteral("/usr/bin/jotlark")));
        QVERIFY(!jot::startsAtLogIn());
    }
};

QTEST_GUILESS_MAIN(TstAutostart)
#include "tst_autostart.moc"
