// SPDX-License-Identifier: GPL-3.0-or-later
#include "mainwin/gridcolumns.h"

#include "store/tasklist.h"

namespace jot {

bool GridColumns::filterAcceptsColumn(int column, const QModelIndex&) const {
    return column == ColText || column == ColAlarm;
}

} // namespace jot
