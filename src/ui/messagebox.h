// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QMessageBox>
#include <functional>

namespace jot {

// Every message box of the program goes through here, so that tests can answer it.
QMessageBox::StandardButton askUser(QWidget* parent, QMessageBox::Icon icon, const QString& title,
                                    const QString& text, QMessageBox::StandardButtons buttons,
                                    QMessageBox::StandardButton defaultButton);

// Shows a box its caller has built (for buttons with texts of their own), answered the same way.
QMessageBox::StandardButton showBox(QMessageBox& box);

// Tests install a responder that sees the box (title, text, icon, buttons) and answers it
// instead of the user; an empty function restores the real dialog.
using MessageResponder = std::function<QMessageBox::StandardButton(QMessageBox&)>;
void setMessageResponderForTests(MessageResponder responder);

} // namespace jot
