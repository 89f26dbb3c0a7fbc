// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/messagebox.h"

namespace jot {

namespace {
MessageResponder& responder() {
    static MessageResponder r;
    return r;
}
} // namespace

QMessageBox::StandardButton showBox(QMessageBox& box) {
    if (responder())
        return responder()(box);
    box.exec();
    return box.standardButton(box.clickedButton());
}

QMessageBox::StandardButton askUser(QWidget* parent, QMessageBox::Icon icon, const QString& title,
                                    const QString& text, QMessageBox::StandardButtons buttons,
                                    QMessageBox::StandardButton defaultButton) {
    QMessageBox box(icon, title, text, buttons, parent);
    box.setDefaultButton(defaultButton);
    return showBox(box);
}

void setMessageResponderForTests(MessageResponder r) {
    responder() = std::move(r);
}

} // namespace jot
