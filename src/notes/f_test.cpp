#include "notes/f_test.h"
// STUB: to be written.
#include <QCloseEvent>
f_test::f_test(jot::Shared& shared) : QWidget(nullptr), m_shared(shared) {
    setAttribute(Qt::WA_DeleteOnClose);
    setObjectName(QStringLiteral("f_test"));
}
void f_test::init() {}
void f_test::reinit() {}
void f_test::en_rouge() {}
QString f_test::toBox(const QString& t) { return t; }
QString f_test::toCell(const QString& t) { return t; }
void f_test::closeEvent(QCloseEvent* e) {
    if (m_shared.autoSave)
        m_shared.sauver_liste();
    m_shared.liste.setCell(f_pos, jot::ColSlot, QString());
    m_shared.freeSlot(f_monindice);
    e->accept();
}
