// SPDX-License-Identifier: GPL-3.0-or-later
#include "calendar/calendarfile.h"

#include "alarms/due.h"
#include "alarms/recurrence.h"
#include "store/clock.h"
#include "store/datadir.h"
#include "store/taskfile.h"
#include "store/taskformat.h"

#include <QCoreApplication>
#include <QFile>
#include <QRegularExpression>
#include <QSaveFile>
#include <QSet>
#include <QStringDecoder>
#include <cstdio>
#include <libical/ical.h>
#include <memory>

namespace jot {

namespace {

struct FreeComponent {
    void operator()(icalcomponent* c) const { icalcomponent_free(c); }
};
using Component = std::unique_ptr<icalcomponent, FreeComponent>;

// The text as the import compares it: each end of the first line and of the rest trimmed, as
// libical drops those spaces, with LF line ends.
QString comparable(const QString& text) {
    static const QRegularExpression lineBreak(QStringLiteral("\r\n|\r|\n"));
    QString t = text;
    t.replace(lineBreak, QStringLiteral("\n"));
    const qsizetype br = t.indexOf(u'\n');
    return br < 0 ? t.trimmed() : t.left(br).trimmed() + u'\n' + t.mid(br + 1).trimmed();
}

QList<icalcomponent*> children(icalcomponent* c, icalcomponent_kind kind) {
    QList<icalcomponent*> out;
    for (icalcomponent* k = icalcomponent_get_first_component(c, kind); k;
         k = icalcomponent_get_next_component(c, kind))
        out.append(k);
    return out;
}

} // namespace

QByteArray writeCalendar(const QList<TaskRow>& rows, const QDateTime& now) {
    const QString zone = calendarZone();
    Component calendar(icalcomponent_new_vcalendar());
    icalcomponent_add_property(calendar.get(), icalproperty_new_version("2.0"));
    icalcomponent_add_property(calendar.get(), icalproperty_new_prodid("-//Jotlark//Jotlark//EN"));
    int firstYear = 0;
    for (const TaskRow& row : rows) {
        const AlarmMoment alarm = alarmMoment(row[ColAlarm], now.date());
        if (!row[ColAlarm].trimmed().isEmpty() && alarm.isValid()) {
            const RepeatRule rule = parseRepeat(row[ColFired]);
            const int year = qMin(alarm.date.year(),
                                  rule.ownDate.isValid() ? rule.ownDate.year() : alarm.date.year());
            firstYear = firstYear ? qMin(firstYear, year) : year;
        }
        icalcomponent_add_component(calendar.get(), taskToVtodo(row, now, zone));
    }
    if (firstYear && !zone.isEmpty()) {
        if (icalcomponent* vtz = zoneComponent(zone, firstYear))
            icalcomponent_add_component(calendar.get(), vtz);
    }
    char* text = icalcomponent_as_ical_string_r(calendar.get());
    const QByteArray bytes(text);
    icalmemory_free_buffer(text);
    return bytes;
}

CalendarRead readCalendar(QByteArrayView bytes, const QDateTime& now) {
    // A malformed file is an answer, not a reason to end the program: libical may be built to
    // abort on its errors.
    icalerror_set_errors_are_fatal(0);
    CalendarRead read;
    QStringDecoder utf8(QStringDecoder::Utf8);
    const QString text = utf8.decode(bytes);
    if (utf8.hasError() || bytes.contains('\0') ||
        text.trimmed().left(15).compare(u"BEGIN:VCALENDAR", Qt::CaseInsensitive) != 0) {
        read.error =
            QCoreApplication::translate("jot::Calendar", "This file is not an iCalendar file.");
        return read;
    }
    // A file cut short (a copy interrupted) loses tasks at its end: nothing comes from it.
    static const QRegularExpression ends(QStringLiteral("END:VCALENDAR\\s*$"),
                                         QRegularExpression::CaseInsensitiveOption);
    if (!ends.match(text).hasMatch()) {
        read.error = QCoreApplication::translate(
            "jot::Calendar", "This calendar file is cut short: nothing was imported.");
        return read;
    }
    Component root(icalparser_parse_string(text.toUtf8().constData()));
    if (!root) {
        read.error =
            QCoreApplication::translate("jot::Calendar", "This file is not an iCalendar file.");
        return read;
    }
    // Several calendars in one file come under one root of their own.
    const QList<icalcomponent*> calendars =
        icalcomponent_isa(root.get()) == ICAL_VCALENDAR_COMPONENT
            ? QList<icalcomponent*>{root.get()}
            : children(root.get(), ICAL_VCALENDAR_COMPONENT);
    int items = 0;
    for (icalcomponent* calendar : calendars) {
        for (icalcomponent* todo : children(calendar, ICAL_VTODO_COMPONENT)) {
            ++items;
            if (std::optional<CalendarTask> task = vtodoToTask(todo, now))
                read.tasks.append(*task);
        }
    }
    if (!items)
        read.error =
            QCoreApplication::translate("jot::Calendar", "This calendar file holds no task.");
    return read;
}

ImportCount importTasks(TaskList& list, const QList<CalendarTask>& tasks) {
    QSet<QString> uids, texts;
    for (int r = 1; r < list.rows(); ++r) {
        if (list.isPlaceholder(r))
            continue;
        uids.insert(taskUid(list.cell(r, ColStamp), list.cell(r, ColText)));
        texts.insert(list.cell(r, ColStamp) + u'\n' + comparable(list.cell(r, ColText)));
    }
    ImportCount count;
    for (const CalendarTask& task : tasks) {
        const QString key = task.row[ColStamp] + u'\n' + comparable(task.row[ColText]);
        if ((!task.uid.isEmpty() && uids.contains(task.uid)) || texts.contains(key)) {
            ++count.alreadyHere;
            continue;
        }
        const int row = list.addTask();
        if (row == 0) {
            ++count.didNotFit;
            continue;
        }
        for (const Column col : {ColStamp, ColText, ColAlarm, ColFired})
            list.setCell(row, col, task.row[col]);
        list.setCell(row, ColSlot, QString());
        uids.insert(task.uid);
        texts.insert(key);
        ++count.added;
        count.flattened += task.ruleFlattened;
    }
    return count;
}

QString importSummary(const ImportCount& count) {
    return QCoreApplication::translate(
               "jot::Calendar",
               "Imported: %1; already here: %2; did not fit: %3; repeats made one-time: %4.")
        .arg(count.added)
        .arg(count.alreadyHere)
        .arg(count.didNotFit)
        .arg(count.flattened);
}

bool exportTaskFile(const QString& dataDir, const QString& target, QString* why) {
    QFile file(dataDir + kTaskFileName);
    ParsedTasks parsed;
    if (file.exists()) {
        if (!file.open(QIODevice::ReadOnly)) {
            *why = QStringLiteral("cannot read %1: %2").arg(file.fileName(), file.errorString());
            return false;
        }
        parsed = parseTasks(file.readAll());
        if (!parsed.complete) {
            *why = QStringLiteral("%1 could not be read completely.").arg(file.fileName());
            return false;
        }
    }
    QList<TaskRow> rows;
    for (const TaskRow& row : std::as_const(parsed.rows)) {
        // The record an empty list is saved as.
        if (!(row[ColStamp].isEmpty() && row[ColText].isEmpty() && row[ColAlarm].isEmpty()))
            rows.append(row);
    }
    const QByteArray bytes = writeCalendar(rows, now());
    if (target == u"-") {
        if (std::fwrite(bytes.constData(), 1, size_t(bytes.size()), stdout) !=
                size_t(bytes.size()) ||
            std::fflush(stdout) != 0) {
            *why = QStringLiteral("cannot write to standard output.");
            return false;
        }
        return true;
    }
    QSaveFile out(target);
    if (!out.open(QIODevice::WriteOnly) || out.write(bytes) != bytes.size() || !out.commit()) {
        *why = QStringLiteral("cannot write %1: %2").arg(target, out.errorString());
        return false;
    }
    return true;
}

int exportForCommandLine(const QString& target) {
    QString why;
    if (exportTaskFile(dossier_donnees(), target, &why))
        return 0;
    std::fprintf(stderr, "jotlark: %s\n", why.toLocal8Bit().constData());
    return 1;
}

} // namespace jot
