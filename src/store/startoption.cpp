// SPDX-License-Identifier: GPL-3.0-or-later
#include "store/startoption.h"

#include <QFile>
#include <QFileInfo>

namespace jot {

bool startInTray(const QString& dataDir) {
    // Presence alone counts: the content is never read.
    return QFileInfo::exists(dataDir + kStartOptionFile);
}

namespace {

// A marker file: present means `on`, whatever it holds.
bool writeMarker(const QString& path, bool on, const QByteArray& content) {
    if (!on)
        return !QFileInfo::exists(path) || QFile::remove(path);
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        return false;
    // Refused by file systems without Unix modes, where the option still counts.
    file.setPermissions(QFile::ReadOwner | QFile::WriteOwner);
    return file.write(content) == content.size() && file.flush();
}

} // namespace

bool setStartInTray(const QString& dataDir, bool on) {
    return writeMarker(dataDir + kStartOptionFile, on, QByteArrayLiteral("\"1\"\r\n"));
}

bool playsSound(const QString& dataDir) {
    return !QFileInfo::exists(dataDir + kNoSoundFile);
}

bool setPlaysSound(const QString& dataDir, bool on) {
    return writeMarker(dataDir + kNoSoundFile, !on, {});
}

bool hasMarker(const QString& dataDir, const QString& name) {
    return QFileInfo::exists(dataDir + name);
}

bool setMarker(const QString& dataDir, const QString& name, bool on) {
    return writeMarker(dataDir + name, on, {});
}

} // namespace jot
