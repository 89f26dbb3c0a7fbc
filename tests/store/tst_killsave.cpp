#include "common/tempdatahome.h"
#include "store/taskfile.h"

#include <QProcess>
#include <QRandomGenerator>
#include <QtTest>
#include <csignal>
#include <thread>

using namespace jot;

// A save killed at any moment leaves one whole version, and the next start no leftover.
class TstKillSave : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void killedSaves() {
        TempDataHome home;
        QVERIFY(QDir().mkpath(home.dataDir()));
        for (int kill = 0; kill < 200; ++kill) {
            QProcess helper;
            helper.start(QStringLiteral(KILLSAVE_HELPER), {home.dataDir()});
            QVERIFY(helper.waitForReadyRead(10000));
            std::this_thread::sleep_for(
                std::chrono::microseconds(QRandomGenerator::global()->bounded(20000)));
            ::kill(pid_t(helper.processId()), SIGKILL);
            QVERIFY(helper.waitForFinished(10000));
            QCOMPARE(helper.exitStatus(), QProcess::CrashExit); // killed, not failed

            TaskFile file;
            file.setDirectory(home.dataDir());
            TaskList liste;
            QSignalSpy warnings(&file, &TaskFile::warning);
            file.lire_liste(liste);
            QCOMPARE(warnings.count(), 0);
            if (liste.isPlaceholder(1))
                continue; // killed before the first save
            QCOMPARE(liste.rows(), 101);
            const QString stamp = liste.cell(1, ColStamp);
            const QString text(4096, QChar(stamp == QLatin1String("v0") ? u'a' : u'b'));
            for (int r = 1; r <= 100; ++r)
                QVERIFY(liste.cell(r, ColStamp) == stamp && liste.cell(r, ColText) == text);
            QCOMPARE(QDir(home.dataDir()).entryList(QDir::Files | QDir::Hidden),
                     QStringList{kTaskFileName});
        }
    }
};

QTEST_GUILESS_MAIN(TstKillSave)
#include "tst_killsave.moc"
