#include "common/tempdatahome.h"
#include "store/clock.h"
#include "store/datadir.h"
#include "store/shared.h"
#include "store/startoption.h"

#include <QAbstractItemModelTester>
#include <QtTest>
#include <sys/resource.h>
#include <sys/stat.h>

using namespace jot;
using testing::readFile;
using testing::writeFile;
using namespace Qt::StringLiterals;
using Tester = QAbstractItemModelTester;

namespace {
const QByteArray kPlaceholderRecord = "\"\",\"\",\"\",\"\"\r\n";
QList<TaskRow> tasks(int n) {
    QList<TaskRow> rows;
    for (int i = 1; i <= n; ++i)
        rows << TaskRow{u"s"_s, u"task %1"_s.arg(i), {}, {}, {}};
    return rows;
}
QByteArray records(int n) { // tasks(n) as stored
    QByteArray bytes;
    for (int i = 1; i <= n; ++i)
        bytes += "\"s\",\"task " + QByteArray::number(i) + "\",\"\",\"\"\r\n";
    return bytes;
}
QStringList textsOf(const TaskList& l) {
    QStringList out;
    for (int r = 1; r < l.rows(); ++r)
        out << l.cell(r, ColText);
    return out;
}
mode_t modeOf(const QString& path) {
    struct stat st {};
    return ::stat(QFile::encodeName(path).constData(), &st) == 0 ? (st.st_mode & 0777) : 0;
}
enum class Failure { None, SizeLimit, Rename };
// Fails a save as a full disk or a lost rename would.
struct FailingTaskFile : TaskFile {
    Failure failure = Failure::None;
    bool writeTo(QIODevice& device, const TaskList& liste) override {
        rlimit saved{};
        ::getrlimit(RLIMIT_FSIZE, &saved);
        const rlimit small{10, saved.rlim_max};
        if (failure == Failure::SizeLimit)
            ::setrlimit(RLIMIT_FSIZE, &small);
        const bool ok = TaskFile::writeTo(device, liste);
        ::setrlimit(RLIMIT_FSIZE, &saved);
        if (failure == Failure::Rename) // a directory in the file's place
            QFile::remove(path()), QDir().mkpath(path() + u"/x"_s);
        return ok;
    }
};
} // namespace

Q_DECLARE_METATYPE(Failure)

class TstStore : public QObject {
    Q_OBJECT
    std::unique_ptr<TempDataHome> m_home;
    std::unique_ptr<FailingTaskFile> m_file;
    QString m_dir, m_path;

private Q_SLOTS:
    void init() {
        m_home = std::make_unique<TempDataHome>();
        m_dir = m_home->dataDir();
        m_path = m_home->taskFile();
        QVERIFY(QDir().mkpath(m_dir));
        m_file = std::make_unique<FailingTaskFile>();
        m_file->setDirectory(m_dir);
        setClockForTests([] { return QDateTime(QDate(2026, 12, 6), QTime(22, 15, 7)); });
    }

    void addTask_data() {
        QTest::addColumn<QList<TaskRow>>("before"); // empty: the start-up placeholder
        QTest::addColumn<int>("target");            // 0: refused
        QTest::newRow("placeholder reused") << QList<TaskRow>() << 1;
        QTest::newRow("row of blanks reused")
            << QList<TaskRow>{{u" "_s, u"  "_s, u" "_s, u"4"_s, u"1"_s}} << 1;
        QTest::newRow("row of a tab kept")
            << QList<TaskRow>{TaskRow{QString(), u"\t"_s, {}, {}, {}}} << 2;
        QTest::newRow("row of a line break kept")
            << QList<TaskRow>{TaskRow{u"\r\n"_s, {}, {}, {}, {}}} << 2;
        QTest::newRow("limit reached") << tasks(100) << 0;
        QTest::newRow("over the limit from the file") << tasks(120) << 0;
    }
    void addTask() {
        QFETCH(QList<TaskRow>, before);
        QFETCH(int, target);
        TaskList liste;
        liste.setRows(before);
        Tester tester(&liste, Tester::FailureReportingMode::QtTest);
        const QStringList texts = textsOf(liste);
        QCOMPARE(liste.addTask(), target);
        QCOMPARE(textsOf(liste), target > texts.size() ? texts + QStringList{QString()} : texts);
        QCOMPARE(liste.cell(target, ColSlot) + liste.cell(target, ColFired), QString()); // free
    }
    // One line a record, without the window slot; line breaks, quotes and the escapes' own
    // characters come back.
    void roundTrip() {
        TaskList liste;
        liste.setRows({{u"Le 12/05 à 10:15 pm"_s, u"a\r\nb\nc\r,\"d\" ~¤\u241B"_s, u"Sat 9:45 am"_s,
                        u"7"_s, u"1"_s},
                       {}});
        QVERIFY(m_file->sauver_liste(liste));
        QCOMPARE(readFile(m_path),
                 u"\"Le 12/05 à 10:15 pm\",\"a~b~c~,¤d¤ \u241B~\u241B¤\u241B\u241B\","
                 u"\"Sat 9:45 am\",\"1\"\r\n"_s.toUtf8() +
                     kPlaceholderRecord);
        m_file->lire_liste(liste);
        QCOMPARE(textsOf(liste), (QStringList{u"a\r\nb\r\nc\r\n,\"d\" ~¤\u241B"_s, QString()}));
    }
    void read_data() {
        QTest::addColumn<QByteArray>("bytes"); // null: no file
        QTest::addColumn<QByteArray>("saved"); // the file after the next save
        QTest::addColumn<bool>("copied");      // kept aside before the save
        const QByteArray a = records(1), b = "\"s\",\"task 2\",\"\",\"1\"\r\n", ab = a + b;
        QTest::newRow("missing file") << QByteArray() << kPlaceholderRecord << false;
        QTest::newRow("120 records") << records(120) << records(120) << false;
        QTest::newRow("blank line, no last CR LF") << a + "\r\n" + b.chopped(2) << ab << false;
        QTest::newRow("Windows-1252") << QByteArray("\"\",\"\xE9 \x80 \xA4\",\"\",\"\"\r\n")
                                      << u"\"\",\"é € ¤\",\"\",\"\"\r\n"_s.toUtf8() << false;
        QTest::newRow("mixed") << u"\"à\",\"café\",\"\",\"\"\r\n"_s.toUtf8() +
                                      "\"\",\"\xE9\",\"\",\"\"\r\n"
                               << u"\"à\",\"café\",\"\",\"\"\r\n\"\",\"é\",\"\",\"\"\r\n"_s.toUtf8()
                               << true;
        QTest::newRow("too few fields") << a + "\"s\",\"x\",\"\"\r\n" + b << ab << true;
        QTest::newRow("stray bytes") << a + "\"\",\"\",\"\",\"\"?\r\n\xFF\r\n" + b << ab << true;
    }
    // A file not read completely, or in two encodings, is first copied aside, byte for byte
    // and private. What a killed save left is removed at start, and nothing else.
    void read() {
        QFETCH(QByteArray, bytes);
        QFETCH(QByteArray, saved);
        QFETCH(bool, copied);
        if (!bytes.isNull())
            QVERIFY(writeFile(m_path, bytes) && ::chmod(QFile::encodeName(m_path), 0644) == 0);
        QVERIFY(writeFile(m_path + u".Ab3xYz"_s, records(1)));
        TaskList liste;
        QSignalSpy warnings(m_file.get(), &TaskFile::warning);
        m_file->lire_liste(liste);
        QCOMPARE(warnings.count(), copied ? 1 : 0);
        const QString copy = m_path + u".unreadable-20261206-221507"_s;
        QVERIFY(m_file->sauver_liste(liste));
        QCOMPARE(readFile(m_path), saved);
        QCOMPARE(modeOf(m_path), mode_t(0600));
        QCOMPARE(readFile(copy), copied ? bytes : QByteArray());
        QCOMPARE(QDir(m_dir).entryList(QDir::Files | QDir::Hidden).size(), copied ? 2 : 1);
    }
    void failedSave_data() {
        QTest::addColumn<Failure>("failure");
        QTest::addColumn<QString>("cause"); // in the warning
        QTest::newRow("file size limit") << Failure::SizeLimit << u"File too large"_s;
        QTest::newRow("rename fails") << Failure::Rename << u"directory"_s;
    }
    // The old file and the list survive, the warning names the cause, once per run of
    // failures, and the next save goes through.
    void failedSave() {
        QFETCH(Failure, failure);
        QFETCH(QString, cause);
        QVERIFY(writeFile(m_path, records(1)));
        QSignalSpy warnings(m_file.get(), &TaskFile::warning);
        QSignalSpy recovered(m_file.get(), &TaskFile::recovered);
        TaskList liste;
        m_file->lire_liste(liste);
        liste.setCell(1, ColText, u"new text "_s + QString(200, u'x'));
        m_file->failure = failure;
        QVERIFY(!m_file->sauver_liste(liste));
        const QString said = warnings.first().first().toString();
        QVERIFY2(said.contains(cause), qPrintable(said));
        if (failure != Failure::Rename) {
            QCOMPARE(QDir(m_dir).entryList(QDir::Files | QDir::Hidden), QStringList{kTaskFileName});
            QCOMPARE(readFile(m_path), records(1));
        }
        QVERIFY(!m_file->sauver_liste(liste));
        QCOMPARE(warnings.count(), 1);
        m_file->failure = Failure::None;
        QDir(m_path).removeRecursively();
        QVERIFY(m_file->sauver_liste(liste));
        QCOMPARE(recovered.count(), 1);
        QVERIFY(readFile(m_path).contains("new text"));
    }
    void merge_data() {
        QTest::addColumn<QByteArray>("theirs"); // the file after the save of tasks 1 to 3
        QTest::addColumn<QStringList>("after"); // texts, with task 2 edited here first
        const QByteArray one = records(1), three = "\"s\",\"task 3\",\"\",\"\"\r\n";
        const QStringList same{u"task 1"_s, u"here"_s, u"task 3"_s};
        QTest::newRow("added there") << records(3) + "\"t\",\"new\",\"\",\"\"\r\n"
                                     << same + QStringList{u"new"_s};
        QTest::newRow("removed there") << records(2) << same.first(2);
        QTest::newRow("edited on both sides")
            << one + "\"s\",\"there\",\"\",\"\"\r\n" + three << same + QStringList{u"there"_s};
    }
    // Another writer's version is kept aside and merged by whole records; nothing is lost.
    void merge() {
        QFETCH(QByteArray, theirs);
        QFETCH(QStringList, after);
        Shared shared;
        shared.fichier.setDirectory(m_dir);
        shared.fichier.lire_liste(shared.liste);
        shared.liste.setRows(tasks(3));
        QVERIFY(shared.sauver_liste());
        shared.liste.setCell(2, ColText, u"here"_s);
        QVERIFY(writeFile(m_path + u".new"_s, theirs));
        QVERIFY(::rename(QFile::encodeName(m_path + u".new"_s), QFile::encodeName(m_path)) == 0);
        QSignalSpy warnings(&shared.fichier, &TaskFile::warning);
        Tester tester(&shared.liste, Tester::FailureReportingMode::QtTest);
        QVERIFY(shared.mergeOtherWriter() && shared.unsavedChanges);
        QCOMPARE(textsOf(shared.liste), after);
        const QString copy = m_path + u".changed-20261206-221507"_s;
        QCOMPARE(readFile(copy), theirs);
        QCOMPARE(modeOf(copy), mode_t(0600));
        QCOMPARE(warnings.count(), 1);
        QVERIFY(shared.sauver_liste() && !shared.mergeOtherWriter()); // merged once only
    }
    void retriedAfterFailure() {
        Shared shared; // the list stays marked unsaved, so that the next tick retries
        shared.fichier.setDirectory(m_dir + u"gone/"_s);
        QVERIFY(!shared.sauver_liste() && shared.unsavedChanges);
        QVERIFY(QDir().mkdir(m_dir + u"gone"_s));
        QVERIFY(shared.sauver_liste() && !shared.unsavedChanges);
    }

    // Created private when missing, per-user folder included; else "jotstore" beside the program.
    void dataDir() {
        QTemporaryDir home, app;
        const QString user = home.path() + u"/.local/share"_s, jotlk = home.filePath(u"jotlk"_s);
        QCOMPARE(dossier_donnees(user, app.path()), user + u"/jotlk/"_s);
        QVERIFY(writeFile(user + u"/jotlk/pref1.txt"_s, {}));
        for (const char* path : {"/jotlk/pref1.txt", "/jotlk"})
            QVERIFY(::chmod(QFile::encodeName(user + QLatin1String(path)), 0755) == 0);
        QCOMPARE(dossier_donnees(user, app.path()), user + u"/jotlk/"_s); // tightened
        QCOMPARE(modeOf(user + u"/jotlk"_s), mode_t(0700));
        QCOMPARE(modeOf(user + u"/jotlk/pref1.txt"_s), mode_t(0600));
        QVERIFY(writeFile(jotlk, {}));
        QCOMPARE(dossier_donnees(home.path(), app.path()), app.filePath(u"jotstore/"_s));
        QCOMPARE(modeOf(app.filePath(u"jotstore"_s)), mode_t(0700));
    }

    // Any start option file means on, as it did for the program's first versions.
    void startOption() {
        QVERIFY(writeFile(m_dir + kStartOptionFile, "0") && startInTray(m_dir));
        QVERIFY(setStartInTray(m_dir, false) && !startInTray(m_dir));
    }
};

QTEST_GUILESS_MAIN(TstStore)
#include "tst_store.moc"
