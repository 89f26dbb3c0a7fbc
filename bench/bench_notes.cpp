// SPDX-License-Identifier: GPL-3.0-or-later
#include "common/program.h"

#include <QAction>
#include <QElapsedTimer>
#include <ctime>
#include <malloc.h>
#include <sys/resource.h>

// Under X11 (the desktop notes are made for), not offscreen: run it on a display, e.g.
// xvfb-run -s '-screen 0 1920x1080x24' build/bench/bench_notes
// Targets: Show all of 100 notes under 500 ms; 100 notes open within 60 MiB of peak memory;
// opening and closing notes again leaves the memory where it was.
// To explain the figures it also says where the resident memory lies, and how much of the
// heap is in use: the rest of it is memory freed and kept by malloc for reuse.
namespace {

long peakKiB() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss;
}

// The resident memory by kind of mapping.
struct Resident {
    long privateKiB = 0; // the heap and the rest of the process's own memory
    long sharedKiB = 0;  // under X11 the windows' images, shared with the X server
    long filesKiB = 0;   // pages of the libraries and other files
    long total() const { return privateKiB + sharedKiB + filesKiB; }
};

Resident resident() {
    Resident r;
    QFile f(QStringLiteral("/proc/self/smaps"));
    if (!f.open(QIODevice::ReadOnly))
        return r;
    long* kind = &r.privateKiB;
    for (QByteArray line = f.readLine(); !line.isEmpty(); line = f.readLine()) {
        const QByteArray first = line.left(line.indexOf(' '));
        if (first == "Rss:") {
            *kind += line.simplified().split(' ').value(1).toLong();
        } else if (!first.endsWith(':')) { // a mapping: "start-end perms offset dev inode path"
            const QByteArray path = line.simplified().split(' ').value(5);
            kind = path.isEmpty() || path.startsWith('[') ? &r.privateKiB
                   : path.startsWith("/memfd:") || path.startsWith("/SYSV") ||
                           path.startsWith("/dev/shm/")
                       ? &r.sharedKiB
                       : &r.filesKiB;
        }
    }
    return r;
}

// CPU time of this process, which a busy machine stretches less than the time on the clock.
qint64 cpuMs() {
    timespec t{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
    return qint64(t.tv_sec) * 1000 + t.tv_nsec / 1000000;
}

long heapInUseKiB() {
    return static_cast<long>(mallinfo2().uordblks / 1024);
}

void report(const char* when) {
    const Resident r = resident();
    std::printf("resident, %s: %.1f MiB (own %.1f, shared %.1f, files %.1f); heap in use %.1f "
                "MiB\n",
                when, r.total() / 1024.0, r.privateKiB / 1024.0, r.sharedKiB / 1024.0,
                r.filesKiB / 1024.0, heapInUseKiB() / 1024.0);
}

} // namespace

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    TempDataHome home; // never the user's tasks
    testing::writeFile(home.taskFile(), testing::records(100));
    f_iir w;
    w.Form_Load();
    const auto trigger = [&w](const char* item) {
        w.findChild<QAction*>(QLatin1String(item))->trigger();
    };
    const auto closeAll = [&trigger] {
        trigger("m_toutmasquer");
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QCoreApplication::processEvents();
    };
    QCoreApplication::processEvents();
    std::printf("platform %s\n", qPrintable(QGuiApplication::platformName()));
    report("main window alone");
    QElapsedTimer t;
    t.start();
    const qint64 cpuBefore = cpuMs();
    trigger("m_toutafficher");
    QCoreApplication::processEvents();
    const qint64 showAll = t.elapsed();
    const qint64 showAllCpu = cpuMs() - cpuBefore;
    const long peak = peakKiB();
    report("100 notes open");
    closeAll();
    const long afterFirst = resident().total();
    const long heapAfterFirst = heapInUseKiB();
    report("100 notes closed");
    for (int round = 0; round < 4; ++round) {
        trigger("m_toutafficher");
        QCoreApplication::processEvents();
        closeAll();
    }
    std::printf("Show all, 100 notes: %lld ms (target < 500 ms); CPU time %lld ms\n", showAll,
                showAllCpu);
    std::printf("peak memory, 100 notes open: %.1f MiB (target <= 60 MiB)\n", peak / 1024.0);
    std::printf("memory kept by 4 more rounds of 100 notes: %ld KiB (heap in use: %+ld KiB)\n",
                resident().total() - afterFirst, heapInUseKiB() - heapAfterFirst);
    return 0;
}
