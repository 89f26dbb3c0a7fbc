#include "common/tempdatahome.h"
#include "store/clock.h"
#include "store/shared.h"
#include "store/taskfile.h"

#include <QRandomGenerator>
#include <QtTest>

#include <sys/stat.h>

using jot::TaskFile;
using jot::TaskList;
using jot::TaskRow;

Q_DECLARE_METATYPE(TaskRow)

namespace {
const QString kEsc = QStringLiteral("\u241B");

TaskRow row(const QString& stamp, const QString& text, const QString& alarm = {},
            const QString& fired = {}) {
    return TaskRow{stamp, text, alarm, QString(), fired};
}

QByteArray readAll(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

bool writeFile(const QString& path, const QByteArray& bytes) {
    QFile f(path);
    return f.open(QIODevice::WriteOnly) && f.write(bytes) == bytes.size();
}

QList<TaskRow> rowsOf(const TaskList& l) {
    QList<TaskRow> out;
    for (int r = 1; r < l.rows(); ++r)
        out.append(TaskRow{l.cell(r, 0), l.cell(r, 1), l.cell(r, 2), l.cell(r, 3), l.cell(r, 4)});
    return out;
}

QStringList textsOf(const TaskList& l) {
    QStringList out;
    for (int r = 1; r < l.rows(); ++r)
        out << l.cell(r, jot::ColText);
    return out;
}

QStringList unreadableCopies(const QString& dir) {
    return QDir(dir).entryList({QStringLiteral("planifs.txt.unreadable-*")}, QDir::Files);
}

// Writes the first half of the bytes, then reports a failure, as a full disk would.
class FailingTaskFile : public TaskFile {
public:
    bool failing = true;

protected:
    bool writeTo(QIODevice& device, const TaskList& liste) override {
        if (!failing)
            return TaskFile::writeTo(device, liste);
        QBuffer buffer;
        buffer.open(QIODevice::WriteOnly);
        jot::writeTasks(liste, buffer);
        device.write(buffer.data().left(buffer.data().size() / 2));
        return false;
    }
};
} // namespace

class TstTaskFile : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void init();
    void cleanup();

    void roundTrip_data();
    void roundTrip();
    void escapingProperty();
    void bytesWritten_data();
    void bytesWritten();
    void windows1252();
    void manyRecords();
    void read_data();
    void read();
    void readerSurvivesAnyBytes();
    void notAFileIsNeverOverwritten();
    void failedSave_data();
    void failedSave();
    void warningOncePerRunOfFailures();
    void fileIsPrivate();

private:
    std::unique_ptr<TempDataHome> m_home;
    QString m_dir;
};

void TstTaskFile::init() {
    m_home = std::make_unique<TempDataHome>();
    QVERIFY(m_home->isValid());
    m_dir = m_home->dataDir();
    QVERIFY(QDir().mkdir(m_dir));
    jot::setClockForTests([] { return QDateTime(QDate(2026, 12, 6), QTime(22, 15, 7)); });
}

void TstTaskFile::cleanup() {
    jot::setClockForTests({});
    m_home.reset();
}

void TstTaskFile::roundTrip_data() {
    QTest::addColumn<TaskRow>("stored");
    QTest::addColumn<QString>("expectedText");

    const QString stamp = QStringLiteral("Le 12/05 à 10:15 pm");
    const QString alarm = QStringLiteral("Saturday 12/06 9:45 am");
    auto add = [&](const char* name, const QString& text, const QString& expected) {
        QTest::newRow(name) << row(stamp, text, alarm, QStringLiteral("1")) << expected;
    };
    auto same = [&](const char* name, const QString& text) { add(name, text, text); };

    same("plain", QStringLiteral("Buy bread"));
    same("two lines", QStringLiteral("Buy bread\r\nand milk"));
    same("empty lines", QStringLiteral("\r\n\r\nend\r\n"));
    same("double quotes", QStringLiteral("Say \"hello\" twice \"\""));
    same("commas", QStringLiteral("a,b,,\",\",c"));
    same("tilde typed", QStringLiteral("~/notes and ~~ twice"));
    same("currency typed", QStringLiteral("5 ¤ and ¤¤"));
    same("marker typed", kEsc + QStringLiteral("~") + kEsc + kEsc + QStringLiteral("¤") + kEsc);
    same("every marked character together",
         QStringLiteral("\"~¤\r\n") + kEsc + QStringLiteral("\",~"));
    same("non-ASCII", QStringLiteral("café 12 € — 日本語 🙂"));
    same("empty text", QString());
    same("blanks only", QStringLiteral("   "));
    add("lone LF", QStringLiteral("one\ntwo"), QStringLiteral("one\r\ntwo"));
    add("lone CR", QStringLiteral("one\rtwo\r"), QStringLiteral("one\r\ntwo\r\n"));
    add("LF CR", QStringLiteral("a\n\rb"), QStringLiteral("a\r\n\r\nb"));

    QTest::newRow("empty fields") << row({}, {}, {}, {}) << QString();
}

// Every text comes back as typed, and every record stays on one line of the file.
void TstTaskFile::roundTrip() {
    QFETCH(TaskRow, stored);
    QFETCH(QString, expectedText);

    TaskList liste;
    liste.setRows({stored, row(QStringLiteral("x"), QStringLiteral("next"))});
    TaskFile file;
    file.setDirectory(m_dir);
    QVERIFY(file.sauver_liste(liste));

    const QByteArray bytes = readAll(file.path());
    QCOMPARE(bytes.count("\r\n"), 2);
    QCOMPARE(bytes.count('\n'), 2);
    QCOMPARE(bytes.count('\r'), 2);

    TaskList back;
    TaskFile reader;
    reader.setDirectory(m_dir);
    QSignalSpy warnings(&reader, &TaskFile::warning);
    reader.lire_liste(back);
    QCOMPARE(warnings.count(), 0);
    QCOMPARE(back.rows(), 3);
    TaskRow expected = stored;
    expected[jot::ColText] = expectedText;
    QCOMPARE(rowsOf(back).first(), expected);
    QCOMPARE(back.cell(2, jot::ColText), QStringLiteral("next"));
}

// Random texts over the characters that matter come back with their line breaks as CR LF.
void TstTaskFile::escapingProperty() {
    const QString alphabet = QStringLiteral("a\"~¤\r\n,") + kEsc;
    QRandomGenerator random(20261206);
    for (int i = 0; i < 2000; ++i) {
        QString text;
        const int length = random.bounded(12);
        for (int k = 0; k < length; ++k)
            text += alphabet[random.bounded(alphabet.size())];
        QString expected = text;
        expected.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
        expected.replace(u'\r', u'\n');
        expected.replace(QStringLiteral("\n"), QStringLiteral("\r\n"));

        const QString escaped = jot::escapeTaskText(text);
        QVERIFY2(!escaped.contains(u'"') && !escaped.contains(u'\r') && !escaped.contains(u'\n'),
                 qPrintable(text));
        QCOMPARE(jot::unescapeTaskText(escaped), expected);
    }
}

void TstTaskFile::bytesWritten_data() {
    QTest::addColumn<QList<TaskRow>>("rows");
    QTest::addColumn<QByteArray>("expected");

    QTest::newRow("empty list: the placeholder row")
        << QList<TaskRow>() << QByteArray("\"\",\"\",\"\",\"\"\r\n");
    QTest::newRow("old escaping unchanged")
        << QList<TaskRow>{row(QStringLiteral("Le 12/05 à 10:15 pm"),
                              QStringLiteral("Call \"Bob\"\r\nabout it"),
                              QStringLiteral("Saturday 12/06 9:45 am"), QStringLiteral("1")),
                          row(QString(), QStringLiteral("second, with comma"))}
        << QByteArray("\"Le 12/05 \xC3\xA0 10:15 pm\",\"Call \xC2\xA4"
                      "Bob\xC2\xA4~about it\",\"Saturday 12/06 9:45 am\",\"1\"\r\n"
                      "\"\",\"second, with comma\",\"\",\"\"\r\n");
    QTest::newRow("typed tilde and currency marked")
        << QList<TaskRow>{row(QString(), QStringLiteral("~a¤"))}
        << QByteArray("\"\",\"\xE2\x90\x9B~a\xE2\x90\x9B\xC2\xA4\",\"\",\"\"\r\n");
    QTest::newRow("window slot not stored")
        << QList<TaskRow>{TaskRow{QStringLiteral("s"), QStringLiteral("t"), QString(),
                                  QStringLiteral("7"), QString()}}
        << QByteArray("\"s\",\"t\",\"\",\"\"\r\n");
}

void TstTaskFile::bytesWritten() {
    QFETCH(QList<TaskRow>, rows);
    QFETCH(QByteArray, expected);

    TaskList liste;
    liste.setRows(rows);
    TaskFile file;
    file.setDirectory(m_dir);
    QSignalSpy saved(&file, &TaskFile::saved);
    QVERIFY(file.sauver_liste(liste));
    QCOMPARE(saved.count(), 1);
    QCOMPARE(readAll(file.path()), expected);
}

// A file written on Western Windows: one byte per character, "¤" is A4.
void TstTaskFile::windows1252() {
    QVERIFY(writeFile(m_dir + jot::kTaskFileName,
                      "\"Le 12/05 \xE0 10:15 pm\",\"Caf\xE9 \x80 5 \xA4ok\xA4~next\","
                      "\"Saturday 12/06 9:45 am\",\"1\"\r\n"
                      "\"\",\"plain\",\"\",\"\"\r\n"));
    TaskList liste;
    TaskFile file;
    file.setDirectory(m_dir);
    QSignalSpy warnings(&file, &TaskFile::warning);
    file.lire_liste(liste);

    QCOMPARE(warnings.count(), 0);
    QCOMPARE(rowsOf(liste),
             (QList<TaskRow>{row(QStringLiteral("Le 12/05 à 10:15 pm"),
                                 QStringLiteral("Café € 5 \"ok\"\r\nnext"),
                                 QStringLiteral("Saturday 12/06 9:45 am"), QStringLiteral("1")),
                             row(QString(), QStringLiteral("plain"))}));
}

// The task limit is not applied when reading, and every window slot comes back empty.
void TstTaskFile::manyRecords() {
    QByteArray bytes;
    for (int i = 1; i <= 120; ++i)
        bytes += "\"s\",\"task " + QByteArray::number(i) + "\",\"\",\"\"\r\n";
    QVERIFY(writeFile(m_dir + jot::kTaskFileName, bytes));

    TaskList liste;
    liste.setCell(1, jot::ColSlot, QStringLiteral("3"));
    TaskFile file;
    file.setDirectory(m_dir);
    file.lire_liste(liste);

    QCOMPARE(liste.rows(), 121);
    for (int r = 1; r <= 120; ++r) {
        QCOMPARE(liste.cell(r, jot::ColText), QStringLiteral("task %1").arg(r));
        QCOMPARE(liste.cell(r, jot::ColSlot), QString());
    }
}

void TstTaskFile::read_data() {
    QTest::addColumn<QByteArray>("bytes"); // empty with `missing`: no file at all
    QTest::addColumn<bool>("missing");
    QTest::addColumn<QStringList>("texts"); // the task texts loaded
    QTest::addColumn<bool>("complete");

    const QByteArray a = "\"s\",\"first\",\"\",\"\"\r\n";
    const QByteArray b = "\"s\",\"second\",\"\",\"1\"\r\n";
    const QStringList both{QStringLiteral("first"), QStringLiteral("second")};
    const QStringList placeholder{QString()};

    QTest::newRow("missing file") << QByteArray() << true << placeholder << true;
    QTest::newRow("empty file") << QByteArray() << false << placeholder << true;
    QTest::newRow("empty lines only") << QByteArray("\r\n\r\n\n") << false << placeholder << true;
    QTest::newRow("trailing empty line") << a + b + "\r\n" << false << both << true;
    QTest::newRow("no last CR LF") << a + b.chopped(2) << false << both << true;
    QTest::newRow("LF line ends") << QByteArray(
                                         "\"\",\"first\",\"\",\"\"\n\"\",\"second\",\"\",\"\"")
                                  << false << both << true;
    QTest::newRow("lone LF inside a text")
        << QByteArray("\"\",\"one\ntwo\",\"\",\"\"\r\n") + b << false
        << QStringList{QStringLiteral("one\r\ntwo"), QStringLiteral("second")} << true;

    QTest::newRow("too few fields") << a + "\"s\",\"lost\",\"\"\r\n" + b << false << both << false;
    QTest::newRow("too many fields")
        << a + "\"s\",\"lost\",\"\",\"\",\"\"\r\n" + b << false << both << false;
    QTest::newRow("missing closing quote")
        << a + "\"s\",\"lost,\"\",\"\"\r\n" + b << false << both << false;
    QTest::newRow("missing closing quote at the end")
        << a + b + "\"s\",\"lost" << false << both << false;
    QTest::newRow("unquoted field") << a + "s,\"lost\",\"\",\"\"\r\n" + b << false << both << false;
    QTest::newRow("stray bytes after a record")
        << a + "\"s\",\"lost\",\"\",\"\"xyz\r\n" + b << false << both << false;
    QTest::newRow("binary garbage")
        << a + QByteArray("\x00\xFF\xFE\"\x01", 5) + "\r\n" + b << false << both << false;
    QTest::newRow("only garbage") << QByteArray("\xFF\xD8\xFF\xE0 no records here") << false
                                  << placeholder << false;
}

// Every record that can be understood is loaded; a file that is not read completely is
// copied aside unchanged before anything overwrites it.
void TstTaskFile::read() {
    QFETCH(QByteArray, bytes);
    QFETCH(bool, missing);
    QFETCH(QStringList, texts);
    QFETCH(bool, complete);

    const QString path = m_dir + jot::kTaskFileName;
    if (!missing)
        QVERIFY(writeFile(path, bytes));

    TaskList liste;
    TaskFile file;
    file.setDirectory(m_dir);
    QSignalSpy warnings(&file, &TaskFile::warning);
    file.lire_liste(liste);

    QCOMPARE(textsOf(liste), texts);
    if (texts == QStringList{QString()})
        QVERIFY(liste.isPlaceholder(1));
    QCOMPARE(warnings.count(), complete ? 0 : 1);

    const QString copy = path + QStringLiteral(".unreadable-20261206-221507");
    QCOMPARE(unreadableCopies(m_dir).size(), complete ? 0 : 1);
    if (!complete) {
        QCOMPARE(file.unreadableCopy(), copy);
        QCOMPARE(readAll(copy), bytes);
        QVERIFY(warnings.first().first().toString().contains(copy));
    }

    // The next save leaves the copy alone and writes what was loaded.
    QVERIFY(file.sauver_liste(liste));
    QCOMPARE(unreadableCopies(m_dir).size(), complete ? 0 : 1);
    if (!complete)
        QCOMPARE(readAll(copy), bytes);
    TaskList again;
    TaskFile reader;
    reader.setDirectory(m_dir);
    QSignalSpy again_warnings(&reader, &TaskFile::warning);
    reader.lire_liste(again);
    QCOMPARE(again_warnings.count(), 0);
    QCOMPARE(textsOf(again), texts);
}

// Random bytes built from the file's own punctuation: the reader always returns, and when it
// says the input was complete, writing it back gives the same records.
void TstTaskFile::readerSurvivesAnyBytes() {
    const QByteArray alphabet("\"\",,\r\n~a\xA4\xC2\xE2\x90\x9B\x00 ", 16);
    QRandomGenerator random(42);
    for (int i = 0; i < 3000; ++i) {
        QByteArray bytes;
        const int length = random.bounded(40);
        for (int k = 0; k < length; ++k)
            bytes += alphabet[random.bounded(alphabet.size())];
        const jot::ParsedTasks parsed = jot::parseTasks(jot::decodeTaskFile(bytes));
        if (!parsed.complete || parsed.rows.isEmpty())
            continue;
        TaskList liste;
        liste.setRows(parsed.rows);
        QBuffer buffer;
        buffer.open(QIODevice::WriteOnly);
        QVERIFY(jot::writeTasks(liste, buffer));
        const jot::ParsedTasks back = jot::parseTasks(jot::decodeTaskFile(buffer.data()));
        QVERIFY(back.complete);
        QCOMPARE(back.rows, parsed.rows);
    }
}

// A pipe of that name neither blocks the start nor is replaced: it cannot be copied aside.
void TstTaskFile::notAFileIsNeverOverwritten() {
    const QString path = m_dir + jot::kTaskFileName;
    QCOMPARE(::mkfifo(QFile::encodeName(path).constData(), 0600), 0);

    TaskList liste;
    TaskFile file;
    file.setDirectory(m_dir);
    QSignalSpy warnings(&file, &TaskFile::warning);
    QSignalSpy recovered(&file, &TaskFile::recovered);
    file.lire_liste(liste);
    QCOMPARE(warnings.count(), 1);
    QVERIFY(liste.isPlaceholder(1));

    liste.setCell(1, jot::ColText, QStringLiteral("typed meanwhile"));
    QVERIFY(!file.sauver_liste(liste));
    QVERIFY(!file.lastError().isEmpty());
    QVERIFY(!QFileInfo(path).isFile());

    // Once it is out of the way, the list is saved.
    QVERIFY(QFile::remove(path));
    QVERIFY(file.sauver_liste(liste));
    QCOMPARE(recovered.count(), 1);
    QVERIFY(readAll(path).contains("typed meanwhile"));
}

void TstTaskFile::failedSave_data() {
    QTest::addColumn<bool>("removeDirectory");
    QTest::newRow("write fails part-way") << false;
    QTest::newRow("data directory removed") << true;
}

// The old file and the list in memory both survive, and the next tick retries.
void TstTaskFile::failedSave() {
    QFETCH(bool, removeDirectory);

    const QByteArray old = "\"s\",\"old task\",\"\",\"\"\r\n";
    const QString path = m_dir + jot::kTaskFileName;
    QVERIFY(writeFile(path, old));

    FailingTaskFile file;
    file.failing = !removeDirectory;
    file.setDirectory(m_dir);
    TaskList liste;
    file.lire_liste(liste);
    liste.setCell(1, jot::ColText, QStringLiteral("new text"));
    liste.appendRow();
    liste.setCell(2, jot::ColText, QStringLiteral("another"));
    if (removeDirectory)
        QVERIFY(QDir(m_dir).removeRecursively());

    QSignalSpy saved(&file, &TaskFile::saved);
    QVERIFY(!file.sauver_liste(liste));
    QVERIFY(!file.lastError().isEmpty());
    QCOMPARE(saved.count(), 0);
    QCOMPARE(textsOf(liste), (QStringList{QStringLiteral("new text"), QStringLiteral("another")}));
    if (removeDirectory) {
        QVERIFY(!QFileInfo::exists(m_dir));
    } else {
        QCOMPARE(readAll(path), old);
        QCOMPARE(QDir(m_dir).entryList(QDir::Files | QDir::Hidden),
                 QStringList{jot::kTaskFileName});
    }
}

void TstTaskFile::warningOncePerRunOfFailures() {
    jot::Shared shared;
    shared.fichier.setDirectory(m_dir + QStringLiteral("gone/"));
    QSignalSpy warnings(&shared.fichier, &TaskFile::warning);
    QSignalSpy recovered(&shared.fichier, &TaskFile::recovered);
    QSignalSpy saved(&shared.fichier, &TaskFile::saved);

    for (int i = 0; i < 3; ++i) {
        shared.unsavedChanges = false;
        QVERIFY(!shared.sauver_liste());
        QVERIFY(shared.unsavedChanges);
    }
    QCOMPARE(warnings.count(), 1);
    const QString message = warnings.first().first().toString();
    QVERIFY(message.contains(shared.fichier.path()));
    QVERIFY(message.contains(shared.fichier.lastError()));
    QCOMPARE(recovered.count(), 0);

    QVERIFY(QDir().mkdir(m_dir + QStringLiteral("gone")));
    QVERIFY(shared.sauver_liste());
    QVERIFY(!shared.unsavedChanges);
    QVERIFY(shared.sauver_liste());
    QCOMPARE(recovered.count(), 1);
    QCOMPARE(saved.count(), 2);
    QCOMPARE(warnings.count(), 1);

    QVERIFY(QDir(m_dir + QStringLiteral("gone")).removeRecursively());
    QVERIFY(!shared.sauver_liste());
    QCOMPARE(warnings.count(), 2);
}

// Only the user may read the tasks, even when the old file was readable by others.
void TstTaskFile::fileIsPrivate() {
    const QString path = m_dir + jot::kTaskFileName;
    QVERIFY(writeFile(path, "\"\",\"\",\"\",\"\"\r\n"));
    QVERIFY(::chmod(QFile::encodeName(path).constData(), 0644) == 0);

    TaskList liste;
    TaskFile file;
    file.setDirectory(m_dir);
    QVERIFY(file.sauver_liste(liste));
    struct stat st {};
    QCOMPARE(::stat(QFile::encodeName(path).constData(), &st), 0);
    QCOMPARE(st.st_mode & 0777, mode_t(0600));
}

QTEST_GUILESS_MAIN(TstTaskFile)
#include "tst_taskfile.moc"
