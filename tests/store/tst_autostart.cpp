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
        QTest::newRow("plain") << "/usr/local/bin/jotlark"
                               << "/usr/local/bin/jotlark";
        QTest::newRow("space") << "/home/a b/jotlark"
                               << "\"/home/a b/jotlark\"";
        QTest::newRow("shell characters") << "/opt/j$k\\x/jot`lark"
                                          << "\"/opt/j\\\\$k\\\\\\\\x/jot\\\\`lark\"";
        QTest::newRow("percent") << "/opt/100%/jotlark"
                                 << "/opt/100%%/jotlark";
    }
    void entry() {
        QFETCH(QString, executable);
        QFETCH(QString, exec);
        TempDataHome home;
        const QString path =
            home.configHome() + QStringLiteral("/autostart/") + jot::kAutostartFile;
        QCOMPARE(jot::autostartPath(), path);
        QVERIFY(!jot::startsAtLogIn());
        QVERIFY(jot::setStartAtLogIn(true, executable));
        QVERIFY(jot::startsAtLogIn());
        const QByteArray entry = testing::readFile(path);
        QVERIFY2(entry.contains("\nExec=" + exec.toUtf8() + '\n'), entry.constData());

        const QString validator = QStandardPaths::findExecutable("desktop-file-validate");
        if (!validator.isEmpty()) {
            QProcess validate;
            validate.setProcessChannelMode(QProcess::MergedChannels);
            validate.start(validator, {path});
            QVERIFY(validate.waitForFinished());
            const QByteArray said = validate.readAll();
            QVERIFY2(validate.exitCode() == 0 && said.isEmpty(), said.constData());
        }

        QVERIFY(jot::setStartAtLogIn(false, executable));
        QVERIFY(!jot::startsAtLogIn() && !QFile::exists(path));
        QVERIFY(jot::setStartAtLogIn(false, executable)); // already gone: nothing to do
        if (validator.isEmpty())
            QSKIP("desktop-file-validate is not installed: the entry was not validated");
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
