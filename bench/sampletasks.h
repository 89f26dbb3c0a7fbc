// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "store/tasklist.h"

#include <QList>

// Tasks of a few lines with the characters the escaping has to handle.
inline QList<jot::TaskRow> sampleTasks(int count) {
    QList<jot::TaskRow> rows;
    rows.reserve(count);
    for (int i = 0; i < count; ++i)
        rows.append(jot::TaskRow{QStringLiteral("Le 12/05 à 10:15 pm"),
                                 QStringLiteral("Task %1: call \"Bob\" about the café\r\nbring "
                                                "the papers, the keys ~ and 5 €\r\nthird line "
                                                "of notes")
                                     .arg(i),
                                 QStringLiteral("Saturday 12/06 9:45 am"), QString(),
                                 QStringLiteral("1")});
    return rows;
}
