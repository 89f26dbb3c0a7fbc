// SPDX-License-Identifier: GPL-3.0-or-later
// How often an idle Jotlark wakes up: starts it (the program given, in a data home of its
// own), lets it settle, then counts the context switches of all its threads over a minute
// (/proc/PID/task/*/status), each one a wake-up. Run by hand; see docs/benchmarks.md.
#include <QCoreApplication>
#include <QDir>
#include <QHash>
#include <QProcess>
#include <QTemporaryDir>
#include <QThread>
#include <cstdio>

namespace {

// Voluntary and involuntary context switches of each thread of the process, by thread id.
QHash<QString, long long> switches(qint64 pid) {
    QHash<QString, long long> byThread;
    const QDir tasks(QStringLiteral("/proc/%1/task").arg(pid));
    for (const QString& task : tasks.entryList(QDir::Dirs | QDir::NoDotAndDotDot)) {
        QFile status(tasks.filePath(task + QStringLiteral("/status")));
        if (!status.open(QIODevice::ReadOnly))
            continue;
        for (const QByteArray& line : status.readAll().split('\n'))
            if (line.contains("ctxt_switches:"))
                byThread[task] += line.mid(line.indexOf(':') + 1).trimmed().toLongLong();
    }
    return byThread;
}

} // namespace

int main(int argc, char* argv[]) {
    QCoreApplication app(argc, argv);
    if (argc < 2) {
        std::fprintf(stderr, "usage: bench_wakeups PROGRAM [SECONDS]\n");
        return 2;
    }
    const int seconds = argc > 2 ? QByteArray(argv[2]).toInt() : 60;
    QTemporaryDir home;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("XDG_DATA_HOME"), home.path());
    env.insert(QStringLiteral("XDG_CONFIG_HOME"), home.path());
    QProcess jotlark;
    jotlark.setProcessEnvironment(env);
    jotlark.start(QString::fromLocal8Bit(argv[1]));
    if (!jotlark.waitForStarted())
        return 1;
    QThread::sleep(5); // start-up over
    const QHash<QString, long long> before = switches(jotlark.processId());
    QThread::sleep(seconds);
    long long wakeUps = 0;
    // A thread that started meanwhile counts whole; one that ended is not seen.
    const QHash<QString, long long> after = switches(jotlark.processId());
    for (auto it = after.begin(); it != after.end(); ++it)
        wakeUps += it.value() - before.value(it.key(), 0);
    jotlark.kill();
    jotlark.waitForFinished();
    std::printf("%lld wake-ups in %d s idle\n", wakeUps, seconds);
    return 0;
}
