// SPDX-License-Identifier: GPL-3.0-or-later
#include "sync/passwordstore.h"

#include <QHash>

namespace jot::sync {

namespace {
QHash<QString, QString>& runPasswords() {
    static QHash<QString, QString> passwords;
    return passwords;
}
} // namespace

QString passwordKey(const QString& user, const QUrl& list) {
    return user + QLatin1Char('@') + list.toString(QUrl::RemoveUserInfo);
}

void findPassword(PasswordStore& store, const QString& key, PasswordStore::Done done) {
    if (const auto kept = keptForThisRun(key)) {
        PasswordAnswer a;
        a.ok = true;
        a.password = *kept;
        return done(a);
    }
    store.read(key, std::move(done));
}

void keepForThisRun(const QString& key, const QString& password) {
    runPasswords().insert(key, password);
}

std::optional<QString> keptForThisRun(const QString& key) {
    const auto it = runPasswords().constFind(key);
    return it == runPasswords().constEnd() ? std::nullopt : std::optional<QString>(*it);
}

void forgetForThisRun(const QString& key) {
    runPasswords().remove(key);
}

} // namespace jot::sync
