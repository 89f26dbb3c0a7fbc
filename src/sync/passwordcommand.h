// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QObject>
#include <QString>
#include <QStringList>
#include <optional>

class QProcess;

// The password sync.conf's passwordCommand prints on its first line, the command run without
// a shell. It may wait for a passphrase or a hardware key: kPasswordCommandMs at most.
namespace jot::sync {

constexpr int kPasswordCommandMs = 20000;

// Runs the command without waiting for it: finished() follows start() once, with the password,
// or an empty one and the reason when the command cannot run, fails, prints nothing or has not
// ended in time.
class PasswordCommand : public QObject {
    Q_OBJECT
public:
    explicit PasswordCommand(QObject* parent = nullptr);
    ~PasswordCommand() override;
    void start(const QStringList& command);

Q_SIGNALS:
    // The password, or an empty one with the reason.
    void finished(const QString& password, const QString& why);

private:
    void end(const std::optional<QString>& password, const QString& why);
    QProcess* m_process = nullptr;
};

} // namespace jot::sync
