// SPDX-License-Identifier: GPL-3.0-or-later
#include "sampletasks.h"
#include "store/taskfile.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>
#include <QTextStream>
#include <sys/resource.h>

using jot::TaskFile;
using jot::TaskList;

// Peak memory of reading a large task file, against the file's size. The file is written by
// one child process and read by another, so that the reader's peak holds nothing else.
//   bench_readpeak [records]   (default 1000000)

namespace {

long peakKiB() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss;
}

int write(const QString& dir, int count) {
    TaskList list;
    list.setRows(sampleTasks(count));
    TaskFile file;
    file.setDirectory(dir);
    return file.sauver_liste(list) ? 0 : 1;
}

int read(const QString& dir) {
    TaskList list;
    TaskFile file;
    file.setDirectory(dir);
    QElapsedTimer timer;
    timer.start();
    file.lire_liste(list);
    QTextStream(stdout) << list.rows() - 1 << ' ' << timer.elapsed() << ' ' << peakKiB() << '\n';
    return 0;
}

} // namespace

int main(int argc, char* argv[]) {
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (args.size() == 4 && args[1] == QLatin1String("write"))
        return write(args[2], args[3].toInt());
    if (args.size() == 3 && args[1] == QLatin1String("read"))
        return read(args[2]);

    const int count = args.size() > 1 ? args[1].toInt() : 1000000;
    QTemporaryDir dir;
    const QString path = dir.path() + QLatin1Char('/');
    QProcess child;
    child.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    child.start(app.applicationFilePath(), {QStringLiteral("write"), path, QString::number(count)});
    if (!child.waitForFinished(-1) || child.exitCode() != 0)
        return 1;
    child.start(app.applicationFilePath(), {QStringLiteral("read"), path});
    if (!child.waitForFinished(-1) || child.exitCode() != 0)
        return 1;
    const QStringList figures = QString::fromLatin1(child.readAllStandardOutput()).split(u' ');
    const double fileMiB = QFileInfo(path + jot::kTaskFileName).size() / 1048576.0;
    const double peakMiB = figures.value(2).toDouble() / 1024.0;
    QTextStream(stdout) << "read " << figures.value(0).toInt() << " tasks, "
                        << QString::number(fileMiB, 'f', 0) << " MiB, in "
                        << figures.value(1).toInt() << " ms; peak "
                        << QString::number(peakMiB, 'f', 0) << " MiB ("
                        << QString::number(peakMiB / fileMiB, 'f', 1) << " times the file)\n";
    return 0;
}
