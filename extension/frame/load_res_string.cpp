#include "load_res_string.h"

namespace {

constexpr int kFirstCapacity = 257;

WCHAR* AllocateUnits(HANDLE heap, int units) {
  return static_cast<WCHAR*>(HeapAlloc(heap, HEAP_ZERO_MEMORY, units * sizeof(WCHAR)));
}

}  // namespace

WCHAR* LoadResString(HMODULE module, HANDLE heap, WORD id) {
  int capacity = kFirstCapacity;
  WCHAR* buffer = AllocateUnits(heap, capacity);
  if (buffer == nullptr) return nullptr;

  // LoadStringW reports a cut string as exactly capacity - 1 characters; a
  // string resource holds at most 65535 units, so the growth ends.
  while (LoadStringW(module, id, buffer, capacity) == capacity - 1) {
    HeapFree(heap, 0, buffer);
    capacity = 2 * (capacity - 1) + 1;
    buffer = AllocateUnits(heap, capacity);
    if (buffer == nullptr) return nullptr;
  }
  return buffer;
}
