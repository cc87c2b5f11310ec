#include "held_lists.h"

#include "table_lock.h"

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

LONG g_busy = 0;

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
  TableLock lock(&g_busy);
  Slot* slot = Find(page, control);
  if (slot == nullptr) slot = FreeOrOldest();
  slot->page = page;
  slot->control = control;
  slot->lastUse = ++g_uses;
  slot->list.count = count;
  for (size_t i = 0; i < count; ++i) slot->list.entries[i] = entries[i];
}

bool RecalledList(HWND page, int control, HeldList* held) {
  TableLock lock(&g_busy);
  Slot* slot = Find(page, control);
  if (slot != nullptr) {
    slot->lastUse = ++g_uses;
    *held = slot->list;
  }
  return slot != nullptr;
}

void ForgetLists(HWND page) {
  TableLock lock(&g_busy);
  for (Slot& slot : g_slots)
    if (slot.page == page) slot = Slot();
}
