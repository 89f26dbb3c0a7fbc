#include "common/program.h"

#include <QAction>
#include <QElapsedTimer>
#include <sys/resource.h>

// Under X11 (the desktop notes are made for), not offscreen: run it on a display, e.g.
// xvfb-run -s '-screen 0 1920x1080x24' build/bench/bench_notes
// Targets: Show all of 100 notes under 500 ms; 100 notes open within 60 MiB of peak memory;
// opening and closing notes again leaves the memory where it was.
namespace {

long peakKiB() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss;
}

long residentKiB() {
    QFile f(QStringLiteral("/proc/self/statm"));
    if (!f.open(QIODevice::ReadOnly))
        return 0;
    return QString::fromLatin1(f.readAll()).split(' ').value(1).toLong() * 4;
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
    QElapsedTimer t;
    t.start();
    trigger("m_toutafficher");
    QCoreApplication::processEvents();
    const qint64 showAll = t.elapsed();
    const long peak = peakKiB();
    long afterFirst = 0;
    for (int round = 0; round < 5; ++round) {
        trigger("m_toutmasquer");
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QCoreApplication::processEvents();
        if (round == 0)
            afterFirst = residentKiB();
        trigger("m_toutafficher");
        QCoreApplication::processEvents();
    }
    trigger("m_toutmasquer");
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QCoreApplication::processEvents();
    const long afterAll = residentKiB();
    std::printf("platform %s\n", qPrintable(QGuiApplication::platformName()));
    std::printf("Show all, 100 notes: %lld ms (target < 500 ms)\n", showAll);
    std::printf("peak memory, 100 notes open: %.1f MiB (target <= 60 MiB)\n", peak / 1024.0);
    std::printf("memory kept by 4 more rounds of 100 notes: %ld KiB\n", afterAll - afterFirst);
    return 0;
}
