#include "store/datadir.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

namespace jot {

namespace {
QString withSlash(const QString& path) {
    return path.endsWith(QLatin1Char('/')) ? path : path + QLatin1Char('/');
}

// Uses the directory or creates it, one level only: the parent must exist. Created private,
// since it holds the user's tasks.
bool useOrCreate(const QString& dir) {
    if (QFileInfo(dir).isDir())
        return true;
    return QDir().mkdir(dir, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
}
} // namespace

QString dossier_donnees() {
    return dossier_donnees(QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation),
                           QCoreApplication::applicationDirPath());
}

QString dossier_donnees(const QString& userDataFolder, const QString& applicationDir) {
    // A new account may not have its per-user data folder yet; the desktop's rule is to create
    // it, private, rather than to put the tasks elsewhere.
    if (!userDataFolder.trimmed().isEmpty() && !QFileInfo::exists(userDataFolder) &&
        QDir().mkpath(userDataFolder))
        QFile::setPermissions(userDataFolder,
                              QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    if (!userDataFolder.trimmed().isEmpty()) {
        const QString dir = withSlash(userDataFolder) + QStringLiteral("jotlk");
        if (useOrCreate(dir))
            return withSlash(dir);
    }
    // The data then stay beside the program, even when this cannot be created either: the
    // failed saves will say so.
    const QString dir = withSlash(applicationDir) + QStringLiteral("jotstore");
    useOrCreate(dir);
    return withSlash(dir);
}

} // namespace jot
