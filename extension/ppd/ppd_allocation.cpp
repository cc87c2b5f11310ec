#include "ppd_allocation.h"

#include <cstdlib>
#include <cstring>

namespace {
long g_allocationBudget = -1;
bool g_bFailOnlyOne = false;
}

bool TakePpdAllocation() {
  if (g_allocationBudget < 0) return true;
  if (g_allocationBudget == 0) {
    if (g_bFailOnlyOne) g_allocationBudget = -1;
    return false;
  }
  --g_allocationBudget;
  return true;
}

void SetPpdAllocationBudget(long count, bool bFailOnlyOne) {
  g_allocationBudget = count;
  g_bFailOnlyOne = bFailOnlyOne;
}

void* PpdMalloc(size_t bytes) { return TakePpdAllocation() ? std::malloc(bytes) : nullptr; }

void* PpdRealloc(void* block, size_t bytes) {
  return TakePpdAllocation() ? std::realloc(block, bytes) : nullptr;
}

void PpdFree(void* block) { std::free(block); }

bool PpdArrayBytes(size_t count, size_t size, size_t* bytes) {
  return !__builtin_mul_overflow(count, size, bytes);
}

void* PpdMallocArray(size_t count, size_t size) {
  size_t bytes = 0;
  return PpdArrayBytes(count, size, &bytes) ? PpdMalloc(bytes) : nullptr;
}

void* PpdReallocArray(void* block, size_t count, size_t size) {
  size_t bytes = 0;
  return PpdArrayBytes(count, size, &bytes) ? PpdRealloc(block, bytes) : nullptr;
}

char16_t* CopyPpdUnits(const char16_t* units, size_t count) {
  if (!TakePpdAllocation()) return nullptr;
  char16_t* copy = new (std::nothrow) char16_t[count + 1];
  if (copy == nullptr) return nullptr;
  if (count > 0) std::memcpy(copy, units, count * sizeof(char16_t));
  copy[count] = 0;
  return copy;
}
