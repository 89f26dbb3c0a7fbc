#include "mainwin/messagebox.h"
// STUB: to be written.
namespace jot {
QMessageBox::StandardButton demander(QWidget* parent, QMessageBox::Icon icon, const QString& title,
                                     const QString& text, QMessageBox::StandardButtons buttons,
                                     QMessageBox::StandardButton def) {
    QMessageBox box(icon, title, text, buttons, parent);
    box.setDefaultButton(def);
    return static_cast<QMessageBox::StandardButton>(box.exec());
}
void setMessageResponderForTests(MessageResponder) {}
} // namespace jot
