// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "sync/passwordstore.h"

#include <QCoreApplication>
#include <QHash>
#include <QMetaObject>

// A keyring in memory, answering later as the real one does; `keyring` false plays a desktop
// without a Secret Service.
class FakePasswordStore : public jot::sync::PasswordStore {
public:
    QHash<QString, QString> kept;
    bool keyring = true;

    void read(const QString& key, Done done) override {
        jot::sync::PasswordAnswer a = base();
        a.ok = keyring && kept.contains(key);
        a.password = kept.value(key);
        later(done, a);
    }
    void write(const QString& key, const QString& password, Done done) override {
        if (keyring)
            kept.insert(key, password);
        later(done, base());
    }
    void remove(const QString& key, Done done) override {
        kept.remove(key);
        later(done, base());
    }

private:
    jot::sync::PasswordAnswer base() const {
        jot::sync::PasswordAnswer a;
        a.ok = keyring;
        a.noKeyring = !keyring;
        if (!keyring)
            a.error = QStringLiteral("No Secret Service");
        return a;
    }
    static void later(const Done& done, const jot::sync::PasswordAnswer& a) {
        QMetaObject::invokeMethod(
            qApp, [done, a] { done(a); }, Qt::QueuedConnection);
    }
};
