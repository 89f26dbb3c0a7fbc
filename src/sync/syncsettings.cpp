// SPDX-License-Identifier: GPL-3.0-or-later
#include "sync/syncsettings.h"

#include "store/datadir.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSettings>
#include <QStandardPaths>

namespace jot::sync {

namespace {

QString tr(const char* text) {
    return QCoreApplication::translate("SyncSettings", text);
}

// QSettings reads an unquoted value with commas as a list: it was one text.
QString oneText(const QVariant& value) {
    return value.metaType().id() == QMetaType::QStringList ? value.toStringList().join(u',')
                                                           : value.toString();
}

QString joinCommand(const QStringList& args) {
    QStringList quoted;
    for (const QString& arg : args)
        quoted.append(arg.isEmpty() || arg.contains(u' ') ? u'"' + arg + u'"' : arg);
    return quoted.join(u' ');
}

bool isLoopback(const QString& host) {
    if (host.compare(u"localhost", Qt::CaseInsensitive) == 0 || host == u"::1")
        return true;
    const QStringList parts = host.split(u'.');
    if (parts.size() != 4 || parts[0] != u"127")
        return false;
    for (const QString& part : parts) {
        bool ok = false;
        const int n = part.toInt(&ok);
        if (!ok || n < 0 || n > 255)
            return false;
    }
    return true;
}

} // namespace

QString syncConfigPath() {
    return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) +
           QStringLiteral("/jotlark/sync.conf");
}

std::optional<SyncSettings> readSyncSettings(const QString& path, QString* why) {
    if (why)
        why->clear();
    if (!QFileInfo::exists(path))
        return {};
    QSettings file(path, QSettings::IniFormat);
    if (file.status() != QSettings::NoError) {
        if (why)
            *why = tr("%1 cannot be read.").arg(path);
        return {};
    }
    file.beginGroup(QStringLiteral("caldav"));
    SyncSettings settings;
    settings.list = QUrl(oneText(file.value(QStringLiteral("list"))).trimmed());
    settings.user = oneText(file.value(QStringLiteral("user")));
    settings.passwordCommand = splitCommand(oneText(file.value(QStringLiteral("passwordCommand"))));
    settings.certificate = oneText(file.value(QStringLiteral("certificate"))).trimmed().toLatin1();
    QString problem = settings.list.isEmpty() ? tr("%1 names no task list.").arg(path)
                                              : addressProblem(settings.list);
    if (!problem.isEmpty()) {
        if (why)
            *why = problem;
        return {};
    }
    return settings;
}

bool writeSyncSettings(const QString& path, const SyncSettings& settings, QString* why) {
    const QString dir = QFileInfo(path).absolutePath();
    constexpr QFile::Permissions kPrivate = QFile::ReadOwner | QFile::WriteOwner;
    // Private from its first byte: QSettings replaces the file keeping its permissions.
    QFile file(path);
    if (!QDir().mkpath(dir) || (!file.exists() && !file.open(QIODevice::WriteOnly, kPrivate))) {
        if (why)
            *why = tr("%1 cannot be written: %2").arg(path, file.errorString());
        return false;
    }
    file.close();
    {
        QSettings out(path, QSettings::IniFormat);
        out.beginGroup(QStringLiteral("caldav"));
        out.setValue(QStringLiteral("list"), settings.list.toString());
        out.setValue(QStringLiteral("user"), settings.user);
        if (settings.passwordCommand.isEmpty())
            out.remove(QStringLiteral("passwordCommand"));
        else
            out.setValue(QStringLiteral("passwordCommand"), joinCommand(settings.passwordCommand));
        if (settings.certificate.isEmpty())
            out.remove(QStringLiteral("certificate"));
        else
            out.setValue(QStringLiteral("certificate"), QString::fromLatin1(settings.certificate));
        out.endGroup();
        out.sync();
        if (out.status() != QSettings::NoError) {
            if (why)
                *why = tr("%1 cannot be written.").arg(path);
            return false;
        }
    }
    if (!QFile::setPermissions(path, kPrivate)) {
        if (why)
            *why = tr("%1 cannot be made private.").arg(path);
        return false;
    }
    return true;
}

QStringList splitCommand(const QString& line) {
    QStringList args;
    QString arg;
    bool quoted = false, started = false;
    for (const QChar c : line) {
        if (c == u'"') {
            quoted = !quoted;
            started = true;
        } else if (c == u' ' && !quoted) {
            if (started)
                args.append(arg);
            arg.clear();
            started = false;
        } else {
            arg += c;
            started = true;
        }
    }
    if (started)
        args.append(arg);
    return args;
}

QString addressProblem(const QUrl& url) {
    if (!url.isValid() || url.host().isEmpty())
        return tr("%1 is not a server address.").arg(url.toString());
    const QString scheme = url.scheme().toLower();
    if (scheme == u"https" || (scheme == u"http" && isLoopback(url.host())))
        return {};
    return tr("%1 is not an https address: the password would travel readable.")
        .arg(url.toDisplayString());
}

QString syncStateDir(const QString& dataDir) {
    QString base = qEnvironmentVariable("XDG_STATE_HOME");
    // XDG base directories ignore a relative path, as Qt does for the other ones.
    if (base.isEmpty() || QDir::isRelativePath(base))
        base = QDir::homePath() + QStringLiteral("/.local/state");
    return base + QStringLiteral("/jotlark/sync-") + dataDirHash(dataDir);
}

} // namespace jot::sync
