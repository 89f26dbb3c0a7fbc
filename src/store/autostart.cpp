// SPDX-License-Identifier: GPL-3.0-or-later
#include "store/autostart.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QStandardPaths>
#include <algorithm>

namespace jot {

namespace {

// A string value: a reader undoes these escapes first.
QString stringValue(const QString& text) {
    QString value;
    for (const QChar c : text) {
        if (c == QLatin1Char('\\'))
            value += QStringLiteral("\\\\");
        else if (c == QLatin1Char('\n'))
            value += QStringLiteral("\\n");
        else if (c == QLatin1Char('\t'))
            value += QStringLiteral("\\t");
        else if (c == QLatin1Char('\r'))
            value += QStringLiteral("\\r");
        else
            value += c;
    }
    return value;
}

// The Exec value that runs `program` with no arguments. A path holding a character the
// desktop entry format reserves is quoted, with ", `, $ and \ escaped inside the quotes;
// '%' would start a field code. The string escapes are applied last, since a reader undoes
// them first: a backslash in a quoted path ends up as four.
QString execValue(const QString& program) {
    static const QString kReserved = QStringLiteral(" \t\n\"'\\><~|&;$*?#()`");
    QString arg = program;
    if (std::any_of(arg.cbegin(), arg.cend(), [](QChar c) { return kReserved.contains(c); })) {
        QString quoted;
        for (const QChar c : arg) {
            if (QStringLiteral("\"`$\\").contains(c))
                quoted += QLatin1Char('\\');
            quoted += c;
        }
        arg = QLatin1Char('"') + quoted + QLatin1Char('"');
    }
    arg.replace(QLatin1Char('%'), QStringLiteral("%%"));
    return stringValue(arg);
}

} // namespace

QString autostartPath() {
    return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) +
           QStringLiteral("/autostart/") + kAutostartFile;
}

bool startsAtLogIn() {
    return QFileInfo::exists(autostartPath());
}

bool setStartAtLogIn(bool on, const QString& executable) {
    const QString path = autostartPath();
    if (!on)
        return !QFileInfo::exists(path) || QFile::remove(path);
    const QByteArray entry = "[Desktop Entry]\n"
                             "Type=Application\n"
                             "Name=Jotlark\n"
                             "Comment=Keep up to 100 tasks as sticky notes, with alarms\n"
                             "Exec=" +
                             execValue(executable).toUtf8() +
                             "\n"
                             // Once the program is removed, desktops skip the entry.
                             "TryExec=" +
                             stringValue(executable).toUtf8() +
                             "\n"
                             "Icon=" JOT_APP_ID "\n"
                             "Terminal=false\n";
    QSaveFile file(path);
    if (!QDir().mkpath(QFileInfo(path).path()) || !file.open(QIODevice::WriteOnly) ||
        file.write(entry) != entry.size())
        return false; // the QSaveFile leaves nothing behind
    return file.commit();
}

} // namespace jot
