// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QDateTime>
#include <functional>

namespace jot {

// The one place the program reads the time. Never cache its result: the clock may be
// shifted while the program runs.
QDateTime now();

// Tests replace the clock; an empty function restores the system clock.
void setClockForTests(std::function<QDateTime()> source);

} // namespace jot
