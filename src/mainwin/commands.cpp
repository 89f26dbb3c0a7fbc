#include "mainwin/f_iir.h"
// STUB: to be written.
#include "notes/f_test.h"
void f_iir::creer_fenetre(int) {}
void f_iir::positionner_fenetre(int) {}
f_test* f_iir::fenetre(int slot) const {
    return slot >= 1 && slot <= jot::kSlots ? m_fenetres[slot].data() : nullptr;
}
int f_iir::currentRow() const { return 1; }
void f_iir::selectRow(int) {}
void f_iir::Command1_Click() {}
void f_iir::Command2_Click() {}
void f_iir::Command3_Click() {}
void f_iir::gri_DblClick() {}
void f_iir::m_toutafficher_Click() {}
void f_iir::m_toutmasquer_Click() {}
void f_iir::m_reinit_Click() {}
void f_iir::mPopNew_Click() {}
