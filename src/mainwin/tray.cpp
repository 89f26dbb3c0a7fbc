#include "mainwin/tray.h"

#include <QSystemTrayIcon>

namespace jot {

namespace {
std::optional<bool> s_declared;
}

bool trayAvailable() {
    return s_declared ? *s_declared : QSystemTrayIcon::isSystemTrayAvailable();
}

void setTrayAvailableForTests(std::optional<bool> available) {
    s_declared = available;
}

} // namespace jot
