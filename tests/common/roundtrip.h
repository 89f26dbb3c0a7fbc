// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "store/taskformat.h"

#include <QBuffer>

// What the task file's reader accepts writes and reads back as the same list, and writes back
// as the same bytes; read in chunks (ending at `cuts`), as a read of the file in chunks would,
// it gives what a read at once gives. Checked by the fuzzer and by tst_store's generator.
namespace testing {

inline QByteArray bytesOf(const QList<jot::TaskRow>& rows) {
    jot::TaskList list;
    list.setRows(rows);
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    return jot::writeTasks(list, buffer) ? buffer.data() : QByteArray(); // reads back as no list
}

inline bool readsBackAlike(QByteArrayView input, QList<qsizetype> cuts) {
    jot::TaskReader reader;
    qsizetype from = 0;
    for (const qsizetype cut : cuts << input.size()) {
        reader.addBytes(input.sliced(from, cut - from));
        from = cut;
    }
    const jot::ParsedTasks first = reader.finish();
    // No record loads the placeholder row, which is saved as one record of empty fields.
    const QList<jot::TaskRow> loaded =
        first.rows.isEmpty() ? QList<jot::TaskRow>{jot::TaskRow{}} : first.rows;
    const QByteArray written = bytesOf(loaded);
    const jot::ParsedTasks again = jot::parseTasks(written);
    return first.rows == jot::parseTasks(input).rows && again.complete && !again.mixed &&
           again.rows == loaded && bytesOf(again.rows) == written;
}

} // namespace testing
