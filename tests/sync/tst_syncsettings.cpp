// SPDX-License-Identifier: GPL-3.0-or-later
#include "common/tempdatahome.h"
#include "store/datadir.h"
#include "sync/syncsettings.h"

#include <QSignalSpy>
#include <QTest>
#include <sys/stat.h>

using namespace jot::sync;

class TestSyncSettings : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void split_data();
    void split();
    void address_data();
    void address();
    void handWrittenFile();
    void writtenPrivate();
    void stateDir();
    void passwordCommand_data();
    void passwordCommand();
};

void TestSyncSettings::split_data() {
    QTest::addColumn<QString>("line");
    QTest::addColumn<QStringList>("args");
    QTest::newRow("plain") << u"pass show dav"_qs << QStringList{u"pass"_qs, u"show"_qs, u"dav"_qs};
    QTest::newRow("quoted space") << u"pass show \"dav x\""_qs
                                  << QStringList{u"pass"_qs, u"show"_qs, u"dav x"_qs};
    QTest::newRow("runs of spaces") << u"  a   b "_qs << QStringList{u"a"_qs, u"b"_qs};
    QTest::newRow("empty quoted argument")
        << u"echo \"\" x"_qs << QStringList{u"echo"_qs, QString(), u"x"_qs};
    QTest::newRow("quotes inside a word") << u"a\"b c\"d"_qs << QStringList{u"ab cd"_qs};
}

void TestSyncSettings::split() {
    QFETCH(QString, line);
    QTEST(splitCommand(line), "args");
}

void TestSyncSettings::address_data() {
    QTest::addColumn<QString>("url");
    QTest::addColumn<bool>("usable");
    QTest::newRow("https") << u"https://dav.example.org/u/tasks/"_qs << true;
    QTest::newRow("http elsewhere") << u"http://dav.example.org/u/tasks/"_qs << false;
    QTest::newRow("http 127.0.0.1") << u"http://127.0.0.1:5232/u/tasks/"_qs << true;
    QTest::newRow("http 127.255.0.9") << u"http://127.255.0.9/t/"_qs << true;
    QTest::newRow("http 127.0.0.300") << u"http://127.0.0.300/t/"_qs << false;
    QTest::newRow("http 128.0.0.1") << u"http://128.0.0.1/t/"_qs << false;
    QTest::newRow("http 127.0.0.1.example.org") << u"http://127.0.0.1.example.org/t/"_qs << false;
    QTest::newRow("http ::1") << u"http://[::1]:5232/t/"_qs << true;
    QTest::newRow("http localhost") << u"http://LocalHost/t/"_qs << true;
    QTest::newRow("ftp") << u"ftp://127.0.0.1/t/"_qs << false;
    QTest::newRow("no host") << u"tasks"_qs << false;
}

void TestSyncSettings::address() {
    QFETCH(QString, url);
    QTEST(addressProblem(QUrl(url)).isEmpty(), "usable");
}

void TestSyncSettings::handWrittenFile() {
    TempDataHome home;
    QCOMPARE(syncConfigPath(), home.path() + u"/config/jotlark/sync.conf"_qs);
    QString why = u"stale"_qs;
    QVERIFY(!readSyncSettings(syncConfigPath(), &why));
    QVERIFY(why.isEmpty()); // no file: nothing to say
    QVERIFY(testing::writeFile(syncConfigPath(),
                               "[caldav]\nlist=https://dav.example.org/u/a,b/\nuser=me\n"
                               "passwordCommand=\"pass show \\\"dav x\\\"\"\n"));
    const std::optional<SyncSettings> read = readSyncSettings(syncConfigPath(), &why);
    QVERIFY2(read, qPrintable(why));
    QCOMPARE(read->list, QUrl(u"https://dav.example.org/u/a,b/"_qs));
    QCOMPARE(read->user, u"me"_qs);
    QCOMPARE(read->passwordCommand, (QStringList{u"pass"_qs, u"show"_qs, u"dav x"_qs}));

    QVERIFY(testing::writeFile(syncConfigPath(), "[caldav]\nlist=http://dav.example.org/\n"));
    QVERIFY(!readSyncSettings(syncConfigPath(), &why));
    QVERIFY(why.contains(u"https"_qs));
}

void TestSyncSettings::writtenPrivate() {
    TempDataHome home;
    SyncSettings settings;
    settings.list = QUrl(u"https://dav.example.org/u/tasks/"_qs);
    settings.user = u"me"_qs;
    settings.passwordCommand = {u"pass"_qs, u"show"_qs, u"dav, x"_qs};
    settings.certificate = "ab01";
    // One written by hand, readable by all, is made private.
    QVERIFY(testing::writeFile(syncConfigPath(), "[caldav]\n"));
    QVERIFY(QFile::setPermissions(syncConfigPath(), QFile::ReadOwner | QFile::WriteOwner |
                                                        QFile::ReadOther | QFile::ReadGroup));
    QString why;
    QVERIFY2(writeSyncSettings(syncConfigPath(), settings, &why), qPrintable(why));
    struct stat st;
    QCOMPARE(::stat(QFile::encodeName(syncConfigPath()).constData(), &st), 0);
    QCOMPARE(st.st_mode & 0777, 0600u);
    const std::optional<SyncSettings> read = readSyncSettings(syncConfigPath(), &why);
    QVERIFY2(read, qPrintable(why));
    QCOMPARE(read->passwordCommand, settings.passwordCommand);
    QCOMPARE(read->certificate, settings.certificate);
}

void TestSyncSettings::stateDir() {
    TempDataHome home;
    QCOMPARE(syncStateDir(home.dataDir()),
             home.path() + u"/state/jotlark/sync-"_qs + jot::dataDirHash(home.dataDir()));
    qputenv("XDG_STATE_HOME", "relative");
    QCOMPARE(syncStateDir(home.dataDir()), QDir::homePath() + u"/.local/state/jotlark/sync-"_qs +
                                               jot::dataDirHash(home.dataDir()));
}

void TestSyncSettings::passwordCommand_data() {
    QTest::addColumn<QStringList>("command");
    QTest::addColumn<QString>("password");
    QTest::newRow("first line") << QStringList{u"printf"_qs, u"se cret\r\nsecond\n"_qs}
                                << u"se cret"_qs;
    QTest::newRow("no shell") << QStringList{u"echo"_qs, u"$HOME"_qs} << u"$HOME"_qs;
    QTest::newRow("failing") << QStringList{u"sh"_qs, u"-c"_qs, u"echo pw; exit 2"_qs} << QString();
    QTest::newRow("nothing printed") << QStringList{u"true"_qs} << QString();
    QTest::newRow("missing program") << QStringList{u"/nonexistent/pass"_qs} << QString();
    QTest::newRow("none") << QStringList() << QString();
}

void TestSyncSettings::passwordCommand() {
    QFETCH(QStringList, command);
    QString why;
    const std::optional<QString> password = runPasswordCommand(command, &why);
    QTEST(password.value_or(QString()), "password");
    QCOMPARE(why.isEmpty(), password.has_value());

    // The same without waiting, as the window runs it.
    PasswordCommand async;
    QSignalSpy finished(&async, &PasswordCommand::finished);
    async.start(command);
    QVERIFY(finished.wait());
    QTEST(finished.at(0).at(0).toString(), "password");
    QCOMPARE(finished.at(0).at(1).toString(), why);
}

QTEST_GUILESS_MAIN(TestSyncSettings)
#include "tst_syncsettings.moc"
