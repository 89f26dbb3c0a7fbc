// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QString>
#include <functional>
#include <memory>

namespace jot {

// What plays the alarm sound when the notification server does not.
class SoundPlayer {
public:
    virtual ~SoundPlayer() = default;
    // Starts the alarm sound and returns at once; a failure is said on stderr.
    virtual void play() = 0;
};

// The player of the session's sound server (PulseAudio or PipeWire), through libcanberra and
// the desktop's sound theme; or the one tests give.
std::unique_ptr<SoundPlayer> createSoundPlayer();

// Tests give players of their own; an empty function gives libcanberra's again.
void setSoundPlayerForTests(std::function<std::unique_ptr<SoundPlayer>()> factory);

// The string setting `name` of an XSettings property (_XSETTINGS_SETTINGS), or empty.
QString xsettingsString(const QByteArray& property, const QByteArray& name);

} // namespace jot
