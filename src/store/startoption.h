// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

namespace jot {

inline const QString kStartOptionFile = QStringLiteral("pref1.txt");
// Present when the user turned the alarm sound off ("Play a sound" unchecked).
inline const QString kNoSoundFile = QStringLiteral("nosound.txt");
// Present while notes stay above other windows ("Notes on top").
inline const QString kOnTopFile = QStringLiteral("ontop.txt");
// Present while notes show on every workspace ("Notes on every workspace").
inline const QString kAllWorkspacesFile = QStringLiteral("allworkspaces.txt");

// Whether the program starts in the tray: pref1.txt exists in the data directory.
bool startInTray(const QString& dataDir);
// Creates pref1.txt (its five bytes "1" in quotes and CR LF) or deletes it.
bool setStartInTray(const QString& dataDir, bool on);

// Whether alarms play their sound: nosound.txt does not exist in the data directory.
bool playsSound(const QString& dataDir);
// Deletes nosound.txt, or creates it (empty) to turn the sound off.
bool setPlaysSound(const QString& dataDir, bool on);

// Whether a marker file such as ontop.txt exists in the data directory; setting it on creates
// it empty (mode 0600), off deletes it.
bool hasMarker(const QString& dataDir, const QString& name);
bool setMarker(const QString& dataDir, const QString& name, bool on);

} // namespace jot
