// SPDX-License-Identifier: GPL-3.0-or-later
#include "sync/passwordcommand.h"

#include <QCoreApplication>
#include <QProcess>
#include <QTimer>

namespace jot::sync {

namespace {

QString tr(const char* text) {
    return QCoreApplication::translate("SyncSettings", text);
}

// What an ended command gave: its first line, or why there is none.
std::optional<QString> passwordOf(QProcess& process, QString* why) {
    if (process.exitStatus() != QProcess::NormalExit || process.exitCode() != 0) {
        *why = tr("The password command failed: %1")
                   .arg(QString::fromLocal8Bit(process.readAllStandardError())
                            .section(u'\n', 0, 0)
                            .trimmed());
        return {};
    }
    const QByteArray out = process.readAllStandardOutput();
    QString line = QString::fromLocal8Bit(out.left(out.indexOf('\n')));
    if (line.endsWith(u'\r'))
        line.chop(1);
    if (line.isEmpty()) {
        *why = tr("The password command printed no password.");
        return {};
    }
    return line;
}

QString notStarted(const QProcess& process) {
    return tr("The password command cannot be run: %1").arg(process.errorString());
}

QString tooSlow() {
    return tr("The password command gave no answer in %1 s.").arg(kPasswordCommandMs / 1000);
}

QString noCommand() {
    return tr("No password command is set.");
}

} // namespace

PasswordCommand::PasswordCommand(QObject* parent) : QObject(parent) {}

PasswordCommand::~PasswordCommand() {
    if (m_process) {
        m_process->disconnect(this);
        m_process->kill();
        m_process->waitForFinished(1000);
    }
}

void PasswordCommand::start(const QStringList& command) {
    if (command.isEmpty() || m_process) {
        // Told after start() returns, as for a command that runs.
        QTimer::singleShot(0, this, [this] { Q_EMIT finished({}, noCommand()); });
        return;
    }
    m_process = new QProcess(this);
    m_process->setProgram(command.first());
    m_process->setArguments(command.mid(1));
    auto* timeout = new QTimer(m_process);
    timeout->setSingleShot(true);
    connect(timeout, &QTimer::timeout, this, [this] {
        m_process->disconnect(this);
        m_process->kill();
        end({}, tooSlow());
    });
    connect(m_process, &QProcess::errorOccurred, this, [this](QProcess::ProcessError error) {
        if (error == QProcess::FailedToStart)
            end({}, notStarted(*m_process));
    });
    connect(m_process, &QProcess::finished, this, [this] {
        QString why;
        const std::optional<QString> password = passwordOf(*m_process, &why);
        end(password, why);
    });
    timeout->start(kPasswordCommandMs);
    m_process->start(QIODevice::ReadOnly);
}

void PasswordCommand::end(const std::optional<QString>& password, const QString& why) {
    QProcess* process = m_process;
    m_process = nullptr;
    process->disconnect(this);
    process->deleteLater();
    Q_EMIT finished(password.value_or(QString()), why);
}

} // namespace jot::sync
