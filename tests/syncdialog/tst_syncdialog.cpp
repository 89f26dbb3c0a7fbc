// SPDX-License-Identifier: GPL-3.0-or-later
// The sync's set-up, driven through its widgets against a Radicale of the test's own.
#include "alarms/alarmtext.h"
#include "calendar/calendarfile.h"
#include "common/fakepasswordstore.h"
#include "common/program.h"
#include "common/radicaleserver.h"
#include "common/table.h"
#include "net/davtransport.h"
#include "store/clock.h"
#include "sync/syncsettings.h"
#include "syncdialog/keychainstore.h"
#include "syncdialog/syncdialog.h"

#include <QtWidgets>

using namespace jot::sync;

namespace {

const QString kNewList = QStringLiteral("New list \"Jotlark\"");

QString status(const SyncDialog& d) {
    return d.findChild<QLabel*>(QStringLiteral("m_status"))->text();
}

QStringList shownLists(const SyncDialog& d) {
    QStringList texts;
    const auto* lists = d.findChild<QListWidget*>(QStringLiteral("m_lists"));
    for (int i = 0; i < lists->count(); ++i)
        texts << lists->item(i)->text();
    return texts;
}

// Clicks the button and waits until the dialog is done with what it started.
bool clickAndWait(SyncDialog& d, const char* button) {
    QSignalSpy idle(&d, &SyncDialog::idle);
    QTest::mouseClick(d.findChild<QPushButton*>(QLatin1String(button)), Qt::LeftButton);
    return idle.count() > 0 || idle.wait(45000);
}

bool connectWith(SyncDialog& d, const QString& address,
                 const QString& user = RadicaleServer::user(),
                 const QString& password = RadicaleServer::password()) {
    d.findChild<QLineEdit*>(QStringLiteral("m_address"))->setText(address);
    d.findChild<QLineEdit*>(QStringLiteral("m_user"))->setText(user);
    d.findChild<QLineEdit*>(QStringLiteral("m_password"))->setText(password);
    return clickAndWait(d, "m_connect");
}

bool pick(SyncDialog& d, const QString& text) {
    auto* lists = d.findChild<QListWidget*>(QStringLiteral("m_lists"));
    const auto items = lists->findItems(text, Qt::MatchExactly);
    lists->setCurrentItem(items.value(0));
    return !items.isEmpty() && clickAndWait(d, "m_use");
}

// Each row connects, and when `listPath` is set picks the first list shown.
struct ConnectCase {
    QByteArray name;
    QString address; // %1 the server's base, %2 nothing there
    QString user, password;
    QStringList lists;
    QString said;
    QString listPath = {}; // of the list set up, * any name
    bool keyring = true;
};

} // namespace

class TstSyncDialog : public QObject {
    Q_OBJECT
    std::unique_ptr<RadicaleServer> m_server;
    std::unique_ptr<TempDataHome> m_home;
    FakePasswordStore m_store;

private Q_SLOTS:
    void initTestCase() {
        SKIP_WITHOUT_RADICALE();
        testing::quietOffscreen();
        jot::setClockForTests([] { return QDateTime(QDate(2026, 3, 15), QTime(14, 7)); });
        m_server = std::make_unique<RadicaleServer>();
        QVERIFY2(m_server->start(), qPrintable(m_server->error()));
    }
    // Each test a data home and a keyring of its own.
    void init() {
        m_home = std::make_unique<TempDataHome>();
        m_store = FakePasswordStore();
    }
    void cleanup() { jot::setMessageResponderForTests({}); }

    // The rows that fail come before those that make bob a list.
    void connectTo_data() {
        const QStringList tasks{QStringLiteral("Tasks")}, both{tasks.first(), kNewList};
        const char* own = "/alice/tasks/";
        testing::table<ConnectCase>({
            {"wrong password", "%1", "alice", "nope", {}, "user name or password"},
            {"no task list yet", "%1", "bob", "b0b", {kNewList}, "no task list"},
            {"nothing answers", "%2", "alice", "x", {}, "reached: connection refused"},
            {"http elsewhere", "http://dav.example.org/", "alice", "x", {}, "https"},
            {"no user", "%1", "", "x", {}, "user name"},
            {"from the root address", "%1", "alice", "s3cret", both, "", own},
            {"from the principal", "%1alice/", "alice", "s3cret", both, "", own},
            {"from the list itself", "%1alice/tasks/", "alice", "s3cret", tasks, "", own},
            {"a new list, no keyring", "%1", "bob", "b0b", {kNewList}, "", "/bob/*/", false},
        });
    }
    void connectTo() {
        QFETCH(ConnectCase, row);
        auto [name, address, user, password, lists, said, listPath, keyring] = row;
        m_store.keyring = keyring;
        SyncDialog d(m_home->dataDir(), {}, &m_store);
        QSignalSpy configured(&d, &SyncDialog::configured);
        d.show();
        address.replace("%1", m_server->base().toString());
        address.replace("%2",
                        QStringLiteral("http://127.0.0.1:%1/").arg(RadicaleServer::freePort()));
        QVERIFY(connectWith(d, address, user, password));
        QVERIFY2(status(d).contains(said, Qt::CaseInsensitive), qPrintable(status(d)));
        QCOMPARE(shownLists(d), lists);
        QCOMPARE(QFile::exists(syncConfigPath()), false);
        if (listPath.isEmpty())
            return;
        QVERIFY(pick(d, lists.first()));
        QCOMPARE(configured.count(), 1);

        QString why;
        const auto settings = readSyncSettings(syncConfigPath(), &why);
        QVERIFY2(settings, qPrintable(why));
        QVERIFY2(QRegularExpression::fromWildcard(listPath).match(settings->list.path()).hasMatch(),
                 qPrintable(settings->list.toString()));
        QCOMPARE(settings->user, user);
        QVERIFY(settings->certificate.isEmpty()); // plain http: nothing to pin
        const QString key = passwordKey(user, settings->list);
        QCOMPARE(m_store.kept.value(key), keyring ? password : QString());
        QCOMPARE(keptForThisRun(key).value_or(QString()), keyring ? QString() : password);
        QCOMPARE(status(d).contains(QStringLiteral("No keyring")), !keyring);
        // A new list takes tasks and bears its name.
        const auto made =
            m_server->request("PROPFIND", settings->list, {}, {{"Depth", "0"}}, user, password);
        QVERIFY(made.body.contains(lists.first() == kNewList ? ">Jotlark<" : ">Tasks<"));
    }

    // The first connection of a list that holds tasks says what will go where, and sets up
    // nothing if declined. The last test on alice's list: the items it puts there stay.
    void firstConnect() {
        auto task = [](int day, const char* text) {
            return jot::TaskRow{jot::creationStamp(QDateTime(QDate(2026, 3, day), QTime(9, 0))),
                                QString::fromLatin1(text), QString(), QString(), QString()};
        };
        const QList<jot::TaskRow> here{task(1, "milk"), task(2, "bread"), task(3, "eggs")};
        for (const jot::TaskRow& t : {task(1, "milk"), task(4, "jam")}) {
            const QByteArray ics = jot::writeCalendar({t}, jot::now());
            QCOMPARE(m_server->put(t[jot::ColText] + ".ics", ics).status, 201);
        }
        for (const auto answer : {QMessageBox::No, QMessageBox::Yes}) {
            QString asked;
            jot::setMessageResponderForTests([&](QMessageBox& box) {
                asked += box.text();
                return answer;
            });
            SyncDialog d(m_home->dataDir(), here, &m_store);
            d.show();
            QVERIFY(connectWith(d, m_server->list().toString()));
            QVERIFY(pick(d, QStringLiteral("Tasks")));
            QVERIFY2(asked.contains(QStringLiteral("1 are on both sides")) &&
                         asked.contains(QStringLiteral("2 will go to the server")) &&
                         asked.contains(QStringLiteral("1 will come here")),
                     qPrintable(asked));
            QCOMPARE(QFile::exists(syncConfigPath()), answer == QMessageBox::Yes);
        }
    }

    void certificate() {
        RadicaleServer tls(true); // its certificate signed by itself, as home servers' often are
        QVERIFY2(tls.start(), qPrintable(tls.error()));
        const QString shown = Discovery::fingerprintText(tls.fingerprint());
        int answer = QMessageBox::No;
        QString asked;
        jot::setMessageResponderForTests([&](QMessageBox& box) {
            asked = box.text();
            return QMessageBox::StandardButton(answer);
        });
        {
            SyncDialog d(m_home->dataDir(), {}, &m_store);
            d.show();
            // Declined: said, with the fingerprint to compare; nothing kept.
            QVERIFY(connectWith(d, tls.base().toString()));
            QVERIFY2(asked.contains(shown), qPrintable(asked));
            QVERIFY2(status(d).contains(shown), qPrintable(status(d)));
            QVERIFY(shownLists(d).isEmpty());
            // Accepted: the lists come, and the fingerprint is kept with the settings.
            answer = QMessageBox::Yes;
            QVERIFY(clickAndWait(d, "m_connect"));
            QCOMPARE(shownLists(d), (QStringList{QStringLiteral("Tasks"), kNewList}));
            QVERIFY(pick(d, kNewList));
            QString why;
            const auto settings = readSyncSettings(syncConfigPath(), &why);
            QVERIFY2(settings, qPrintable(status(d) + why));
            QCOMPARE(settings->certificate.toLower(), tls.fingerprint());
        }
        // Another certificate, on the same server: refused without a question.
        QFile::remove(tls.certificatePath());
        tls.stop();
        QVERIFY2(tls.start(), qPrintable(tls.error()));
        asked.clear();
        SyncDialog d(m_home->dataDir(), {}, &m_store);
        d.show();
        QTRY_COMPARE(d.findChild<QLineEdit*>(QStringLiteral("m_password"))->text(),
                     RadicaleServer::password());
        QVERIFY(clickAndWait(d, "m_connect"));
        QVERIFY(asked.isEmpty());
        const QString now = Discovery::fingerprintText(tls.fingerprint());
        QVERIFY2(status(d).contains(QStringLiteral("refused")) && status(d).contains(now),
                 qPrintable(status(d)));
    }

    // Removed all the same when the settings are a file it cannot read.
    void stopSyncing() {
        for (const bool readable : {true, false}) {
            const QByteArray tasks = testing::task("milk");
            testing::writeFile(m_home->taskFile(), tasks);
            const QString state = syncStateDir(m_home->dataDir());
            testing::writeFile(state + QStringLiteral("/items"), "kept");
            SyncSettings settings{m_server->list(), QStringLiteral("alice"), {}, {}};
            QVERIFY(readable ? writeSyncSettings(syncConfigPath(), settings, nullptr)
                             : testing::writeFile(syncConfigPath(), "[caldav]\nuser=alice\n"));
            const QString key = passwordKey(settings.user, settings.list);
            m_store.kept.insert(key, QStringLiteral("s3cret"));
            keepForThisRun(key, QStringLiteral("s3cret"));
            SyncDialog d(m_home->dataDir(), {}, &m_store);
            QSignalSpy stopped(&d, &SyncDialog::stopped);
            d.show();
            auto* stop = d.findChild<QPushButton*>(QStringLiteral("m_stop"));
            QVERIFY(stop->isEnabled());
            QVERIFY(clickAndWait(d, "m_stop"));
            QCOMPARE(stopped.count(), 1);
            QVERIFY(!QFile::exists(syncConfigPath()));
            QVERIFY(!QFileInfo::exists(state));
            QCOMPARE(m_store.kept.isEmpty(), readable);
            QCOMPARE(!keptForThisRun(key), readable);
            QCOMPARE(testing::readFile(m_home->taskFile()), tasks);
            QVERIFY(!stop->isEnabled());
            QVERIFY(status(d).contains(QStringLiteral("No task was removed")));
        }
    }

    // The test's session bus is not there: no Secret Service answers, and that is said.
    void noSecretService() {
        jot::KeychainStore store;
        std::optional<PasswordAnswer> answer;
        store.write(QStringLiteral("alice@https://h/"), QStringLiteral("pw"),
                    [&](const PasswordAnswer& a) { answer = a; });
        QTRY_VERIFY(answer);
        QVERIFY(!answer->ok);
        QVERIFY2(answer->noKeyring, qPrintable(answer->error));
    }

    // Without settings the program does not sync; the menu sets it up.
    void fromTheMenu() {
        testing::Program p;
        QVERIFY(!p.child<QAction>("m_syncNow")->isEnabled());
        QTest::qWait(0);
        QVERIFY(!p.main->findChild<QTimer*>("m_syncPeriodic"));
        QVERIFY(!p.main->findChild<DavTransport*>());
        p.trigger("m_syncSetUp");
        auto* d = p.main->findChild<SyncDialog*>();
        QVERIFY(d && d->isVisible() && !d->isModal());
    }
};

QTEST_MAIN(TstSyncDialog)
#include "tst_syncdialog.moc"
