// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "store/tasklist.h"

#include <QDate>
#include <QString>

namespace jot {

// The printed report: a header with the date, then each task with its alarm, CR LF lines; in
// the user's language and formats.
QString preparer_rapport(const TaskList& list, const QDate& today);

} // namespace jot
