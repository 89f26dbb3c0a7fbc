#include "help/about.h"

#include "ui/messagebox.h"

namespace jot {

void m_apropos(QWidget* parent) {
    demander(parent, QMessageBox::Information, QStringLiteral("About"),
             QStringLiteral("Jotlark v1.2"), QMessageBox::Ok, QMessageBox::Ok);
}

} // namespace jot
