// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <functional>

class QWidget;

namespace jot {

// Every file the user picks goes through here, so that tests can pick instead.
enum class FileChoice { Open, Save };

// The file chosen, or empty when the dialog was cancelled. `suggested` is the name a save
// dialog offers.
QString chooseFile(QWidget* parent, FileChoice kind, const QString& title, const QString& filter,
                   const QString& suggested = {});

// Tests answer instead of the user; an empty function restores the dialogs.
using FileResponder = std::function<QString(FileChoice kind)>;
void setFileResponderForTests(FileResponder responder);

} // namespace jot
