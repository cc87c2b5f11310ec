// The resource ledger's own state, shared by the files of its redirected
// functions (ledger_gdi.cpp, ledger_user.cpp, ledger_kernel.cpp,
// ledger_runtime.cpp, ledger_lookups.cpp) and by resource_ledger.cpp.
#pragma once

#include <windows.h>

#include <map>
#include <set>
#include <string>
#include <unordered_map>
#include <utility>
#include <vector>

#include "held_values.h"
#include "resource_ledger.h"

struct DcOriginals {
  HGDIOBJ objects[4];  // bitmap, brush, pen, font as the DC came
};

// Everything the plug-in holds, by handle or pointer, and the counts.
struct Ledger {
  LedgerLine lines[static_cast<int>(LedgerKind::kCount)];
  unsigned long long releasedWithDriverHeap = 0;
  unsigned long long leftOnDriverHeap = 0;  // blocks the latest opening left there
  HeldValues held;
  std::unordered_map<const void*, size_t> blockBytes;  // heap and C heap blocks
  long long bytes[static_cast<int>(LedgerKind::kCount)] = {};  // of the heap kinds
  // Releases of what the plug-in did not hold, by the space of the
  // function that released it.
  unsigned long long overReleased[static_cast<int>(HeldSpace::kCount)] = {};
  std::set<std::wstring> outlivedSubclassings;  // class names of such windows
  std::set<std::wstring> unlistedLibraries;     // loaded, and not listed system ones
  std::unordered_map<const void*, int> libraries;  // module -> references the plug-in holds
  std::unordered_map<const void*, DcOriginals> dcs;
  std::set<std::pair<const void*, UINT_PTR>> timers;  // window (null: the thread's), id
  std::set<std::wstring> unknownLookups;  // "library!function" looked up and on no list
  std::vector<std::wstring> problems;
  HANDLE driverHeap = nullptr;
  HMODULE module = nullptr;  // the library while it is loaded
  const BYTE* moduleStart = nullptr;
  const BYTE* moduleEnd = nullptr;
  int loads = 0;
  unsigned long long keptLibraries = 0;
};

Ledger& TheLedger();
LedgerLine& Line(LedgerKind kind);

// Counts `handle` as taken; null is nothing. Takes a non-const pointer: a
// const one to fresh heap memory reads to the compiler as a read of that
// memory.
void Acquire(void* handle, LedgerKind kind);
// Gives back `handle` when the plug-in holds it in `space`; true when it did.
bool Release(HeldSpace space, const void* handle);
// The plug-in gives back `handle`: a release of something it does not
// hold in `space` is a fault of its own, counted as over-released.
void GiveBack(HeldSpace space, const void* handle);
// A heap or C heap block of `bytes`, counted as taken.
void AcquireBlock(void* block, LedgerKind kind, size_t bytes);
// A block that was resized, where it is now and its new size.
void ResizeBlock(const void* from, const void* to, size_t bytes);
// Stops holding `handle` without counting it given back: it is gone from
// the plug-in's reach but not freed, a leak of its kind.
void Forget(HeldSpace space, const void* handle);
bool Holds(HeldSpace space, const void* handle);
// A block or handle that moved is held at its new value as what it was.
void Move(HeldSpace space, const void* from, const void* to);
bool InsidePlugin(const void* address);

// A DC the plug-in got, counted and watched for what it holds when it goes
// back (ledger_gdi.cpp; the DCs of USER come the same way).
HDC HoldDc(HDC dc);
// Before a DC goes back: a leak for each of the plug-in's objects it holds.
void CheckDcGoingBack(HDC dc);
// A DC the system hands one of its windows with a message, watched as the
// plug-in's own are while the message is handled; false when it is one of
// the plug-in's own, watched already.
bool WatchHandedDc(HDC dc);
// For the length of an opening: the DCs handed in and the windows going
// (ledger_messages.cpp).
void WatchMessages();
void StopWatchingMessages();
// At the end of an opening: windows that are gone took their subclassing
// and their timers with them (ledger_user.cpp).
void EndWithGoneWindows();

// Counts `handle` as taken and hands it on.
template <typename Handle>
Handle Held(Handle handle, LedgerKind kind) {
  Acquire(handle, kind);
  return handle;
}

// Gives back `handle` in `space` when `result` says the system took it
// back, and hands `result` on.
template <typename Result>
Result GivenBack(Result result, HeldSpace space, const void* handle) {
  if (result) GiveBack(space, handle);
  return result;
}

// A function of ours as the untyped address an import slot holds.
template <typename F>
void* Address(F function) {
  return reinterpret_cast<void*>(reinterpret_cast<void (*)()>(function));
}
