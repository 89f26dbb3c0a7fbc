#include "mainwin/f_iir.h"

// Each minute: pending edits saved; at quarter hours, due alarms brought up in red.
void f_iir::Timer1_Timer() {
    if (m_shared.unsavedChanges)
        m_shared.sauver_liste();
}
