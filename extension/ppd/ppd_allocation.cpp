#include "ppd_allocation.h"

#include <cstdint>
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

namespace {

// A block's header: the block before it. Records follow at this offset.
constexpr size_t kSlabHeaderBytes = 16;

}  // namespace

void* TakePpdSlabRecord(PpdSlab* slab, size_t size, size_t perBlock) {
  if (perBlock == 0) return nullptr;
  const size_t stride = (size + 15) & ~static_cast<size_t>(15);
  if (slab->blocks == nullptr || slab->used == perBlock) {
    size_t bytes = 0;
    if (!PpdArrayBytes(perBlock, stride, &bytes) || bytes > SIZE_MAX - kSlabHeaderBytes) {
      return nullptr;
    }
    void* block = PpdMalloc(kSlabHeaderBytes + bytes);
    if (block == nullptr) return nullptr;
    *static_cast<void**>(block) = slab->blocks;
    slab->blocks = block;
    slab->used = 0;
  }
  return static_cast<char*>(slab->blocks) + kSlabHeaderBytes + stride * slab->used++;
}

void FreePpdSlab(PpdSlab* slab) {
  while (slab->blocks != nullptr) {
    void* before = *static_cast<void**>(slab->blocks);
    PpdFree(slab->blocks);
    slab->blocks = before;
  }
  slab->used = 0;
}

char16_t* CopyPpdUnits(const char16_t* units, size_t count) {
  if (!TakePpdAllocation()) return nullptr;
  char16_t* copy = new (std::nothrow) char16_t[count + 1];
  if (copy == nullptr) return nullptr;
  if (count > 0) std::memcpy(copy, units, count * sizeof(char16_t));
  copy[count] = 0;
  return copy;
}
