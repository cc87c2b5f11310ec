#include "ppd_text_pool.h"

#include <cstring>

#include "ppd_allocation.h"

const PpdText kEmptyPooledText;

namespace {

bool SameText(const PpdText& a, const PpdText& b) {
  return a.length == b.length &&
         SamePpdUnits(a.characters, b.characters, static_cast<size_t>(a.length));
}

uint32_t HashText(const PpdText& text) {
  uint32_t hash = 2166136261u;
  for (int32_t i = 0; i < text.length; ++i) hash = (hash ^ text.characters[i]) * 16777619u;
  return hash ^ static_cast<uint32_t>(text.length);
}

uint32_t FreeSlotFor(const int32_t* slots, uint32_t mask, uint32_t hash) {
  uint32_t slot = hash & mask;
  while (slots[slot] != 0) slot = (slot + 1) & mask;
  return slot;
}

// Doubles the slots (at least half stay free) and the text array with them.
bool Grow(PpdTextPool* pool) {
  const size_t size = pool->slots == nullptr ? 64 : (static_cast<size_t>(pool->slotMask) + 1) * 2;
  if (size > 0x40000000u) return false;
  void* texts = PpdReallocArray(pool->texts, size / 2, sizeof(PpdText*));
  if (texts == nullptr) return false;
  pool->texts = static_cast<PpdText**>(texts);
  int32_t* slots = static_cast<int32_t*>(PpdMallocArray(size, sizeof(int32_t)));
  if (slots == nullptr) return false;
  std::memset(slots, 0, size * sizeof(int32_t));
  const uint32_t mask = static_cast<uint32_t>(size - 1);
  for (int32_t i = 0; i < pool->count; ++i) {
    slots[FreeSlotFor(slots, mask, HashText(*pool->texts[i]))] = i + 1;
  }
  PpdFree(pool->slots);
  pool->slots = slots;
  pool->slotMask = mask;
  return true;
}

}  // namespace

const PpdText* InternPpdText(PpdTextPool* pool, const PpdText& text) {
  if (text.length == 0) return &kEmptyPooledText;
  const uint32_t hash = HashText(text);
  if (pool->slots != nullptr) {
    for (uint32_t slot = hash & pool->slotMask; pool->slots[slot] != 0;
         slot = (slot + 1) & pool->slotMask) {
      const PpdText* pooled = pool->texts[pool->slots[slot] - 1];
      if (SameText(*pooled, text)) return pooled;
    }
  }
  if (pool->slots == nullptr || static_cast<uint32_t>(pool->count + 1) > (pool->slotMask + 1) / 2) {
    if (!Grow(pool)) return nullptr;
  }
  PpdText* copy = NewPpdRecord<PpdText>();
  if (copy == nullptr) return nullptr;
  copy->length = text.length;
  std::memcpy(copy->characters, text.characters, (text.length + 1) * sizeof(char16_t));
  pool->texts[pool->count] = copy;
  pool->slots[FreeSlotFor(pool->slots, pool->slotMask, hash)] = ++pool->count;
  return copy;
}

void FreePpdTextPool(PpdTextPool* pool) {
  for (int32_t i = 0; i < pool->count; ++i) delete pool->texts[i];
  PpdFree(pool->texts);
  PpdFree(pool->slots);
  *pool = PpdTextPool();
}
