// SPDX-License-Identifier: GPL-3.0-or-later
#include "store/datadir.h"

#include "store/taskfile.h"

#include <QCoreApplication>
#include <QCryptographicHash>
#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

namespace jot {

namespace {
QString withSlash(const QString& path) {
    return path.endsWith(QLatin1Char('/')) ? path : path + QLatin1Char('/');
}

constexpr QFile::Permissions kPrivateDir = QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner;

// A directory made by hand or by an older version may be readable by all: it and the
// files in it are made private, since they hold the user's tasks.
void tighten(const QString& dir) {
    QFile::setPermissions(dir, kPrivateDir);
    const QFileInfoList files = QDir(dir).entryInfoList(QDir::Files | QDir::Hidden);
    for (const QFileInfo& file : files) {
        if (!file.isSymLink())
            QFile::setPermissions(file.filePath(), QFile::ReadOwner | QFile::WriteOwner);
    }
}

// Uses the directory or creates it, one level only: the parent must exist. Another start
// may create it between the look and the creation: then it is there to use.
bool useOrCreate(const QString& dir) {
    if (QFileInfo(dir).isDir()) {
        tighten(dir);
        return true;
    }
    return QDir().mkdir(dir, kPrivateDir) || QFileInfo(dir).isDir();
}

// Where the kernel says the program is, as Qt reads it on Linux, but without the application
// object: the data directory is known before it exists.
QString programDir() {
    return QFileInfo(QFileInfo(QStringLiteral("/proc/self/exe")).symLinkTarget()).path();
}
} // namespace

QString dossier_donnees() {
    return dossier_donnees(QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation),
                           programDir());
}

QString dataDirNotice(const QString& dataDir) {
    return dataDirNotice(dataDir,
                         QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation),
                         programDir());
}

QString dataDirNotice(const QString& dataDir, const QString& userDataFolder,
                      const QString& applicationDir) {
    const QString usual = userDataFolder.trimmed().isEmpty()
                              ? QString()
                              : withSlash(userDataFolder) + QStringLiteral("jotlk/");
    // Without a word, the next normal start would show an empty list.
    if (dataDir == usual) {
        const QString left =
            withSlash(applicationDir) + QStringLiteral("jotstore/") + kTaskFileName;
        return QFileInfo::exists(left)
                   ? QCoreApplication::translate(
                         "DataDirNotice",
                         "Tasks saved while your data folder could not be used are in %1.")
                         .arg(left)
                   : QString();
    }
    const QString none = QCoreApplication::translate("DataDirNotice", "(none)");
    if (!QFileInfo(dataDir).isDir())
        return QCoreApplication::translate(
                   "DataDirNotice",
                   "Neither the data folder %1 nor %2 can be made: your tasks cannot be saved, "
                   "Jotlark keeps them only while it runs.")
            .arg(usual.isEmpty() ? none : usual, dataDir);
    return QCoreApplication::translate(
               "DataDirNotice", "The data folder %1 cannot be used: your tasks are kept in %2.")
        .arg(usual.isEmpty() ? none : usual, dataDir);
}

QString dossier_donnees(const QString& userDataFolder, const QString& applicationDir) {
    // A new account may not have its per-user data folder yet; the desktop's rule is to create
    // it, private, rather than to put the tasks elsewhere.
    if (!userDataFolder.trimmed().isEmpty() && !QFileInfo::exists(userDataFolder) &&
        QDir().mkpath(userDataFolder))
        QFile::setPermissions(userDataFolder, kPrivateDir);
    if (!userDataFolder.trimmed().isEmpty()) {
        const QString dir = withSlash(userDataFolder) + QStringLiteral("jotlk");
        if (useOrCreate(dir))
            return withSlash(dir);
    }
    // The data then stay beside the program, even when this cannot be created either: the
    // start says so (dataDirNotice()), and so do the failed saves.
    const QString dir = withSlash(applicationDir) + QStringLiteral("jotstore");
    useOrCreate(dir);
    return withSlash(dir);
}

} // namespace jot

namespace jot {

QString dataDirHash(const QString& dataDir) {
    const QFileInfo info(dataDir);
    const QString path =
        info.exists() ? info.canonicalFilePath() : QDir::cleanPath(info.absoluteFilePath());
    const QByteArray hash = QCryptographicHash::hash(path.toUtf8(), QCryptographicHash::Sha1);
    return QString::fromLatin1(hash.toHex().left(20));
}

} // namespace jot
