// SPDX-License-Identifier: GPL-3.0-or-later
#include "mainwin/alarmcolumn.h"

#include "alarms/recurrence.h"
#include "store/tasklist.h"

namespace jot {

QVariant AlarmColumn::data(const QModelIndex& index, int role) const {
    if (role != Qt::DisplayRole || index.column() != ColAlarm)
        return QIdentityProxyModel::data(index, role);
    return alarmDisplay(QIdentityProxyModel::data(index).toString(),
                        index.siblingAtColumn(ColFired).data().toString());
}

} // namespace jot
