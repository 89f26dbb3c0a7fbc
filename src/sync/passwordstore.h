// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <QUrl>
#include <functional>
#include <optional>

// Where the sync's password is kept: the desktop's keyring (the Secret Service) in the
// program, a fake in tests. Every call answers later, once, through `done`: a keyring may ask
// the user to unlock it first.
namespace jot::sync {

struct PasswordAnswer {
    bool ok = false;        // read: found; write and remove: done
    QString password;       // what read found
    bool noKeyring = false; // no keyring answers on this desktop
    QString error;          // in words, when not ok
};

class PasswordStore {
public:
    using Done = std::function<void(const PasswordAnswer&)>;
    virtual ~PasswordStore() = default;
    virtual void read(const QString& key, Done done) = 0;
    virtual void write(const QString& key, const QString& password, Done done) = 0;
    virtual void remove(const QString& key, Done done) = 0;
};

// The key a password is kept under: the user at the list's address.
QString passwordKey(const QString& user, const QUrl& list);

// The password of a sync set up without a password command: the one kept for this run, else
// the keyring's. Not ok when the user has to type it again (noKeyring: none answers).
void findPassword(PasswordStore& store, const QString& key, PasswordStore::Done done);

// Without a keyring a password is kept in memory until the program ends.
void keepForThisRun(const QString& key, const QString& password);
std::optional<QString> keptForThisRun(const QString& key);
void forgetForThisRun(const QString& key);

} // namespace jot::sync
