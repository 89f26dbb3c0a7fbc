// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QDir>
#include <QTemporaryDir>
#include <csignal>
#include <cstdio>
#include <sys/prctl.h>
#include <sys/stat.h>

// A fresh XDG_DATA_HOME, XDG_CONFIG_HOME and XDG_STATE_HOME for one test, never the user's.
class TempDataHome {
    QTemporaryDir m_dir;

public:
    TempDataHome() {
        qputenv("XDG_DATA_HOME", path().toLocal8Bit());
        qputenv("XDG_CONFIG_HOME", (path() + QStringLiteral("/config")).toLocal8Bit());
        qputenv("XDG_STATE_HOME", (path() + QStringLiteral("/state")).toLocal8Bit());
    }
    QString path() const { return m_dir.path(); }
    QString dataDir() const { return path() + QStringLiteral("/jotlk/"); } // with its '/'
    QString taskFile() const { return dataDir() + QStringLiteral("planifs.txt"); }
};

namespace testing {

inline QByteArray readFile(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

// The permission bits, sticky and set-id ones too; 0 for no file.
inline mode_t modeOf(const QString& path) {
    struct stat st {};
    return ::stat(QFile::encodeName(path).constData(), &st) == 0 ? (st.st_mode & 07777) : 0;
}

inline bool writeFile(const QString& path, const QByteArray& bytes) {
    QDir().mkpath(QFileInfo(path).path());
    QFile f(path);
    return f.open(QIODevice::WriteOnly) && f.write(bytes) == bytes.size();
}

// A line a child process tells its test, at once.
inline void say(const QString& line) {
    std::printf("%s\n", qPrintable(line));
    std::fflush(stdout);
}

// For QProcess::setChildProcessModifier: the child ends with the test, even when it crashes.
inline void endWithParent() {
    ::prctl(PR_SET_PDEATHSIG, SIGKILL);
}

} // namespace testing
