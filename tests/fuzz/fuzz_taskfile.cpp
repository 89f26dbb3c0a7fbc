// SPDX-License-Identifier: GPL-3.0-or-later
// libFuzzer over the task file's reader and writer, read in two pieces split anywhere.
#include "common/roundtrip.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (!testing::readsBackAlike(QByteArrayView(data, qsizetype(size)), {qsizetype(size / 3)}))
        qFatal("reading in pieces, or reading what was written, changed the list");
    return 0;
}
