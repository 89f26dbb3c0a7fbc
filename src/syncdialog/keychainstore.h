// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "sync/passwordstore.h"

// The sync's password in the desktop's Secret Service, through QtKeychain; never in a plain
// file (QtKeychain's insecure fallback stays off).
namespace jot {

class KeychainStore : public sync::PasswordStore {
public:
    void read(const QString& key, Done done) override;
    void write(const QString& key, const QString& password, Done done) override;
    void remove(const QString& key, Done done) override;
};

// The one the program uses: the set-up writes to it, the sync reads from it.
sync::PasswordStore& desktopKeyring();

} // namespace jot
