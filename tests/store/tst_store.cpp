#include "common/tempdatahome.h"
#include "store/autostart.h"
#include "store/clock.h"
#include "store/datadir.h"
#include "store/shared.h"
#include "store/startoption.h"

#include <QtTest>
#include <array>
#include <atomic>
#include <memory>
#include <sys/resource.h>
#include <sys/stat.h>
#include <vector>

using namespace jot;
using namespace testing;
using namespace Qt::StringLiterals;

namespace {
QByteArray record(const QByteArray& text, const QByteArray& fired = {}) {
    return "\"s\",\"" + text + "\",\"\",\"" + fired + "\"\r\n";
}
QByteArray records(int n) { // "task 1" to "task n"
    QByteArray bytes;
    for (int i = 1; i <= n; ++i)
        bytes += record("task " + QByteArray::number(i));
    return bytes;
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
    std::optional<TempDataHome> m_home;
    std::optional<FailingTaskFile> m_file;
    QString m_dir, m_path;

private Q_SLOTS:
    void init() {
        m_dir = m_home.emplace().dataDir();
        m_path = m_home->taskFile();
        QVERIFY(QDir().mkpath(m_dir));
        m_file.emplace().setDirectory(m_dir);
        setClockForTests([] { return QDateTime(QDate(2026, 12, 6), QTime(22, 15, 7)); });
    }

    // New task: only a single row of spaces is reused, and a list loaded over 100 takes none.
    void addTask() {
        TaskList liste;
        liste.setRows({TaskRow{QString(), u"\t"_s, {}, {}, {}}});
        QCOMPARE(liste.addTask(), 2);
        liste.setRows(parseTasks(records(120)).rows);
        QCOMPARE(liste.addTask(), 0);
    }
    // Line breaks, quotes and the escapes' own characters come back.
    void roundTrip() {
        TaskList liste;
        liste.setRows({TaskRow{u"s"_s, u"a\r\nb\nc\r,\"d\" ~¤\u241B"_s, {}, {}, u"1"_s}});
        QVERIFY(m_file->sauver_liste(liste));
        QCOMPARE(readFile(m_path),
                 record(u"a~b~c~,¤d¤ \u241B~\u241B¤\u241B\u241B"_s.toUtf8(), "1"));
        m_file->lire_liste(liste);
        QCOMPARE(liste.cell(1, ColText), u"a\r\nb\r\nc\r\n,\"d\" ~¤\u241B"_s);
    }
    void read_data() {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QByteArray>("saved"); // the file after the next save
        QTest::addColumn<bool>("copied");      // kept aside before the save
        const QByteArray last = record("last", "1"), all = records(120) + last;
        const QByteArray a = record(u"à"_s.toUtf8());
        QTest::newRow("120 records, a blank line, no last CR LF")
            << records(120) + "\r\n" + last.chopped(2) << all << false;
        QTest::newRow("Windows-1252")
            << record("\xE9 \x80 \xA4") << record(u"é € ¤"_s.toUtf8()) << false;
        QTest::newRow("mixed") << a + record("\xE9") << a + record(u"é"_s.toUtf8()) << true;
        QTest::newRow("unreadable lines")
            << records(120) + "\"s\",\"x\",\"\"\r\n\"\",\"\",\"\",\"\"?\r\n\xFF\r\n" + last << all
            << true;
    }
    // A file not read completely, or in two encodings, is first copied aside, byte for byte
    // and private. What a killed save left is removed at start, and nothing else.
    void read() {
        QFETCH(QByteArray, bytes);
        QFETCH(QByteArray, saved);
        QFETCH(bool, copied);
        QVERIFY(writeFile(m_path, bytes) && ::chmod(QFile::encodeName(m_path), 0644) == 0);
        QVERIFY(writeFile(m_path + u".Ab3xYz"_s, records(1))); // a temporary file a kill left
        TaskList liste;
        QSignalSpy warnings(&*m_file, &TaskFile::warning);
        m_file->lire_liste(liste);
        QCOMPARE(warnings.count(), copied ? 1 : 0);
        QVERIFY(m_file->sauver_liste(liste));
        QCOMPARE(readFile(m_path), saved);
        QCOMPARE(modeOf(m_path), mode_t(0600));
        const QString copy = m_path + u".unreadable-20261206-221507"_s;
        QCOMPARE(readFile(copy), copied ? bytes : "");
        QCOMPARE(modeOf(copy), mode_t(copied ? 0600 : 0));
        QCOMPARE(QDir(m_dir).entryList(QDir::Files | QDir::Hidden).size(), copied ? 2 : 1);
    }
    void failedSave_data() {
        QTest::addColumn<Failure>("failure");
        QTest::addColumn<QString>("cause"); // in the warning
        QTest::newRow("file size limit") << Failure::SizeLimit << u"File too large"_s;
        QTest::newRow("rename fails") << Failure::Rename << u"directory"_s;
    }
    // The old file and the list survive; the warning names the cause, once a run of failures.
    void failedSave() {
        QFETCH(Failure, failure);
        QFETCH(QString, cause);
        QVERIFY(writeFile(m_path, records(1)));
        QSignalSpy warnings(&*m_file, &TaskFile::warning);
        TaskList liste;
        liste.setRows(parseTasks(records(2)).rows);
        m_file->failure = failure;
        QVERIFY(!m_file->sauver_liste(liste) && !m_file->sauver_liste(liste));
        QCOMPARE(warnings.count(), 1);
        QVERIFY(warnings.first().first().toString().contains(cause));
        if (failure != Failure::Rename) // where the test itself removed it
            QCOMPARE(readFile(m_path), records(1));
    }
    // The list stays marked unsaved, so that the next tick retries.
    void retriedAfterFailure() {
        Shared shared;
        shared.fichier.setDirectory(m_dir + u"gone/"_s);
        QVERIFY(!shared.sauver_liste() && shared.unsavedChanges);
        QVERIFY(QDir().mkdir(m_dir + u"gone"_s));
        QVERIFY(shared.sauver_liste() && !shared.unsavedChanges);
    }
    void merge_data() {
        QTest::addColumn<QByteArray>("theirs"); // the file after tasks 1 to 3 were saved
        QTest::addColumn<QByteArray>("after");  // saved next, with task 2 edited here first
        const QByteArray here = records(3).replace("task 2", "here");
        QTest::newRow("added there") << records(3) + record("new") << here + record("new");
        QTest::newRow("removed there") << records(2) << records(2).replace("task 2", "here");
        QTest::newRow("edited on both sides")
            << records(3).replace("task 2", "there") << here + record("there");
    }
    // Another writer's version is kept aside and merged once, by whole records.
    void merge() {
        QFETCH(QByteArray, theirs);
        QFETCH(QByteArray, after);
        Shared shared;
        shared.fichier.setDirectory(m_dir);
        shared.liste.setRows(parseTasks(records(3)).rows);
        QVERIFY(shared.sauver_liste());
        shared.liste.setCell(2, ColText, u"here"_s);
        QVERIFY(writeFile(m_path, theirs)); // of another size: seen however coarse the clock
        QSignalSpy warnings(&shared.fichier, &TaskFile::warning);
        QVERIFY(shared.mergeOtherWriter() && shared.unsavedChanges);
        QVERIFY(shared.sauver_liste() && !shared.mergeOtherWriter());
        QCOMPARE(readFile(m_path), after);
        QCOMPARE(readFile(m_path + u".changed-20261206-221507"_s), theirs);
        QCOMPARE(warnings.count(), 1);
    }

    // Created private, or made private; else "jotstore" beside the program, which every start
    // then tells, as a later normal start tells of tasks left there. Any start option file
    // means on, as it did for the program's first versions.
    void dataDir() {
        QTemporaryDir home, app;
        const QString user = home.path() + u"/.local/share"_s, jotlk = user + u"/jotlk/"_s;
        const QString jotstore = app.filePath(u"jotstore/"_s);
        QCOMPARE(dossier_donnees(user, app.path()), jotlk);
        QCOMPARE(dataDirNotice(jotlk, user, app.path()), QString());
        QVERIFY(writeFile(jotlk + kStartOptionFile, {}) && startInTray(jotlk));
        for (const QString& path : {jotlk + kStartOptionFile, jotlk})
            QVERIFY(::chmod(QFile::encodeName(path), 0755) == 0);
        QCOMPARE(dossier_donnees(user, app.path()), jotlk);
        QCOMPARE(modeOf(jotlk), mode_t(0700));
        QCOMPARE(modeOf(jotlk + kStartOptionFile), mode_t(0600));
        QVERIFY(writeFile(home.filePath(u"jotlk"_s), {}));
        QCOMPARE(dossier_donnees(home.path(), app.path()), jotstore);
        QCOMPARE(modeOf(app.filePath(u"jotstore"_s)), mode_t(0700));
        QVERIFY(dataDirNotice(jotstore, home.path(), app.path())
                    .contains(home.filePath(u"jotlk/"_s) + u" cannot be used"_s));
        QVERIFY(dataDirNotice(jotstore, home.path(), app.path()).endsWith(jotstore + u'.'));
        QVERIFY(writeFile(jotstore + kTaskFileName, records(1)));
        QVERIFY(dataDirNotice(jotlk, user, app.path()).endsWith(jotstore + kTaskFileName + u'.'));
        // Not even there: said, and the saves fail as on a full disk.
        QVERIFY(QDir(jotstore).removeRecursively() && writeFile(jotstore.chopped(1), {}));
        QCOMPARE(dossier_donnees(home.path(), app.path()), jotstore);
        QVERIFY(dataDirNotice(jotstore, home.path(), app.path()).contains(u"cannot be saved"_s));
        m_file->setDirectory(jotstore);
        QVERIFY(!m_file->sauver_liste(TaskList()));
    }

    // Programs started together on a new account make the folder together, and all use it:
    // one must not go beside the program for want of the folder another has just made.
    void dataDirMadeTogether() {
        const QTemporaryDir app;
        for (int round = 0; round < 100; ++round) {
            const QTemporaryDir home;
            std::atomic<bool> go = false;
            std::array<QString, 4> made;
            std::vector<std::unique_ptr<QThread>> starts;
            for (QString& dir : made) {
                starts.emplace_back(QThread::create([&go, &dir, &home, &app] {
                    while (!go)
                        QThread::yieldCurrentThread();
                    dir = dossier_donnees(home.path(), app.path());
                }));
                starts.back()->start();
            }
            go = true;
            for (const auto& start : starts)
                QVERIFY(start->wait());
            for (const QString& dir : made)
                QCOMPARE(dir, home.path() + u"/jotlk/"_s);
        }
    }

    // A valid autostart entry, whose Exec starts the program whatever its path holds.
    void autostart_data() {
        QTest::addColumn<QString>("executable");
        QTest::addColumn<QString>("exec");
        QTest::newRow("quoted") << u"/opt/j$k\\x/jot`lark"_s
                                << u"\"/opt/j\\\\$k\\\\\\\\x/jot\\\\`lark\""_s;
        QTest::newRow("percent") << u"/opt/100%/jotlark"_s << u"/opt/100%%/jotlark"_s;
    }
    void autostart() {
        QFETCH(QString, executable);
        QFETCH(QString, exec);
        QVERIFY(setStartAtLogIn(true, executable));
        QVERIFY(readFile(autostartPath()).contains("\nExec=" + exec.toUtf8() + '\n'));
        QCOMPARE(QProcess::execute(u"desktop-file-validate"_s, {autostartPath()}), 0);
    }
};

QTEST_GUILESS_MAIN(TstStore)
#include "tst_store.moc"
