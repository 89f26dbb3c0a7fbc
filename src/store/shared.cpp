// SPDX-License-Identifier: GPL-3.0-or-later
#include "store/shared.h"

namespace jot {

int Shared::takeFreeSlot() {
    for (int s = 1; s <= kSlots; ++s) {
        if (slotTable[s] == 0) {
            slotTable[s] = static_cast<qint16>(s);
            return s;
        }
    }
    return 0;
}

void Shared::freeSlot(int slot) {
    if (slot >= 1 && slot <= kSlots)
        slotTable[slot] = 0;
}

bool Shared::mergeOtherWriter() {
    if (!file.mergeOtherWriter(list))
        return false;
    unsavedChanges = true; // the merged list is saved at the next tick
    return true;
}

bool Shared::sauver_liste() {
    unsavedChanges = false;
    const bool ok = file.sauver_liste(list);
    if (!ok || file.aheadOfFile())
        unsavedChanges = true;
    return ok;
}

} // namespace jot
