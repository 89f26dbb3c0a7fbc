#pragma once

#include <QDir>
#include <QTemporaryDir>
#include <QtGlobal>

// A fresh XDG_DATA_HOME for one test: the program's data directory lands inside it.
class TempDataHome {
public:
    TempDataHome() { qputenv("XDG_DATA_HOME", m_dir.path().toLocal8Bit()); }
    bool isValid() const { return m_dir.isValid(); }
    QString path() const { return m_dir.path(); }
    // Where the program keeps its files, with the trailing '/'.
    QString dataDir() const { return m_dir.path() + QStringLiteral("/jotlk/"); }
    QString taskFile() const { return dataDir() + QStringLiteral("planifs.txt"); }

private:
    QTemporaryDir m_dir;
};
