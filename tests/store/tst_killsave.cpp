// SPDX-License-Identifier: GPL-3.0-or-later
#include "common/harness.h"
#include "common/table.h"
#include "store/taskfile.h"

#include <QtTest>
#include <csignal>
#include <cstdio>
#include <fcntl.h>

using namespace jot;

namespace {
// Version v of the list: 100 tasks of 4 KiB.
QList<TaskRow> version(int v) {
    return QList<TaskRow>(100, {QString::number(v), QString(4096, QChar(u'a' + v)), {}, {}, {}});
}

// With --save: saves the two versions turn about until it is killed, saying so after each.
int saveUntilKilled(int, char** argv) {
    TaskFile file;
    file.setDirectory(argv[2]);
    TaskList versions[2];
    for (int v = 0; v < 2; ++v)
        versions[v].setRows(version(v));
    for (int n = 0; file.sauver_liste(versions[n]); n = 1 - n)
        testing::say("saved");
    return 1;
}

// With --write: another writer, as a sync tool is, renaming the versions asked in, a few
// milliseconds apart, each the file as it finds it plus a marker task of its own. With
// --merge, a writer that swaps its version in and adds back the tasks of what the swap took
// out, until it takes out its own.
int writeVersions(int, char** argv) {
    const QString dataDir = argv[2];
    const bool merging = qstrcmp(argv[1], "--merge") == 0;
    const QByteArray file = QFile::encodeName(dataDir + kTaskFileName);
    const QByteArray temporary = QFile::encodeName(dataDir + "writer.tmp");
    for (int n = 1; n <= std::atoi(argv[3]); ++n) {
        QByteArray onDisk = testing::readFile(QFile::decodeName(file)); // as we know it
        QByteArray version = onDisk + testing::record("w", "marker " + QByteArray::number(n));
        for (int round = 0; round < 10; ++round) {
            if (!testing::writeFile(QFile::decodeName(temporary), version))
                return 1;
            if (!merging && std::rename(temporary, file) == 0)
                break;
            if (::renameat2(AT_FDCWD, temporary, AT_FDCWD, file, RENAME_EXCHANGE) != 0) {
                if (errno == ENOENT &&
                    ::renameat2(AT_FDCWD, temporary, AT_FDCWD, file, RENAME_NOREPLACE) == 0)
                    break;
                return 1;
            }
            const QByteArray tookOut = testing::readFile(QFile::decodeName(temporary));
            if (tookOut == std::exchange(onDisk, version))
                break;
            for (const QByteArray& line : tookOut.split('\n'))
                if (!line.isEmpty() && !version.contains(line + '\n'))
                    version += line + '\n';
        }
        QThread::usleep(1000 + QRandomGenerator::global()->bounded(3000));
    }
    return 0;
}

// The program's saves, slowed down between their steps as on a slow disk.
struct SlowTaskFile : TaskFile {
    int stepMs = 0;
    void stepDone(SaveStep) override { QThread::msleep(stepMs); }
};
} // namespace

struct WriterCase {
    QByteArray name;
    int stepMs;   // the save's pause between its steps, as on a slow disk
    bool merging; // the writer merges back what its swap took out
};

// Saves that meet a kill or another writer: a save killed at any moment leaves one whole
// version, and the next start no leftover; a version renamed in during a save is never lost.
class TstKillSave : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void killedSaves() {
        TempDataHome home;
        QVERIFY(QDir().mkpath(home.dataDir()));
        for (int kill = 0; kill < 200; ++kill) {
            QProcess saver;
            testing::startRole(saver, {"--save", home.dataDir()});
            QVERIFY(saver.waitForReadyRead(10000)); // a whole version is on disk from now on
            QThread::usleep(QRandomGenerator::global()->bounded(20000));
            ::kill(pid_t(saver.processId()), SIGKILL);
            QVERIFY(saver.waitForFinished(10000));
            QCOMPARE(saver.exitStatus(), QProcess::CrashExit); // killed, not failed
            TaskFile file;                                     // the next start
            file.setDirectory(home.dataDir());
            TaskList list;
            file.lire_liste(list);
            const QList<TaskRow> rows = parseTasks(testing::readFile(file.path())).rows;
            QVERIFY(rows == version(0) || rows == version(1));
            QCOMPARE(QDir(home.dataDir()).entryList(QDir::Files | QDir::Hidden),
                     QStringList{kTaskFileName});
        }
    }

    void racingWriter_data() {
        testing::table<WriterCase>(
            {{"disk", 0, false}, {"slow disk", 15, false}, {"merging writer", 0, true}});
    }
    // Another writer renames 1000 versions in while the program saves many times a second:
    // each version's marker reaches the list, or at least a kept copy.
    void racingWriter() {
        QFETCH(WriterCase, row);
        constexpr int kVersions = 1000;
        TempDataHome home;
        QVERIFY(QDir().mkpath(home.dataDir()));
        SlowTaskFile file;
        file.stepMs = row.stepMs;
        file.setDirectory(home.dataDir());
        TaskList list;
        file.lire_liste(list);
        QSet<QString> seen; // every marker that came into the list
        connect(&list, &TaskList::dataChanged, &list, [&](const QModelIndex& changed) {
            seen.insert(changed.siblingAtColumn(ColText).data().toString());
        });

        QProcess writer;
        testing::startRole(writer, {row.merging ? "--merge" : "--write", home.dataDir(),
                                    QString::number(kVersions)});
        QVERIFY(writer.waitForStarted());
        while (!writer.waitForFinished(row.merging ? 1 : 20)) { // more than ten saves a second
            file.mergeOtherWriter(list);
            QVERIFY(file.sauver_liste(list));
        }
        QCOMPARE(writer.exitCode(), 0);
        // A version the writer wrote in place is waited for at a first look; the program
        // looks again at its next tick.
        do {
            file.mergeOtherWriter(list);
            QVERIFY(file.sauver_liste(list));
        } while (file.aheadOfFile());
        // A writer that merges back what it displaced loses nothing: every marker ends in the
        // list saved. Of another, some versions are only in the kept copies.
        if (row.merging)
            seen.clear();
        const QDir dir(home.dataDir());
        for (const QString& name :
             row.merging ? QStringList{kTaskFileName} : dir.entryList(QDir::Files | QDir::Hidden))
            for (const TaskRow& task : parseTasks(testing::readFile(home.dataDir() + name)).rows)
                seen.insert(task[ColText]);
        for (int n = 1; n <= kVersions; ++n)
            QVERIFY2(seen.contains("marker " + QString::number(n)), qPrintable(QString::number(n)));
    }
};

int main(int argc, char* argv[]) {
    return testing::mainWithRoles<QCoreApplication, TstKillSave>(
        argc, argv,
        {{"--save", saveUntilKilled}, {"--write", writeVersions}, {"--merge", writeVersions}});
}

#include "tst_killsave.moc"
