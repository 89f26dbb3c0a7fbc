// SPDX-License-Identifier: GPL-3.0-or-later
#include "store/startoption.h"

#include <QFile>
#include <QFileInfo>

namespace jot {

bool startInTray(const QString& dataDir) {
    // Presence alone counts: the content is never read.
    return QFileInfo::exists(dataDir + kStartOptionFile);
}

bool setStartInTray(const QString& dataDir, bool on) {
    const QString path = dataDir + kStartOptionFile;
    if (!on)
        return !QFileInfo::exists(path) || QFile::remove(path);
    static const QByteArray kContent("\"1\"\r\n");
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        return false;
    // Refused by file systems without Unix modes, where the option still counts.
    file.setPermissions(QFile::ReadOwner | QFile::WriteOwner);
    return file.write(kContent) == kContent.size() && file.flush();
}

} // namespace jot
