// SPDX-License-Identifier: GPL-3.0-or-later
#include "store/keptcopies.h"

#include "store/taskfile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <algorithm>

namespace jot {

QString keptCopyPath(const QString& dir, const QString& kind, const QDateTime& when) {
    const QString base =
        dir + kTaskFileName + u'.' + kind + u'-' + when.toString(QStringLiteral("yyyyMMdd-HHmmss"));
    QString copy = base;
    for (int n = 2; QFileInfo::exists(copy) || QFileInfo(copy).isSymLink(); ++n)
        copy = base + u'-' + QString::number(n);
    return copy;
}

QString moveToKeptCopy(const QString& dir, const QString& file, const QString& kind,
                       const QDateTime& when) {
    const QString copy = keptCopyPath(dir, kind, when);
    if (!QFile::rename(file, copy))
        return {};
    QFile::setPermissions(copy, QFile::ReadOwner | QFile::WriteOwner);
    pruneKeptCopies(dir, kind);
    return copy;
}

void pruneKeptCopies(const QString& dir, const QString& kind) {
    if (kind == u"unreadable")
        return; // what could not be read is nowhere else
    const QRegularExpression kept(QRegularExpression::anchoredPattern(
        QRegularExpression::escape(kTaskFileName + u'.' + kind) +
        QStringLiteral("-(\\d{8}-\\d{6})(?:-(\\d+))?")));
    struct Copy {
        QString name, stamp;
        int n;
    };
    QList<Copy> copies;
    const QStringList names = QDir(dir).entryList(QDir::Files | QDir::Hidden | QDir::System);
    for (const QString& name : names) {
        const QRegularExpressionMatch m = kept.match(name);
        if (m.hasMatch())
            copies.append(
                {name, m.captured(1), m.captured(2).isEmpty() ? 1 : m.captured(2).toInt()});
    }
    if (copies.size() <= kKeptCopies)
        return;
    std::sort(copies.begin(), copies.end(), [](const Copy& a, const Copy& b) {
        return a.stamp != b.stamp ? a.stamp > b.stamp : a.n > b.n;
    });
    for (qsizetype i = kKeptCopies; i < copies.size(); ++i)
        QFile::remove(dir + copies[i].name);
}

QStringList conflictCopies(const QString& dir) {
    static const QRegularExpression conflict(QRegularExpression::anchoredPattern(
        QStringLiteral("planifs(?:\\.sync-conflict-\\d{8}-\\d{6}-[^./]+"
                       "| \\(conflicted copy \\d{4}-\\d{2}-\\d{2} \\d{6}\\)(?: \\(\\d+\\))?"
                       "| \\(.+'s conflicted copy \\d{4}-\\d{2}-\\d{2}(?: \\(\\d+\\))?\\))"
                       "\\.txt")));
    QStringList found;
    const QStringList names =
        QDir(dir).entryList({QStringLiteral("planifs*.txt")}, QDir::Files, QDir::Name);
    for (const QString& name : names) {
        if (conflict.match(name).hasMatch())
            found.append(name);
    }
    return found;
}

} // namespace jot
