// SPDX-License-Identifier: GPL-3.0-or-later
#include "common/harness.h"
#include "common/roundtrip.h"
#include "common/table.h"
#include "store/autostart.h"
#include "store/checklist.h"
#include "store/clock.h"
#include "store/datadir.h"
#include "store/deletedtasks.h"
#include "store/keptcopies.h"
#include "store/shared.h"
#include "store/startoption.h"

#include <QtTest>
#include <atomic>
#include <functional>
#include <future>
#include <sys/stat.h>
#include <thread>
#include <vector>

using namespace jot;
using testing::FileSizeLimit;
using testing::modeOf;
using testing::readFile;
using testing::writeFile;
using namespace Qt::StringLiterals;

namespace {
QByteArray record(const QByteArray& text, const QByteArray& fired = {}) {
    return testing::record("s", text, {}, fired);
}
QByteArray records(int n) {
    return testing::records(n, "s");
}
// How a save fails (in the file's writing or commit), or the read before it (the test makes
// the file so).
enum class Failure { None, SizeLimit, Rename, Loop, Pipe, Memory, NoCopy };
// Fails a save as a full disk or a lost rename would; renames another writer's version in
// during a save; or has no atomic swap.
struct FailingTaskFile : TaskFile {
    Failure failure = Failure::None;
    std::function<void()> duringSave;
    bool noSwap = false;
    bool writeTo(QIODevice& device, const TaskList& list) override {
        const bool ok = [&] {
            const FileSizeLimit small(10, failure == Failure::SizeLimit);
            return TaskFile::writeTo(device, list);
        }();
        if (failure == Failure::Rename) // a directory in the file's place
            QFile::remove(path()), QDir().mkpath(path() + u"/x"_s);
        if (failure == Failure::Loop) // a link to itself
            QFile::remove(path()), QFile::link(path(), path());
        return ok;
    }
    void stepDone(SaveStep step) override {
        if (step == SaveStep::Synced && duringSave)
            std::exchange(duringSave, {})();
    }
    int renameFile(const QByteArray& from, const QByteArray& to, unsigned flags) override {
        return noSwap && flags ? EINVAL : TaskFile::renameFile(from, to, flags);
    }
};
} // namespace

struct ReadCase {
    QByteArray name, bytes, saved; // the file, and the file after the next save
    bool copied;                   // kept aside before the save
};
struct FailedSaveCase {
    QByteArray name;
    Failure failure;
    QString cause; // in the last warning
    int said = 1;  // warnings: one a run of failed saves, after the read's own
};
struct MergeCase {
    QByteArray name;
    QByteArray theirs;      // another writer's version, renamed in
    QString how;            // when it comes, and how a sync tool's copy comes: see merge()
    QByteArray after;       // saved next
    QStringList kept;       // the copies beside it afterwards
    QByteArray list = {};   // the file read at start; "": tasks 1 to 3, then task 2 edited here
    QString copy = {};      // the copy's name
    QByteArray copied = {}; // in it; "": this machine's list with a task "away"
};

class TstStore : public QObject {
    Q_OBJECT
    std::optional<TempDataHome> m_home;
    std::optional<FailingTaskFile> m_file;
    QString m_dir, m_path;

    // Another writer's version renamed in over the file, as sync tools write.
    void renameIn(const QByteArray& bytes) {
        QVERIFY(writeFile(m_path + u".new"_s, bytes) &&
                std::rename(QFile::encodeName(m_path + u".new"_s), QFile::encodeName(m_path)) == 0);
    }

private Q_SLOTS:
    // A checklist line ticked (by click or key) and made an item or back (Ctrl+Shift+L), and
    // a find's match; the rest is seen through the note and the grid.
    // The line, toggled, and made an item or back: an open item, a done one, none without
    // its space or with a capital X.
    void checklistLine() {
        for (const auto& [line, toggled, itemOrBack] : {std::tuple{"[ ] milk", "[x] milk", "milk"},
                                                        {"[x] milk", "[ ] milk", "milk"},
                                                        {"[x]milk", "[x]milk", "[ ] [x]milk"},
                                                        {"[X] milk", "[X] milk", "[ ] [X] milk"}}) {
            QCOMPARE(toggledItem(line), toggled);
            QCOMPARE(jot::itemOrBack(line), itemOrBack);
        }
    }
    void searchForm() { // a sharp s typed as SS; accents and case: seen through the find line
        QVERIFY(jot::searchForm(u"Straße"_s).contains(jot::searchForm(u"STRASSE"_s)));
        QVERIFY(!jot::searchForm(u"Straße"_s).contains(jot::searchForm(u"STRASSEx"_s)));
    }
    void init() {
        m_dir = m_home.emplace().dataDir();
        m_path = m_home->taskFile();
        QVERIFY(QDir().mkpath(m_dir));
        m_file.emplace().setDirectory(m_dir);
        setClockForTests([] { return QDateTime(QDate(2026, 12, 6), QTime(22, 15, 7)); });
    }

    // New task: only a single row of spaces is reused (a tab is a task); the new task's row.
    // No stamps: a stamp alone keeps a row from being blank. (The 100 tasks' limit: seen through
    // the hand-over and Undo.)
    void addTask() {
        for (const auto& [file, row] :
             {std::pair{testing::record("", "\t"), 2}, {testing::record(" ", "  "), 1}}) {
            TaskList list;
            list.setRows(parseTasks(file).rows);
            QCOMPARE(list.addTask(), row);
        }
    }
    // Undo takes what there is room for and keeps the rest; a deleted-tasks file that cannot
    // be written fails the record, never the undo.
    void deletedTasks() {
        DeletedTasks d;
        d.setDirectory(m_dir);
        QVERIFY(QDir().mkpath(d.path()));
        const QList<TaskRow> three = parseTasks(records(3)).rows;
        QVERIFY(!d.add(three));
        QCOMPARE(d.lastError(), u"not a file"_s);
        QCOMPARE(d.takeLast(2), three.mid(0, 2));
        QCOMPARE(d.takeLast(2), three.mid(2));
        QVERIFY(!d.canUndo());
    }
    // Line breaks, quotes and escape characters come back; a linked planifs.txt stays a link.
    void roundTrip() {
        const QTemporaryDir elsewhere;
        const QString real = elsewhere.filePath(u"tasks.txt"_s);
        QVERIFY(writeFile(real, {}) && QFile::link(real, m_path));
        TaskList list;
        list.setRows({TaskRow{u"s"_s, u"a\r\nb\nc\r,\"d\" ~¤\u241B"_s, {}, {}, u"1"_s}});
        QVERIFY(m_file->sauver_liste(list));
        QVERIFY(QFileInfo(m_path).isSymLink());
        QCOMPARE(QDir(elsewhere.path()).entryList(QDir::Files | QDir::Hidden),
                 QStringList{u"tasks.txt"_s});
        QCOMPARE(readFile(real), record(u"a~b~c~,¤d¤ \u241B~\u241B¤\u241B\u241B"_s.toUtf8(), "1"));
        m_file->lire_liste(list);
        QCOMPARE(list.cell(1, ColText), u"a\r\nb\r\nc\r\n,\"d\" ~¤\u241B"_s);
    }
    // The fuzzer's check, on seeded random files of the characters the format escapes or
    // re-encodes, read in random chunks.
    void readsBackAlike() {
        const QByteArray pieces[] = {"~",        "\xC2\xA4",     "\x1B", "\"",    "\r", "\n",
                                     "\xC3\xA9", "\xE2\x82\xAC", "\x80", "\",\"", "x"};
        QRandomGenerator random(35);
        for (int n = 0; n < 3000; ++n) {
            QByteArray bytes = "\"";
            for (int k = random.bounded(40); k > 0; --k)
                bytes += pieces[random.bounded(int(std::size(pieces)))];
            QList<qsizetype> cuts;
            for (qsizetype at = 0; (at += random.bounded(1, 8)) < bytes.size();)
                cuts << at;
            QVERIFY2(testing::readsBackAlike(bytes, cuts), bytes.toPercentEncoding().constData());
        }
    }
    void read_data() {
        const QByteArray last = record("last", "1"), all = records(120) + last;
        const QByteArray a = record(u"à"_s.toUtf8());
        testing::table<ReadCase>(
            {{"120 records, a blank line, no last CR LF", records(120) + "\r\n" + last.chopped(2),
              all, false},
             {"Windows-1252", record("\xE9 \x80 \xA4"), record(u"é € ¤"_s.toUtf8()), false},
             {"mixed", a + record("\xE9"), a + record(u"é"_s.toUtf8()), true},
             {"unreadable lines",
              records(120) + "\"s\",\"x\",\"\"\r\n\"\",\"\",\"\",\"\"?\r\n\xFF\r\n" + last, all,
              true}});
    }
    // A file read in part, or in two encodings, is first copied aside, private; a killed save's
    // leftover goes at start, the user's own copies stay.
    void read() {
        QFETCH(ReadCase, row);
        QVERIFY(writeFile(m_path, row.bytes) && ::chmod(QFile::encodeName(m_path), 0644) == 0);
        QVERIFY(writeFile(m_dir + u".jotlark-save-Ab3xYz"_s, records(1))); // a kill left it
        const QStringList own = {u"planifs.txt.backup"_s, u"planifs.txt.202611"_s,
                                 u"planifs.txt.orig01"_s, u".jotlark-save-Ab3xYz.bak"_s};
        for (const QString& name : own)
            QVERIFY(writeFile(m_dir + name, "mine"));
        TaskList list;
        QSignalSpy warnings(&*m_file, &TaskFile::warning);
        m_file->lire_liste(list);
        QCOMPARE(warnings.count(), row.copied ? 1 : 0);
        QVERIFY(m_file->sauver_liste(list));
        QCOMPARE(readFile(m_path), row.saved);
        QCOMPARE(modeOf(m_path), mode_t(0600));
        QCOMPARE(readFile(m_path + u".unreadable-20261206-221507"_s), row.copied ? row.bytes : "");
        QCOMPARE(QDir(m_dir).entryList(QDir::Files | QDir::Hidden).size(),
                 own.size() + (row.copied ? 2 : 1));
    }
    void failedSave_data() {
        testing::table<FailedSaveCase>(
            {{"file size limit", Failure::SizeLimit, u"File too large"_s},
             {"rename fails", Failure::Rename, u"directory"_s},
             {"symlink loop", Failure::Loop, u"symbolic links"_s},
             {"a pipe, not opened: it would block the start", Failure::Pipe, u"not a file"_s, 2},
             {"a read failing (memory at address 0)", Failure::Memory, u"not be saved"_s, 3},
             {"read in part, no room to copy it aside", Failure::NoCopy, u"copied aside"_s, 2}});
    }
    // The old file and the list survive; the warning names the cause, once a run of failures.
    // A file not read whole is never replaced: a failed read is no empty list.
    void failedSave() {
        QFETCH(FailedSaveCase, row);
        const QByteArray bytes =
            records(1) + (row.failure == Failure::NoCopy ? QByteArray(4096, '\xFF') : "");
        QVERIFY(row.failure == Failure::Pipe     ? ::mkfifo(QFile::encodeName(m_path), 0600) == 0
                : row.failure == Failure::Memory ? QFile::link(u"/proc/self/mem"_s, m_path)
                                                 : writeFile(m_path, bytes));
        QSignalSpy warnings(&*m_file, &TaskFile::warning);
        TaskList list;
        std::optional<FileSizeLimit> disk(std::in_place, 1024, row.failure == Failure::NoCopy);
        m_file->lire_liste(list);
        m_file->failure = row.failure;
        const bool failed = !m_file->mergeOtherWriter(list) && !m_file->sauver_liste(list) &&
                            !m_file->sauver_liste(list);
        disk.reset();
        QVERIFY(failed);
        QCOMPARE(warnings.count(), row.said);
        QVERIFY2(warnings.last().first().toString().contains(row.cause),
                 qPrintable(warnings.last().first().toString()));
        if (row.failure == Failure::SizeLimit || row.failure == Failure::NoCopy) // still there
            QCOMPARE(readFile(m_path), bytes);
    }
    // The list stays marked unsaved, so that the next tick retries.
    void retriedAfterFailure() {
        Shared shared;
        shared.file.setDirectory(m_dir + u"gone/"_s);
        QVERIFY(!shared.sauver_liste() && shared.unsavedChanges);
        QVERIFY(QDir().mkdir(m_dir + u"gone"_s));
        QVERIFY(shared.sauver_liste() && !shared.unsavedChanges);
    }
    void merge_data() {
        testing::table<MergeCase>();
        const auto row = [](auto... fields) { testing::addRow(MergeCase{fields...}); };
        const QByteArray here = records(3).replace("task 2", "here"), gap = "\"s\",\"ta\r\n";
        const QStringList changed{u"changed"_s}, conflict{u"conflict"_s};
        const QStringList unreadable{u"unreadable"_s}, both = changed + conflict;
        const QByteArray added = here + record("new"),
                         removed = records(2).replace("task 2", "here");
        row("added there", records(3) + record("new"), "tick", added, changed);
        row("removed there", records(2), "tick", removed, changed);
        row("edited on both sides", records(3).replace("task 2", "there"), "tick",
            here + record("there"), changed);
        row("the same edit on both sides", here, "tick", here, changed);
        row("renamed in during a save", records(3) + record("new"), "in save", added, changed);
        row("there before a save, no swap", records(2), "before a save, no swap", removed, changed);
        row("cut off at its end", records(2) + record("new") + "\"s\",\"task 3", "tick", added,
            unreadable);
        row("spliced in its middle", records(2) + gap + record("new"), "tick", added, unreadable);
        row("written in place, with a pause", records(3) + record("new"), "in place", added,
            changed);
        const QString syncthing = u"planifs.sync-conflict-20261206-221000-AB12CD3.txt"_s,
                      lea = u"planifs (Lea's conflicted copy 2026-12-06).txt"_s,
                      nextcloud = u"planifs (conflicted copy 2026-12-06 221000).txt"_s;
        row("Syncthing", records(2) + record("there"), "tick",
            here + record("there") + record("away"), both, "", syncthing);
        row("Dropbox", "", "next start, tick", here + record("away"), conflict, "", lea);
        // A record that differs only in its alarm's state keeps the alarm further along, once.
        const auto alarm = [](const char* day, const char* fired) {
            return "\"s\",\"t\",\"" + QByteArray(day) + " 9:00 am\",\"" + fired + "\"\r\n";
        };
        const QByteArray fired = alarm("Monday 12/07", "1"), unfired = alarm("Monday 12/07", "");
        const QByteArray later = alarm("Monday 12/14", "weekly"), bad = "\"s\",\"cut";
        const QByteArray weekly = alarm("Monday 12/07", "weekly");
        row("fired here, not in a conflict copy", "", "tick", fired, conflict, fired, syncthing,
            unfired);
        row("fired in a conflict copy, not here", "", "tick", fired, conflict, unfired, syncthing,
            fired);
        row("fired in a version read in part", fired + bad, "tick", fired, unreadable, unfired);
        row("a later occurrence here", "", "tick", later, conflict, later, syncthing, weekly);
        row("an earlier occurrence there, in a version read in part", weekly + bad, "tick", weekly,
            unreadable, later);
        row("a later occurrence, renamed in during a save", later + bad, "in save", later,
            unreadable, weekly);
        // A copy's tasks are not taken for removed by a later version; a copy is looked at in the
        // save's own merge, and only once it reads whole.
        const QByteArray ab = record("A") + record("B");
        const QByteArray away = ab + record("away"), lr = ab + record("L") + record("R");
        row("Nextcloud's (1)", "", "tick", away, conflict, ab,
            "planifs (conflicted copy 2026-12-06 221000) (1).txt", away);
        row("a copy, and a version a tick later", ab + record("R"), "copy, then tick", lr, both,
            ab + record("L"), nextcloud);
        row("a copy made during a save", ab + record("R"), "copy in save", lr, both,
            ab + record("L"), nextcloud);
        row("a copy growing", "", "growing copy, tick", away, conflict, ab, nextcloud, away);
        row("a copy without a task of the list, the file unchanged", "", "tick",
            ab + record("C") + record("away"), conflict, ab + record("C"), lea, away);
    }
    // Another writer's version is kept aside and merged once, by whole records, as is a sync
    // tool's conflict copy, then moved aside; a file with an unreadable record removes nothing
    // and is merged only once it stayed so. No merge doubles a task or loses one.
    void merge() {
        QFETCH(MergeCase, row);
        QVERIFY(writeFile(m_path, row.list.isEmpty() ? records(3) : row.list));
        TaskList list;
        m_file->lire_liste(list);
        if (row.list.isEmpty())
            list.setCell(2, ColText, u"here"_s);
        if (row.how.startsWith(u"next start")) { // the list as the next start reads it
            QVERIFY(m_file->sauver_liste(list));
            m_file.emplace().setDirectory(m_dir);
            m_file->lire_liste(list);
        }
        const QByteArray copied = !row.copied.isEmpty() ? row.copied
                                  : row.how.startsWith(u"copy")
                                      ? row.list // the file itself, renamed
                                      : records(3).replace("task 2", "here") + record("away");
        const QString copy = m_dir + row.copy;
        if (row.how == u"growing copy, tick")
            QVERIFY(writeFile(copy, copied.chopped(5)) && !m_file->mergeOtherWriter(list));
        if (!row.copy.isEmpty() && !row.how.startsWith(u"copy"))
            QVERIFY(writeFile(copy, copied));
        const auto arrive = [&] {
            QVERIFY(!row.how.startsWith(u"copy") || QFile::rename(m_path, copy));
            if (!row.theirs.isEmpty()) // of another size: seen however coarse the clock
                renameIn(row.theirs);
        };
        QSignalSpy warnings(&*m_file, &TaskFile::warning);
        QSignalSpy removing(&*m_file, &TaskFile::removingTask);
        if (row.how.endsWith(u"in save")) {
            m_file->duringSave = arrive;
        } else if (row.how == u"in place") { // a writer that pauses half-way: saves and copies wait
            QVERIFY(writeFile(m_path, row.theirs.left(row.theirs.size() - 9)));
            QVERIFY(!m_file->mergeOtherWriter(list) && m_file->sauver_liste(list));
            QVERIFY(!m_file->mergeOtherWriter(list) && m_file->aheadOfFile());
            QCOMPARE(readFile(m_path), row.theirs.left(row.theirs.size() - 9));
            QVERIFY(writeFile(m_path, row.theirs) && !m_file->mergeOtherWriter(list));
            QVERIFY(m_file->mergeOtherWriter(list));
        } else if (row.how == u"copy, then tick") {
            QVERIFY(QFile::rename(m_path, copy));
            m_file->mergeOtherWriter(list);
            renameIn(row.theirs);
        } else {
            if (row.how.startsWith(u"growing")) // still growing when first seen whole
                QVERIFY(!m_file->mergeOtherWriter(list) && QFileInfo::exists(copy));
            arrive();
            m_file->noSwap = row.how.endsWith(u"no swap");
        }
        if (row.how.endsWith(u"tick"))
            m_file->mergeOtherWriter(list);
        QSignalSpy resolved(&*m_file, &TaskFile::resolved);
        QVERIFY(m_file->sauver_liste(list) && !m_file->mergeOtherWriter(list));
        QCOMPARE(readFile(m_path), row.after);
        QCOMPARE(warnings.count(), row.how == u"copy, then tick" ? 2 : 1);
        QCOMPARE(removing.count(), row.theirs == records(2) ? 1 : 0); // task 3, removed there
        QVERIFY(resolved.isEmpty() && m_file->sauver_liste(list));    // then settled
        QCOMPARE(resolved.value(0).value(0), warnings.last().first());
        QStringList copies;
        for (const QFileInfo& f : QDir(m_dir).entryInfoList(QDir::Files | QDir::Hidden)) {
            if (f.fileName() == kTaskFileName)
                continue;
            QCOMPARE(modeOf(f.filePath()), mode_t(0600));
            copies << f.fileName().section(u'.', 2).section(u'-', 0, 0);
            QVERIFY(warnings.last().first().toString().contains(f.fileName()) ||
                    warnings.first().first().toString().contains(f.fileName()));
        }
        QCOMPARE(copies, row.kept);
        if (!row.copy.isEmpty())
            QCOMPARE(readFile(m_path + u".conflict-20261206-221507"_s), copied);
    }

    // A writer that stays half-way: saves wait, with a word after five minutes; after ten, or
    // when the program ends, its file is kept aside and the save goes ahead.
    void writerTakingLong() {
        for (const bool ending : {false, true}) {
            QDateTime clock(QDate(2026, 12, 6), QTime(22, 15));
            setClockForTests([&clock] { return clock; });
            TaskList list;
            list.setRows(parseTasks(records(2)).rows);
            QVERIFY(m_file->sauver_liste(list));
            const QByteArray half = records(1) + record("new") + "\"s\",\"ta";
            QVERIFY(writeFile(m_path, half) && !m_file->mergeOtherWriter(list));
            QSignalSpy warnings(&*m_file, &TaskFile::warning);
            clock = clock.addSecs(ending ? 60 : 300);
            QVERIFY(!m_file->mergeOtherWriter(list) && m_file->sauver_liste(list));
            QCOMPARE(warnings.size(), ending ? 0 : 1);
            QCOMPARE(readFile(m_path), half);
            clock = clock.addSecs(300);
            if (ending)
                m_file->stopWaitingForWriter();
            else
                QVERIFY(m_file->mergeOtherWriter(list));
            QVERIFY(m_file->sauver_liste(list));
            QCOMPARE(readFile(m_path), records(2) + record("new"));
            QCOMPARE(QDir(m_dir).entryList({u"*.unreadable-*"_s}, QDir::Files).size(), 1);
            init();
        }
    }
    // Of the copies a sync makes, only the newest stay; what could not be read stays whole.
    // Two a second, from 22:15:07: the two oldest go, the second of 22:15:08 stays.
    void keptCopiesPruned() {
        for (const QString& kind : {u"changed"_s, u"unreadable"_s}) {
            for (int n = 1; n <= 12; ++n)
                QVERIFY(writeFile(keptCopyPath(m_dir, kind, now().addSecs(n / 2)), "x"));
            pruneKeptCopies(m_dir, kind);
            const QString stamp = m_path + u'.' + kind + u"-20261206-2215"_s;
            QCOMPARE(QDir(m_dir).entryList({u"*."_s + kind + u"-*"_s}, QDir::Files).size(),
                     kind == u"changed" ? kKeptCopies : 12);
            QCOMPARE(QFileInfo::exists(stamp + u"07"_s), kind == u"unreadable");
            QCOMPARE(QFileInfo::exists(stamp + u"08"_s), kind == u"unreadable");
            QVERIFY(QFileInfo::exists(stamp + u"08-2"_s) && QFileInfo::exists(stamp + u"13"_s));
        }
    }

    // The data folder is made private, else "jotstore" beside the program, which every start
    // tells, as a later start tells of tasks left there; any start option file means on.
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
        QVERIFY(QFile::remove(jotlk + kStartOptionFile) && setStartInTray(jotlk, true));
        QCOMPARE(modeOf(jotlk + kStartOptionFile), mode_t(0600));
        QVERIFY(writeFile(home.filePath(u"jotlk"_s), {}));
        QCOMPARE(dossier_donnees(home.path(), app.path()), jotstore);
        QCOMPARE(modeOf(app.filePath(u"jotstore"_s)), mode_t(0700));
        QVERIFY(dataDirNotice(jotstore, home.path(), app.path())
                    .contains(home.filePath(u"jotlk/"_s) + u" cannot be used"_s));
        QVERIFY(writeFile(jotstore + kTaskFileName, records(1)));
        QVERIFY(dataDirNotice(jotlk, user, app.path()).endsWith(jotstore + kTaskFileName + u'.'));
        // Not even there: said.
        QVERIFY(QDir(jotstore).removeRecursively() && writeFile(jotstore.chopped(1), {}));
        QCOMPARE(dossier_donnees(home.path(), app.path()), jotstore);
        QVERIFY(dataDirNotice(jotstore, home.path(), app.path()).contains(u"cannot be saved"_s));
    }

    // Starts on a new account make the folder together, and none goes beside the program.
    void dataDirMadeTogether() {
        const QTemporaryDir app;
        for (int round = 0; round < 100; ++round) {
            const QTemporaryDir home;
            std::atomic<bool> go = false;
            std::vector<std::future<QString>> starts; // each waited for, even after a failed check
            for (int k = 0; k < 4; ++k)
                starts.push_back(std::async(std::launch::async, [&go, &home, &app] {
                    while (!go)
                        std::this_thread::yield();
                    return dossier_donnees(home.path(), app.path());
                }));
            go = true;
            for (std::future<QString>& start : starts)
                QCOMPARE(start.get(), home.path() + u"/jotlk/"_s);
        }
    }

    // A valid autostart entry, whose Exec starts the program whatever its path holds, and
    // whose TryExec has desktops skip it once the program is gone.
    // Quoted, and with a percent sign: the executable, Exec and TryExec.
    void autostart() {
        for (const auto& [executable, exec, tryExec] :
             {std::tuple{u"/opt/j$k\\x/jot`lark"_s, u"\"/opt/j\\\\$k\\\\\\\\x/jot\\\\`lark\""_s,
                         u"/opt/j$k\\\\x/jot`lark"_s},
              {u"/opt/100%/jotlark"_s, u"/opt/100%%/jotlark"_s, u"/opt/100%/jotlark"_s}}) {
            QVERIFY(setStartAtLogIn(true, executable));
            QVERIFY(readFile(autostartPath()).contains("\nExec=" + exec.toUtf8() + '\n'));
            QVERIFY(readFile(autostartPath()).contains("\nTryExec=" + tryExec.toUtf8() + '\n'));
            QCOMPARE(QProcess::execute(u"desktop-file-validate"_s, {autostartPath()}), 0);
        }
    }
};

QTEST_GUILESS_MAIN(TstStore)
#include "tst_store.moc"
