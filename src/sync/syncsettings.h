// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <QUrl>
#include <optional>

// Where sync is set up: $XDG_CONFIG_HOME/jotlark/sync.conf, group [caldav].
namespace jot::sync {

struct SyncSettings {
    QUrl list; // the task list's full address
    QString user;
    QStringList passwordCommand; // program and arguments; empty: the desktop's keyring
    QByteArray certificate;      // accepted SHA-256 of an untrusted certificate, hex
};

QString syncConfigPath();
// The settings, or nothing with the reason in `why` (no file: an empty reason).
std::optional<SyncSettings> readSyncSettings(const QString& path, QString* why);
bool writeSyncSettings(const QString& path, const SyncSettings& settings, QString* why); // 0600

// A command line split at spaces outside double quotes.
QStringList splitCommand(const QString& line);
// Why the address cannot be used (https is required except on loopback); empty when it can.
QString addressProblem(const QUrl& url);

// $XDG_STATE_HOME/jotlark/sync-HASH for the data folder, HASH the lock's.
QString syncStateDir(const QString& dataDir);

} // namespace jot::sync
