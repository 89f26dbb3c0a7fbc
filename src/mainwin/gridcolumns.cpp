// SPDX-License-Identifier: GPL-3.0-or-later
#include "mainwin/gridcolumns.h"

#include "alarms/recurrence.h"
#include "store/tasklist.h"

namespace jot {

bool GridColumns::filterAcceptsColumn(int column, const QModelIndex&) const {
    return column == ColText || column == ColAlarm;
}

QVariant GridColumns::data(const QModelIndex& index, int role) const {
    if (role != Qt::DisplayRole || index.column() != kAlarm)
        return QSortFilterProxyModel::data(index, role);
    const QModelIndex alarm = mapToSource(index);
    return alarmDisplay(alarm.data().toString(), alarm.siblingAtColumn(ColFired).data().toString());
}

} // namespace jot
