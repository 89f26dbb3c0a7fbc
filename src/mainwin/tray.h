// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <QSystemTrayIcon>
#include <functional>
#include <optional>

namespace jot {

// Whether the desktop shows tray icons now. Without a tray the main window must stay within
// reach, minimised in the task bar instead of hidden.
bool trayAvailable();

// Tests declare the tray present or absent (the offscreen platform has none); an empty value
// asks the desktop again.
void setTrayAvailableForTests(std::optional<bool> available);

// The icon's message, titled "Jotlark".
void showTrayMessage(QSystemTrayIcon& tray, const QString& message,
                     QSystemTrayIcon::MessageIcon icon);

// Tests receive the tray's messages instead (the offscreen platform shows none); an empty
// function gives them to the tray again.
void setTrayMessagesForTests(std::function<void(const QString&)> receiver);

} // namespace jot
