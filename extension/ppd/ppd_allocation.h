// Every allocation of the PPD model goes through here, so that tests can
// make the n-th one fail and prove that nothing leaks or breaks.
#pragma once

#include <cstddef>
#include <new>

void* PpdMalloc(size_t bytes);
void* PpdRealloc(void* block, size_t bytes);
void PpdFree(void* block);

// True when the next allocation may go ahead; counts it against the budget.
bool TakePpdAllocation();

// Lets `count` more allocations succeed and fails every later one; a
// negative count lifts the limit. For tests only.
void SetPpdAllocationBudget(long count);

template <typename T, typename... Args>
T* NewPpdRecord(Args... args) {
  return TakePpdAllocation() ? new (std::nothrow) T(args...) : nullptr;
}

// A zero-terminated copy of `count` units; null when memory runs out.
char16_t* CopyPpdUnits(const char16_t* units, size_t count);
