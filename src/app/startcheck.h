// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

namespace jot {

class SingleInstance;

// What a start does about the lock of its data directory. It runs; or it gives way to the
// running program that answered and did what was asked; or it has said on screen and on standard
// error why it will not run. A lock from another machine sharing the directory is the user's
// choice.
enum class StartDecision { Run, GiveWay, Refuse };
StartDecision checkStart(SingleInstance& instance);

} // namespace jot
