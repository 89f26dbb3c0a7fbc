// SPDX-License-Identifier: GPL-3.0-or-later
// libFuzzer over the WebDAV answer reader: an answer is either read or refused with a reason,
// never half taken, and no item it keeps is past the item limit.
#include "sync/davrequest.h"
#include "sync/davxml.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const jot::sync::Multistatus read =
        jot::sync::readMultistatus(QByteArrayView(data, qsizetype(size)));
    if (!read.error.isEmpty() && (!read.responses.isEmpty() || !read.syncToken.isEmpty()))
        qFatal("a refused answer gave responses");
    for (const jot::sync::DavResponse& response : read.responses) {
        for (const jot::sync::DavProp& prop : response.props) {
            if (prop.text.size() > jot::sync::kMaxItem)
                qFatal("a property past the item limit was kept");
        }
    }
    return 0;
}
