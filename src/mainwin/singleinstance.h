#pragma once

#include <QLockFile>
#include <QObject>
#include <QString>

class QLocalServer;

namespace jot {

// One running program per data directory, so that two never overwrite each other's task
// file: the first holds a lock file there and listens on a local socket named after the
// directory; a later start asks it to show its main window and gives way.
class SingleInstance : public QObject {
    Q_OBJECT
public:
    explicit SingleInstance(const QString& dataDir, QObject* parent = nullptr);
    ~SingleInstance() override;

    // True when this process may run. False when another holds the directory; it has then
    // been asked to show itself.
    bool acquire();

    static QString serverName(const QString& dataDir);

Q_SIGNALS:
    // Another start wants the main window shown.
    void activationRequested();

private:
    void listen();

    QString m_dataDir;
    QLockFile m_lock;
    QLocalServer* m_server = nullptr;
};

} // namespace jot
