// SPDX-License-Identifier: GPL-3.0-or-later
#include "sync/syncstate.h"

#include "calendar/calendaritem.h"
#include "store/clock.h"

#include <QCoreApplication>
#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QSaveFile>
#include <fcntl.h>
#include <unistd.h>

namespace jot::sync {

namespace {

constexpr QFile::Permissions kPrivateDir = QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner;
constexpr QFile::Permissions kPrivateFile = QFile::ReadOwner | QFile::WriteOwner;
const QString kListFile = QStringLiteral("list.json");
const QString kItemsDir = QStringLiteral("items");

QString tr(const char* text) {
    return QCoreApplication::translate("SyncState", text);
}

// UIDs are the server's text: a hash makes them file names.
QString fileOf(const QString& uid) {
    return QString::fromLatin1(
               QCryptographicHash::hash(uid.toUtf8(), QCryptographicHash::Sha1).toHex()) +
           u".json"_qs;
}

QJsonArray rowJson(const TaskRow& row) {
    QJsonArray out;
    for (const QString& cell : row)
        out.append(cell);
    return out;
}

TaskRow rowOf(const QJsonValue& value) {
    TaskRow row;
    const QJsonArray cells = value.toArray();
    for (int c = 0; c < kColumns && c < cells.size(); ++c)
        row[c] = cells[c].toString();
    return row;
}

QJsonObject recordJson(const SyncRecord& r) {
    return {{u"uid"_qs, r.uid},
            {u"href"_qs, r.href},
            {u"etag"_qs, QString::fromUtf8(r.etag)},
            {u"ics"_qs, QString::fromUtf8(r.ics)},
            {u"synced"_qs, rowJson(r.synced)},
            {u"intent"_qs, int(r.intent)},
            {u"pending"_qs, rowJson(r.pending)},
            {u"outside"_qs, r.outside}};
}

SyncRecord recordFromJson(const QJsonObject& o) {
    SyncRecord r;
    r.uid = o.value(u"uid"_qs).toString();
    r.href = o.value(u"href"_qs).toString();
    r.etag = o.value(u"etag"_qs).toString().toUtf8();
    r.ics = o.value(u"ics"_qs).toString().toUtf8();
    r.synced = rowOf(o.value(u"synced"_qs));
    const int intent = o.value(u"intent"_qs).toInt();
    r.intent = intent >= 0 && intent <= int(Intent::Complete) ? Intent(intent) : Intent::None;
    r.pending = rowOf(o.value(u"pending"_qs));
    r.outside = o.value(u"outside"_qs).toBool();
    return r;
}

std::optional<QJsonObject> readJson(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    const QJsonDocument doc = QJsonDocument::fromJson(file.readAll());
    if (!doc.isObject())
        return {};
    return doc.object();
}

// Replaces the file whole, private from its first byte, on disk before the rename.
bool writeJson(const QString& path, const QJsonObject& object, QString* why) {
    QSaveFile file(path);
    const QByteArray bytes = QJsonDocument(object).toJson(QJsonDocument::Compact);
    if (!file.open(QIODevice::WriteOnly) || !file.setPermissions(kPrivateFile) ||
        file.write(bytes) != bytes.size() || !file.flush() || ::fsync(file.handle()) != 0 ||
        !file.commit()) {
        if (why)
            *why = tr("The sync state cannot be written to %1: %2").arg(path, file.errorString());
        file.cancelWriting();
        return false;
    }
    return true;
}

bool syncDir(const QString& dir) {
    const int fd = ::open(QFile::encodeName(dir).constData(), O_RDONLY | O_DIRECTORY);
    if (fd < 0)
        return false;
    const bool ok = ::fsync(fd) == 0;
    ::close(fd);
    return ok;
}

bool makePrivateDir(const QString& dir) {
    return (QDir(dir).exists() || QDir().mkpath(dir)) && QFile::setPermissions(dir, kPrivateDir);
}

bool sameTask(const TaskRow& a, const TaskRow& b) {
    return a[ColStamp] == b[ColStamp] && a[ColText] == b[ColText];
}

} // namespace

SyncState::SyncState(const QString& dir) : d(std::make_unique<Data>()) {
    m_dir = dir;
    if (const std::optional<QJsonObject> list = readJson(dir + u'/' + kListFile)) {
        d->list = list->value(u"list"_qs).toString();
        d->token = list->value(u"token"_qs).toString();
        for (const QJsonValue& row : list->value(u"deleted"_qs).toArray())
            d->deleted.append(rowOf(row));
    }
    const QDir items(dir + u'/' + kItemsDir);
    for (const QString& name : items.entryList({u"*.json"_qs}, QDir::Files)) {
        const std::optional<QJsonObject> o = readJson(items.filePath(name));
        // A file the state cannot read is an item the next listing finds again.
        if (!o)
            continue;
        SyncRecord r = recordFromJson(*o);
        if (!r.uid.isEmpty() && fileOf(r.uid) == name)
            d->records.insert(r.uid, r);
    }
}

SyncState::~SyncState() = default;

QString SyncState::dir() const {
    return m_dir;
}

void SyncState::markDeleted(const QList<TaskRow>& rows) {
    d->deleted += rows;
    d->listDirty = true;
    QString why;
    // The deletion still reaches the server when the next round runs in this process.
    if (!save(&why))
        qWarning("%s", qPrintable(why));
}

int SyncState::waiting() const {
    int count = int(d->deleted.size());
    for (const SyncRecord& r : std::as_const(d->records))
        count += r.intent != Intent::None;
    return count;
}

const SyncRecord* SyncState::recordOf(const TaskRow& row) const {
    const SyncRecord* byStamp = nullptr;
    int sharing = 0;
    for (const SyncRecord& r : std::as_const(d->records)) {
        if (r.outside)
            continue;
        if (sameTask(r.synced, row))
            return &r;
        if (r.synced[ColStamp] == row[ColStamp]) {
            byStamp = &r;
            ++sharing;
        }
    }
    return sharing == 1 ? byStamp : nullptr;
}

bool SyncState::hasForeignRule(const TaskRow& row) const {
    const SyncRecord* r = recordOf(row);
    if (!r)
        return false;
    const CalendarItem item = readItem(r->ics, now());
    return item.task && item.task->ruleFlattened;
}

std::optional<QDateTime> SyncState::nextForeignOccurrence(const TaskRow& row,
                                                          const QDateTime& after) const {
    if (!hasForeignRule(row))
        return {};
    return nextItemOccurrence(recordOf(row)->ics, after);
}

bool SyncState::save(QString* why) {
    if (d->dirty.isEmpty() && !d->listDirty)
        return true;
    const QString items = m_dir + u'/' + kItemsDir;
    if (!makePrivateDir(m_dir) || !makePrivateDir(items)) {
        if (why)
            *why = tr("The sync state folder %1 cannot be made.").arg(m_dir);
        return false;
    }
    for (const QString& uid : std::as_const(d->dirty)) {
        const QString path = items + u'/' + fileOf(uid);
        const auto found = d->records.constFind(uid);
        if (found == d->records.cend()) {
            if (QFile::exists(path) && !QFile::remove(path)) {
                if (why)
                    *why = tr("The sync state cannot be written to %1.").arg(path);
                return false;
            }
        } else if (!writeJson(path, recordJson(*found), why)) {
            return false;
        }
    }
    if (!d->dirty.isEmpty() && !syncDir(items)) {
        if (why)
            *why = tr("The sync state cannot be written to %1.").arg(items);
        return false;
    }
    d->dirty.clear();
    if (d->listDirty) {
        QJsonArray deleted;
        for (const TaskRow& row : std::as_const(d->deleted))
            deleted.append(rowJson(row));
        if (!writeJson(m_dir + u'/' + kListFile,
                       {{u"list"_qs, d->list}, {u"token"_qs, d->token}, {u"deleted"_qs, deleted}},
                       why) ||
            !syncDir(m_dir)) {
            if (why && why->isEmpty())
                *why = tr("The sync state cannot be written to %1.").arg(m_dir);
            return false;
        }
        d->listDirty = false;
    }
    return true;
}

SyncState::Data& SyncState::data() {
    return *d;
}

} // namespace jot::sync
