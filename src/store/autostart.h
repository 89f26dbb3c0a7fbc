// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

namespace jot {

// Start at log-in: an XDG autostart entry in $XDG_CONFIG_HOME/autostart/ that starts the
// program at every log-in; its presence is the option.
inline const QString kAutostartFile = QStringLiteral(JOT_APP_ID ".desktop");

QString autostartPath();
bool startsAtLogIn();
// Writes the entry, starting `executable` (an absolute path), or removes it.
bool setStartAtLogIn(bool on, const QString& executable);

} // namespace jot
