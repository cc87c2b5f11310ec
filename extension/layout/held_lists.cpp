#include "held_lists.h"

namespace {

// Six lists a page; a few pages open at once in one process. A list the
// table has no room for is read back from its control.
constexpr size_t kSlots = 24;

struct Slot {
  HWND page = nullptr;
  int control = 0;
  unsigned lastUse = 0;
  HeldList list;
};

Slot g_slots[kSlots];
unsigned g_uses = 0;

// Sheets of different threads may share the library. The table is held
// for a few copies at a time, and the oldest systems have no slim lock.
LONG g_busy = 0;

class TableLock {
 public:
  TableLock() {
    while (InterlockedCompareExchange(&g_busy, 1, 0) != 0) Sleep(0);
  }
  ~TableLock() { InterlockedExchange(&g_busy, 0); }
  TableLock(const TableLock&) = delete;
  TableLock& operator=(const TableLock&) = delete;
};

Slot* Find(HWND page, int control) {
  for (Slot& slot : g_slots)
    if (slot.page == page && slot.control == control) return &slot;
  return nullptr;
}

Slot* FreeOrOldest() {
  Slot* chosen = &g_slots[0];
  for (Slot& slot : g_slots) {
    if (slot.page == nullptr) return &slot;
    if (slot.lastUse < chosen->lastUse) chosen = &slot;
  }
  return chosen;
}

}  // namespace

void RememberList(HWND page, int control, const ListEntry* entries, size_t count) {
  if (count > kMaxListEntries) return;
  TableLock lock;
  Slot* slot = Find(page, control);
  if (slot == nullptr) slot = FreeOrOldest();
  slot->page = page;
  slot->control = control;
  slot->lastUse = ++g_uses;
  slot->list.count = count;
  for (size_t i = 0; i < count; ++i) slot->list.entries[i] = entries[i];
}

bool RecalledList(HWND page, int control, HeldList* held) {
  TableLock lock;
  Slot* slot = Find(page, control);
  if (slot != nullptr) {
    slot->lastUse = ++g_uses;
    *held = slot->list;
  }
  return slot != nullptr;
}

void ForgetLists(HWND page) {
  TableLock lock;
  for (Slot& slot : g_slots)
    if (slot.page == page) slot = Slot();
}
