// SPDX-License-Identifier: GPL-3.0-or-later
#include "mainwin/f_iir.h"

#include "calendar/calendarfile.h"
#include "store/clock.h"
#include "ui/filechooser.h"
#include "ui/messagebox.h"

#include <QFile>
#include <QSaveFile>

// File → calendar files: the list out as one .ics, the open tasks of another program's .ics in.

namespace {

QString calendarFilter() {
    return f_iir::tr("Calendar files (*.ics);;All files (*)");
}

} // namespace

void f_iir::m_exportCalendar_Click() {
    const QString path = jot::chooseFile(this, jot::FileChoice::Save, tr("Export to calendar file"),
                                         calendarFilter(), QStringLiteral("jotlark.ics"));
    if (path.isEmpty())
        return; // cancelled
    QList<jot::TaskRow> rows;
    for (int r = 1; r < m_shared.list.rows(); ++r) {
        if (m_shared.list.isPlaceholder(r))
            continue;
        jot::TaskRow row;
        for (int c = 0; c < jot::kColumns; ++c)
            row[c] = m_shared.list.cell(r, c);
        rows.append(row);
    }
    const QByteArray bytes = jot::writeCalendar(rows, jot::now());
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size() || !file.commit())
        jot::askUser(this, QMessageBox::Warning, tr("Export to calendar file"),
                     tr("The calendar file could not be written: %1").arg(file.errorString()),
                     QMessageBox::Ok, QMessageBox::Ok);
}

void f_iir::m_importCalendar_Click() {
    const QString path =
        jot::chooseFile(this, jot::FileChoice::Open, tr("Import calendar file"), calendarFilter());
    if (path.isEmpty())
        return; // cancelled
    QFile file(path);
    QString error;
    jot::CalendarRead read;
    if (!file.open(QIODevice::ReadOnly))
        error = tr("The calendar file could not be read: %1").arg(file.errorString());
    else
        read = jot::readCalendar(file.readAll(), jot::now());
    if (error.isEmpty())
        error = read.error;
    if (!error.isEmpty()) {
        jot::askUser(this, QMessageBox::Warning, tr("Import calendar file"), error, QMessageBox::Ok,
                     QMessageBox::Ok);
        return;
    }
    const jot::ImportCount count = jot::importTasks(m_shared.list, read.tasks);
    if (count.added)
        m_shared.sauver_liste();
    jot::askUser(this, QMessageBox::Information, tr("Import calendar file"),
                 jot::importSummary(count), QMessageBox::Ok, QMessageBox::Ok);
}
