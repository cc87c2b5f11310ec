// Every allocation of the PPD model goes through here, so that tests can
// make the n-th one fail and prove that nothing leaks or breaks.
#pragma once

#include <cstddef>
#include <new>

void* PpdMalloc(size_t bytes);
void* PpdRealloc(void* block, size_t bytes);
void PpdFree(void* block);

// The byte size of `count` entries of `size` bytes; false when it does not
// fit a size_t (on a 32-bit build a large count would wrap to a small size).
bool PpdArrayBytes(size_t count, size_t size, size_t* bytes);

// An array of `count` entries; null when memory runs out or its byte size
// does not fit.
void* PpdMallocArray(size_t count, size_t size);
void* PpdReallocArray(void* block, size_t count, size_t size);

// True when the next allocation may go ahead; counts it against the budget.
bool TakePpdAllocation();

// Lets `count` more allocations succeed and fails the next one. The ones
// after it fail as well, or, with bFailOnlyOne, succeed again: memory may
// run short for one large request only. A negative count lifts the limit.
// For tests only.
void SetPpdAllocationBudget(long count, bool bFailOnlyOne = false);

template <typename T, typename... Args>
T* NewPpdRecord(Args... args) {
  return TakePpdAllocation() ? new (std::nothrow) T(args...) : nullptr;
}

// Records of one size taken from blocks of many and freed all at once: a
// large PPD has thousands of *UIConstraints lines, and a heap block for each
// of their small records costs more than the record's work, most of all on
// Wine's heap. One allocation per block, counted like any other.
struct PpdSlab {
  void* blocks = nullptr;  // owned; each block begins with the one before it
  size_t used = 0;         // records taken from the newest block
};

// Room for one record of `size` bytes, aligned as malloc aligns, from a block
// of `perBlock` records; null when a new block is needed and memory runs out.
void* TakePpdSlabRecord(PpdSlab* slab, size_t size, size_t perBlock);

// Frees every block; the records need no destruction of their own.
void FreePpdSlab(PpdSlab* slab);

// A zero-terminated copy of `count` units; null when memory runs out.
char16_t* CopyPpdUnits(const char16_t* units, size_t count);
