// SPDX-License-Identifier: GPL-3.0-or-later
// Where the sync finds its password when sync.conf names no command.
#include "common/fakepasswordstore.h"

#include <QTest>

class TestPasswordStore : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void findPassword_data() {
        QTest::addColumn<bool>("keyring");
        QTest::addColumn<QString>("inKeyring");
        QTest::addColumn<QString>("keptForRun");
        QTest::addColumn<bool>("ok");
        QTest::addColumn<QString>("password");
        QTest::newRow("in the keyring") << true << "k"
                                        << "" << true << "k";
        QTest::newRow("kept for this run first") << false << ""
                                                 << "r" << true << "r";
        QTest::newRow("nowhere: asked again") << true << ""
                                              << "" << false << "";
        QTest::newRow("no keyring, nothing kept") << false << ""
                                                  << "" << false << "";
    }
    void findPassword() {
        QFETCH(bool, keyring);
        QFETCH(QString, inKeyring);
        QFETCH(QString, keptForRun);
        const QString key = jot::sync::passwordKey(QStringLiteral("alice"),
                                                   QUrl(QStringLiteral("https://h/alice/t/")));
        FakePasswordStore store;
        store.keyring = keyring;
        if (!inKeyring.isEmpty())
            store.kept.insert(key, inKeyring);
        jot::sync::forgetForThisRun(key);
        if (!keptForRun.isEmpty())
            jot::sync::keepForThisRun(key, keptForRun);
        std::optional<jot::sync::PasswordAnswer> answer;
        jot::sync::findPassword(store, key,
                                [&](const jot::sync::PasswordAnswer& a) { answer = a; });
        QTRY_VERIFY(answer);
        QTEST(answer->ok, "ok");
        QTEST(answer->password, "password");
        QCOMPARE(answer->noKeyring, !answer->ok && !keyring);
    }
};

QTEST_GUILESS_MAIN(TestPasswordStore)
#include "tst_passwordstore.moc"
