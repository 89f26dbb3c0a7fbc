#pragma once

#include <optional>

namespace jot {

// Whether the desktop shows tray icons now. Without a tray the main window must stay within
// reach, minimised in the task bar instead of hidden.
bool trayAvailable();

// Tests declare the tray present or absent (the offscreen platform has none); an empty value
// asks the desktop again.
void setTrayAvailableForTests(std::optional<bool> available);

} // namespace jot
