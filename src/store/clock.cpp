// SPDX-License-Identifier: GPL-3.0-or-later
#include "store/clock.h"

namespace jot {

namespace {
std::function<QDateTime()>& source() {
    static std::function<QDateTime()> s;
    return s;
}
} // namespace

QDateTime now() {
    return source() ? source()() : QDateTime::currentDateTime();
}

void setClockForTests(std::function<QDateTime()> s) {
    source() = std::move(s);
}

} // namespace jot
