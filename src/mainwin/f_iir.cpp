#include "mainwin/f_iir.h"
// STUB: to be written.
#include "help/f_help.h"
#include "notes/f_test.h"
#include <QCloseEvent>
f_iir::f_iir(QWidget* parent) : QMainWindow(parent) { setObjectName(QStringLiteral("f_iir")); }
f_iir::~f_iir() = default;
void f_iir::Form_Load() { show(); }
void f_iir::restaurer_fenetre_principale() {}
void f_iir::notifier(const QString&, const QString&) {}
void f_iir::m_tache_Click() {}
void f_iir::m_imprimer_Click() {}
void f_iir::m_quitter_Click() {}
void f_iir::m_tb_Click() {}
void f_iir::m_aide_Click() {}
void f_iir::m_apropos_Click() {}
void f_iir::mPopRestore_Click() {}
void f_iir::mPopExit_Click() {}
void f_iir::closeEvent(QCloseEvent* e) { e->accept(); }
void f_iir::changeEvent(QEvent* e) { QMainWindow::changeEvent(e); }
