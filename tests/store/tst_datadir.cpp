#include "common/tempdatahome.h"
#include "store/datadir.h"

#include <QtTest>

#include <sys/stat.h>

namespace {
mode_t modeOf(const QString& path) {
    struct stat st {};
    return ::stat(QFile::encodeName(path).constData(), &st) == 0 ? (st.st_mode & 0777) : 0;
}
} // namespace

class TstDataDir : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void perUserFolder_data();
    void perUserFolder();
    void existingFolderKept();
    void fallback_data();
    void fallback();
    void missingUserFolderIsCreated();
    void fromTheEnvironment();
};

void TstDataDir::perUserFolder_data() {
    QTest::addColumn<QString>("suffix"); // added to the temporary folder's path
    QTest::newRow("no trailing slash") << QString();
    QTest::newRow("trailing slash") << QStringLiteral("/");
}

// A first start creates "jotlk", private, and the result ends with exactly one '/'.
void TstDataDir::perUserFolder() {
    QFETCH(QString, suffix);
    QTemporaryDir user, app;
    QVERIFY(user.isValid() && app.isValid());

    const QString dir = jot::dossier_donnees(user.path() + suffix, app.path());
    QCOMPARE(dir, user.path() + QStringLiteral("/jotlk/"));
    QVERIFY(QFileInfo(dir).isDir());
    QCOMPARE(modeOf(dir), mode_t(0700));
    QVERIFY(!QFileInfo::exists(app.filePath(QStringLiteral("jotstore"))));
}

// A second start finds the folder and changes nothing.
void TstDataDir::existingFolderKept() {
    QTemporaryDir user, app;
    QVERIFY(user.isValid() && app.isValid());
    const QString first = jot::dossier_donnees(user.path(), app.path());
    QVERIFY(QFile::setPermissions(first, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner |
                                             QFile::ReadGroup | QFile::ExeGroup));
    QVERIFY(QFile(first + QStringLiteral("planifs.txt")).open(QIODevice::WriteOnly));

    QCOMPARE(jot::dossier_donnees(user.path(), app.path()), first);
    QCOMPARE(modeOf(first), mode_t(0750));
    QVERIFY(QFileInfo::exists(first + QStringLiteral("planifs.txt")));
}

void TstDataDir::fallback_data() {
    QTest::addColumn<QString>("user"); // "%1" stands for a temporary folder
    QTest::addColumn<bool>("fileInTheWay");
    QTest::addColumn<QString>("appSuffix");

    QTest::newRow("no per-user folder") << QString() << false << QString();
    QTest::newRow("blank per-user folder") << QStringLiteral("  \t ") << false << QString();
    QTest::newRow("a file named jotlk") << QStringLiteral("%1") << true << QString();
    QTest::newRow("per-user folder under a file")
        << QStringLiteral("%1/jotlk/share") << true << QString();
    QTest::newRow("application directory with a slash")
        << QString() << false << QStringLiteral("/");
}

// Without a usable per-user folder the data stay in "jotstore" beside the program.
void TstDataDir::fallback() {
    QFETCH(QString, user);
    QFETCH(bool, fileInTheWay);
    QFETCH(QString, appSuffix);
    QTemporaryDir home, app;
    QVERIFY(home.isValid() && app.isValid());
    if (fileInTheWay)
        QVERIFY(QFile(home.filePath(QStringLiteral("jotlk"))).open(QIODevice::WriteOnly));
    const QString userFolder = user.contains(QLatin1String("%1")) ? user.arg(home.path()) : user;

    const QString dir = jot::dossier_donnees(userFolder, app.path() + appSuffix);
    QCOMPARE(dir, app.path() + QStringLiteral("/jotstore/"));
    QVERIFY(QFileInfo(dir).isDir());
    QCOMPARE(modeOf(dir), mode_t(0700));
    QCOMPARE(QFileInfo(home.filePath(QStringLiteral("jotlk"))).isFile(), fileInTheWay);
}

// A new account without its per-user data folder gets it, private, with "jotlk" inside.
void TstDataDir::missingUserFolderIsCreated() {
    QTemporaryDir home, app;
    QVERIFY(home.isValid() && app.isValid());
    const QString user = home.filePath(QStringLiteral(".local/share"));

    QCOMPARE(jot::dossier_donnees(user, app.path()), user + QStringLiteral("/jotlk/"));
    QCOMPARE(modeOf(user), mode_t(0700));
    QCOMPARE(modeOf(user + QStringLiteral("/jotlk")), mode_t(0700));
}

// The one-argument form takes the per-user folder from XDG_DATA_HOME.
void TstDataDir::fromTheEnvironment() {
    TempDataHome home;
    QVERIFY(home.isValid());
    QCOMPARE(jot::dossier_donnees(), home.dataDir());
    QVERIFY(QFileInfo(home.dataDir()).isDir());
}

QTEST_GUILESS_MAIN(TstDataDir)
#include "tst_datadir.moc"
