// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QDateTime>
#include <QString>
#include <QStringList>

namespace jot {

// The copies of planifs.txt kept beside it: planifs.txt.KIND-yyyyMMdd-hhmmss, with "-2", "-3"
// and so on when one of that second exists. Kinds: "unreadable" (a file not read completely),
// "changed" (another writer's version, merged), "conflict" (this machine's version that a
// sync tool set aside, merged).
QString keptCopyPath(const QString& dir, const QString& kind, const QDateTime& when);

// Moves `file` to a kept copy of `kind` in `dir`, private, and prunes the older ones of that
// kind; the copy's path, or empty when it could not be moved.
QString moveToKeptCopy(const QString& dir, const QString& file, const QString& kind,
                       const QDateTime& when);

// The changed and conflict copies are made at every sync: only the newest of each kind stay.
// Unreadable copies are all kept.
constexpr int kKeptCopies = 10;
void pruneKeptCopies(const QString& dir, const QString& kind);

// The copies of planifs.txt that sync tools make when two machines changed it at once, in the
// folder `dir` (with its trailing '/'): Syncthing's "planifs.sync-conflict-DATE-TIME-DEVICE.txt",
// Nextcloud's "planifs (conflicted copy DATE TIME).txt" and Dropbox's
// "planifs (HOST's conflicted copy DATE).txt", the last two with an optional " (N)". File
// names, oldest name first.
QStringList conflictCopies(const QString& dir);

} // namespace jot
