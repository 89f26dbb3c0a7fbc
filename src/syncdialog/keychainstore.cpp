// SPDX-License-Identifier: GPL-3.0-or-later
#include "syncdialog/keychainstore.h"

#include <qt6keychain/keychain.h>

namespace jot {

namespace {

const QString kService = QStringLiteral(JOT_APP_ID ".sync");

sync::PasswordAnswer answerOf(const QKeychain::Job& job) {
    sync::PasswordAnswer a;
    a.ok = job.error() == QKeychain::NoError;
    // Without a Secret Service QtKeychain fails in more than one way, depending on what of the
    // session bus is there: any failure but a refusal or a missing entry means no keyring.
    a.noKeyring = !a.ok && job.error() != QKeychain::EntryNotFound &&
                  job.error() != QKeychain::AccessDeniedByUser;
    if (!a.ok)
        a.error = job.errorString();
    return a;
}

template <typename JobType>
JobType* startJob(const QString& key, sync::PasswordStore::Done done,
                  std::function<void(JobType*, sync::PasswordAnswer&)> more = {}) {
    auto* job = new JobType(kService);
    job->setAutoDelete(true);
    job->setInsecureFallback(false);
    job->setKey(key);
    QObject::connect(job, &QKeychain::Job::finished, job, [job, done, more] {
        sync::PasswordAnswer a = answerOf(*job);
        if (more)
            more(job, a);
        done(a);
    });
    return job;
}

} // namespace

sync::PasswordStore& desktopKeyring() {
    static KeychainStore store;
    return store;
}

void KeychainStore::read(const QString& key, Done done) {
    startJob<QKeychain::ReadPasswordJob>(
        key, std::move(done),
        [](QKeychain::ReadPasswordJob* job, sync::PasswordAnswer& a) {
            a.password = job->textData();
        })
        ->start();
}

void KeychainStore::write(const QString& key, const QString& password, Done done) {
    auto* job = startJob<QKeychain::WritePasswordJob>(key, std::move(done));
    job->setTextData(password);
    job->start();
}

void KeychainStore::remove(const QString& key, Done done) {
    startJob<QKeychain::DeletePasswordJob>(
        key, std::move(done),
        [](QKeychain::DeletePasswordJob* job, sync::PasswordAnswer& a) {
            // Nothing to remove is as good as removed.
            if (job->error() == QKeychain::EntryNotFound)
                a.ok = true;
        })
        ->start();
}

} // namespace jot
