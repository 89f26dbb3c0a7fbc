// SPDX-License-Identifier: GPL-3.0-or-later
// libFuzzer over the task file's reader and writer: whatever the reader accepts must write
// and read back as the same list, and write back as the same bytes.
#include "store/taskformat.h"

#include <QBuffer>

namespace {
QByteArray bytesOf(const QList<jot::TaskRow>& rows) {
    jot::TaskList list;
    list.setRows(rows);
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    return jot::writeTasks(list, buffer) ? buffer.data() : QByteArray(); // reads back as no list
}
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const QByteArrayView input(data, qsizetype(size));
    // Read in two pieces split anywhere, as a read of the file in chunks would.
    jot::TaskReader reader;
    reader.addBytes(input.first(size / 3));
    reader.addBytes(input.sliced(size / 3));
    const jot::ParsedTasks first = reader.finish();
    // No record loads the placeholder row, which is saved as one record of empty fields.
    const QList<jot::TaskRow> loaded =
        first.rows.isEmpty() ? QList<jot::TaskRow>{jot::TaskRow{}} : first.rows;
    const QByteArray written = bytesOf(loaded);
    const jot::ParsedTasks again = jot::parseTasks(written);
    if (first.rows != jot::parseTasks(input).rows || !again.complete || again.mixed ||
        again.rows != loaded || bytesOf(again.rows) != written)
        qFatal("reading in pieces, or reading what was written, changed the list");
    return 0;
}
