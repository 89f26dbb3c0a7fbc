// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "store/taskfile.h"
#include "store/tasklist.h"

#include <array>

namespace jot {

constexpr int kSlots = 100;

// The values every window reads and writes, alive for the whole run.
class Shared {
public:
    TaskList list;
    TaskFile file;

    // Entry s is s while note-window slot s is in use, 0 while it is free; entry 0 unused.
    std::array<qint16, kSlots + 1> slotTable{};
    int lastOpenedSlot = 0;
    bool unsavedChanges = false;
    bool autoSave = true;

    // Lowest free slot, now marked in use; 0 when all are taken.
    int takeFreeSlot();
    void freeSlot(int slot);

    // Merges the task file when another program changed it, and a sync tool's conflict copies
    // (TaskFile::mergeOtherWriter); a changed list is marked unsaved. Called at start and at
    // every tick.
    bool mergeOtherWriter();

    // Writes the whole list; another writer's version met on the way is merged first. The
    // unsaved-changes flag is cleared first and set again when the save fails or left merged
    // tasks to write, so that the next timer tick retries.
    bool sauver_liste();
};

// Auto-save off for as long as it lives: while many notes close at once (Delete all, exit,
// a merge that runs inside a save), so that they do not each write the file.
class NoAutoSave {
public:
    explicit NoAutoSave(Shared& shared) : m_shared(shared), m_was(shared.autoSave) {
        shared.autoSave = false;
    }
    ~NoAutoSave() { m_shared.autoSave = m_was; }
    NoAutoSave(const NoAutoSave&) = delete;
    NoAutoSave& operator=(const NoAutoSave&) = delete;

private:
    Shared& m_shared;
    bool m_was;
};

} // namespace jot
