// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "sync/passwordstore.h"

#include <QtCore>

// A keyring in memory, answering later as the real one does; `keyring` false plays a desktop
// without a Secret Service.
class FakePasswordStore : public jot::sync::PasswordStore {
public:
    QHash<QString, QString> kept;
    bool keyring = true;

    void read(const QString& key, Done done) override {
        answer(done, kept.contains(key), kept.value(key));
    }
    void write(const QString& key, const QString& password, Done done) override {
        if (keyring)
            kept.insert(key, password);
        answer(done);
    }
    void remove(const QString& key, Done done) override {
        kept.remove(key);
        answer(done);
    }

private:
    void answer(const Done& done, bool ok = true, const QString& password = {}) const {
        const jot::sync::PasswordAnswer a{ok && keyring, password, !keyring,
                                          keyring ? QString()
                                                  : QStringLiteral("No Secret Service")};
        QMetaObject::invokeMethod(
            qApp, [done, a] { done(a); }, Qt::QueuedConnection);
    }
};
