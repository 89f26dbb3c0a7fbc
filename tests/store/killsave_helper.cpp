// Saves one of two lists of 100 tasks of 4 KiB, turn about, until it is killed.
#include "store/taskfile.h"

#include <QCoreApplication>
#include <cstdio>

int main(int argc, char* argv[]) {
    QCoreApplication app(argc, argv);
    jot::TaskFile file;
    file.setDirectory(QString::fromLocal8Bit(argv[1]));
    jot::TaskList versions[2];
    for (int v = 0; v < 2; ++v) {
        QList<jot::TaskRow> rows;
        for (int i = 0; i < 100; ++i)
            rows.append({QStringLiteral("v%1").arg(v), QString(4096, QChar(u'a' + v)), {}, {}, {}});
        versions[v].setRows(rows);
    }
    std::puts("ready");
    std::fflush(stdout);
    for (int n = 0;; n = 1 - n) {
        if (!file.sauver_liste(versions[n]))
            return 1;
    }
}
