// SPDX-License-Identifier: GPL-3.0-or-later
#include "layout/noteplaces.h"

#include "store/datadir.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QSaveFile>
#include <QTextStream>

namespace jot {

namespace {

// One line per value: line breaks and backslashes escaped, so that a task's text of many
// lines stays one value.
QString escaped(const QString& s) {
    QString out;
    out.reserve(s.size());
    for (const QChar c : s) {
        if (c == u'\\')
            out += QStringLiteral("\\\\");
        else if (c == u'\n')
            out += QStringLiteral("\\n");
        else if (c == u'\r')
            out += QStringLiteral("\\r");
        else
            out += c;
    }
    return out;
}

QString unescaped(const QString& s) {
    QString out;
    out.reserve(s.size());
    for (qsizetype i = 0; i < s.size(); ++i) {
        if (s[i] != u'\\' || i + 1 == s.size()) {
            out += s[i];
            continue;
        }
        const QChar n = s[++i];
        out += n == u'n' ? QChar(u'\n') : n == u'r' ? QChar(u'\r') : n;
    }
    return out;
}

// "x,y" or "w,h": two whole numbers.
bool pairOf(const QString& s, int& a, int& b) {
    const QStringList parts = s.split(u',');
    bool okA = false;
    bool okB = false;
    if (parts.size() == 2) {
        a = parts[0].trimmed().toInt(&okA);
        b = parts[1].trimmed().toInt(&okB);
    }
    return okA && okB;
}

} // namespace

QString notePlacesPath(const QString& dataDir) {
    QString state = qEnvironmentVariable("XDG_STATE_HOME");
    if (!QDir::isAbsolutePath(state))
        state = QDir::homePath() + QStringLiteral("/.local/state");
    return QDir::cleanPath(state) + QStringLiteral("/jotlark/notes-") + dataDirHash(dataDir) +
           QStringLiteral(".ini");
}

QList<NotePlace> readNotePlaces(const QString& path) {
    QFile file(path);
    QList<NotePlace> places;
    if (!file.open(QIODevice::ReadOnly | QIODevice::Text))
        return places;
    QTextStream in(&file);
    bool inEntry = false;
    NotePlace p;
    const auto finish = [&] {
        if (inEntry && !p.stamp.isEmpty())
            places.append(p);
        p = NotePlace();
    };
    while (!in.atEnd()) {
        const QString line = in.readLine();
        if (line.startsWith(u'[')) {
            finish();
            inEntry = line.trimmed() == QLatin1String("[note]");
            continue;
        }
        const qsizetype eq = line.indexOf(u'=');
        if (!inEntry || eq < 0)
            continue;
        const QString key = line.left(eq).trimmed();
        const QString value = line.mid(eq + 1);
        int a = 0;
        int b = 0;
        if (key == QLatin1String("stamp"))
            p.stamp = unescaped(value);
        else if (key == QLatin1String("text"))
            p.text = unescaped(value);
        else if (key == QLatin1String("place") && pairOf(value, a, b))
            p.placed = true, p.place = QPoint(a, b);
        else if (key == QLatin1String("size") && pairOf(value, a, b) && a > 0 && b > 0)
            p.size = QSize(a, b);
        else if (key == QLatin1String("open"))
            p.open = value.trimmed() == QLatin1String("true");
    }
    finish();
    return places;
}

bool writeNotePlaces(const QString& path, const QList<NotePlace>& places) {
    if (!QDir().mkpath(QFileInfo(path).path()))
        return false;
    QString text;
    for (const NotePlace& p : places) {
        text += QStringLiteral("[note]\nstamp=") + escaped(p.stamp) + QStringLiteral("\ntext=") +
                escaped(p.text) + u'\n';
        if (p.placed)
            text += QStringLiteral("place=%1,%2\n").arg(p.place.x()).arg(p.place.y());
        if (p.size.isValid())
            text += QStringLiteral("size=%1,%2\n").arg(p.size.width()).arg(p.size.height());
        text += QStringLiteral("open=") +
                (p.open ? QStringLiteral("true\n\n") : QStringLiteral("false\n\n"));
    }
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return false;
    // Before a byte goes in: where it tells where someone works, it is theirs alone.
    if (!file.setPermissions(QFile::ReadOwner | QFile::WriteOwner))
        return false; // the QSaveFile leaves nothing behind
    const QByteArray bytes = text.toUtf8();
    if (file.write(bytes) != bytes.size())
        return false;
    return file.commit();
}

QList<int> matchNotePlaces(const QList<NotePlace>& places,
                           const QList<std::pair<QString, QString>>& tasks) {
    QHash<std::pair<QString, QString>, QList<int>> byTask; // entries of each task, in order
    for (int i = 0; i < places.size(); ++i)
        byTask[{places[i].stamp, places[i].text}].append(i);
    QHash<std::pair<QString, QString>, int> taken;
    QList<int> match;
    match.reserve(tasks.size());
    for (const auto& task : tasks) {
        const QList<int> entries = byTask.value(task);
        const int n = taken[task]++;
        match.append(n < entries.size() ? entries[n] : -1);
    }
    return match;
}

} // namespace jot
