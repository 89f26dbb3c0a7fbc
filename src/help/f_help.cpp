#include "help/f_help.h"
// STUB: to be written.
f_help::f_help() : QWidget(nullptr) {
    setAttribute(Qt::WA_DeleteOnClose);
    setObjectName(QStringLiteral("f_help"));
}
const QString& f_help::helpText() {
    static const QString t;
    return t;
}
