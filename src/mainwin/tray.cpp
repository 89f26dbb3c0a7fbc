// SPDX-License-Identifier: GPL-3.0-or-later
#include "mainwin/tray.h"

#include <utility>

namespace jot {

namespace {
std::optional<bool> s_declared;
std::function<void(const QString&)> s_messages;
} // namespace

bool trayAvailable() {
    return s_declared ? *s_declared : QSystemTrayIcon::isSystemTrayAvailable();
}

void setTrayAvailableForTests(std::optional<bool> available) {
    s_declared = available;
}

void showTrayMessage(QSystemTrayIcon& tray, const QString& message,
                     QSystemTrayIcon::MessageIcon icon) {
    if (s_messages)
        s_messages(message);
    else
        tray.showMessage(QStringLiteral("Jotlark"), message, icon);
}

void setTrayMessagesForTests(std::function<void(const QString&)> receiver) {
    s_messages = std::move(receiver);
}

} // namespace jot
