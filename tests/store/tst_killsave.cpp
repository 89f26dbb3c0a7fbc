// SPDX-License-Identifier: GPL-3.0-or-later
#include "common/tempdatahome.h"
#include "store/taskfile.h"

#include <QtTest>
#include <csignal>

using namespace jot;

namespace {
// Version v of the list: 100 tasks of 4 KiB.
QList<TaskRow> version(int v) {
    return QList<TaskRow>(100, {QString::number(v), QString(4096, QChar(u'a' + v)), {}, {}, {}});
}

// With --save: saves the two versions turn about until it is killed, saying so after each.
int saveUntilKilled(const QString& dataDir) {
    TaskFile file;
    file.setDirectory(dataDir);
    TaskList versions[2];
    for (int v = 0; v < 2; ++v)
        versions[v].setRows(version(v));
    for (int n = 0; file.sauver_liste(versions[n]); n = 1 - n) {
        std::puts("saved");
        std::fflush(stdout);
    }
    return 1;
}
} // namespace

// A save killed at any moment leaves one whole version, and the next start no leftover.
class TstKillSave : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void killedSaves() {
        TempDataHome home;
        QVERIFY(QDir().mkpath(home.dataDir()));
        for (int kill = 0; kill < 200; ++kill) {
            QProcess saver;
            saver.start(QCoreApplication::applicationFilePath(), {"--save", home.dataDir()});
            QVERIFY(saver.waitForReadyRead(10000)); // a whole version is on disk from now on
            QThread::usleep(QRandomGenerator::global()->bounded(20000));
            ::kill(pid_t(saver.processId()), SIGKILL);
            QVERIFY(saver.waitForFinished(10000));
            QCOMPARE(saver.exitStatus(), QProcess::CrashExit); // killed, not failed
            TaskFile file;                                     // the next start
            file.setDirectory(home.dataDir());
            TaskList liste;
            file.lire_liste(liste);
            const QList<TaskRow> rows = parseTasks(testing::readFile(file.path())).rows;
            QVERIFY(rows == version(0) || rows == version(1));
            QCOMPARE(QDir(home.dataDir()).entryList(QDir::Files | QDir::Hidden),
                     QStringList{kTaskFileName});
        }
    }
};

int main(int argc, char* argv[]) {
    if (argc == 3 && qstrcmp(argv[1], "--save") == 0)
        return saveUntilKilled(QString::fromLocal8Bit(argv[2]));
    QCoreApplication app(argc, argv);
    TstKillSave test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_killsave.moc"
