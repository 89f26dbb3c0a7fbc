// SPDX-License-Identifier: GPL-3.0-or-later
#include "sampletasks.h"
#include "store/taskfile.h"

#include <QtTest>

using jot::TaskFile;
using jot::TaskList;

// Saving and loading whole lists: every note edit ends in a save, so it must stay cheap.
class BenchTaskFile : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void initTestCase();
    void sauver_liste_data();
    void sauver_liste();
    void lire_liste_data();
    void lire_liste();
    void readAnyShape_data();
    void readAnyShape();

private:
    void fill(TaskList& list, int count);
    QTemporaryDir m_dir;
};

void BenchTaskFile::initTestCase() {
    QVERIFY(m_dir.isValid());
}

void BenchTaskFile::fill(TaskList& list, int count) {
    list.setRows(sampleTasks(count));
}

void BenchTaskFile::sauver_liste_data() {
    QTest::addColumn<int>("count");
    QTest::newRow("100 tasks") << 100;
    QTest::newRow("1000 tasks") << 1000;
}

void BenchTaskFile::sauver_liste() {
    QFETCH(int, count);
    TaskList list;
    fill(list, count);
    TaskFile file;
    file.setDirectory(m_dir.path() + QLatin1Char('/'));
    QBENCHMARK {
        QVERIFY(file.sauver_liste(list));
    }
}

void BenchTaskFile::lire_liste_data() {
    sauver_liste_data();
    // About 200 MB; bench_readpeak gives the peak memory of such a read.
    QTest::newRow("1000000 tasks") << 1000000;
}

void BenchTaskFile::lire_liste() {
    QFETCH(int, count);
    TaskList written;
    fill(written, count);
    TaskFile file;
    file.setDirectory(m_dir.path() + QLatin1Char('/'));
    QVERIFY(file.sauver_liste(written));
    QBENCHMARK {
        TaskList list;
        file.lire_liste(list);
        QCOMPARE(list.rows(), count + 1);
    }
}

// 10 MB files that are no task file, or hardly one: reading stays linear whatever they hold.
void BenchTaskFile::readAnyShape_data() {
    QTest::addColumn<QByteArray>("start");
    QTest::addColumn<QByteArray>("line"); // repeated up to 10 MB
    QTest::newRow("a quote left open, then LF lines")
        << QByteArray("\"s\",\"x") << QByteArray("abc\n");
    QTest::newRow("LF records") << QByteArray() << QByteArray("\"s\",\"abc\",\"\",\"\"\n");
    QTest::newRow("quotes alone") << QByteArray() << QByteArray("\"\n");
    QTest::newRow("no line end") << QByteArray() << QByteArray("\"s\",");
}

void BenchTaskFile::readAnyShape() {
    QFETCH(QByteArray, start);
    QFETCH(QByteArray, line);
    const QByteArray bytes = start + line.repeated(10'000'000 / line.size());
    QBENCHMARK_ONCE {
        jot::parseTasks(bytes);
    }
}

QTEST_GUILESS_MAIN(BenchTaskFile)
#include "bench_taskfile.moc"
