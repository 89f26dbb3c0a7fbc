#pragma once

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QtGlobal>

// A fresh XDG_DATA_HOME and XDG_CONFIG_HOME for one test: the program's data directory and
// its autostart entry land inside it.
class TempDataHome {
public:
    TempDataHome() {
        qputenv("XDG_DATA_HOME", m_dir.path().toLocal8Bit());
        qputenv("XDG_CONFIG_HOME", configHome().toLocal8Bit());
    }
    bool isValid() const { return m_dir.isValid(); }
    QString path() const { return m_dir.path(); }
    // Where the program keeps its files, with the trailing '/'.
    QString dataDir() const { return m_dir.path() + QStringLiteral("/jotlk/"); }
    QString taskFile() const { return dataDir() + QStringLiteral("planifs.txt"); }
    QString configHome() const { return m_dir.path() + QStringLiteral("/config"); }

private:
    QTemporaryDir m_dir;
};

namespace testing {

inline QByteArray readFile(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

inline bool writeFile(const QString& path, const QByteArray& bytes) {
    QDir().mkpath(QFileInfo(path).path());
    QFile f(path);
    return f.open(QIODevice::WriteOnly) && f.write(bytes) == bytes.size();
}

} // namespace testing
