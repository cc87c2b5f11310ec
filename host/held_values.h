// What the plug-in holds, by handle or pointer. Handles of GDI objects, of
// USER objects, addresses of memory blocks and the other kinds' values are
// numbered independently: one number can be a live bitmap and a live heap
// block at the same time. So each value is kept in the space of its kind,
// and given back in the space of the function that gives it back. A value
// taken twice (an atom added twice) is held until given back as often.
#pragma once

#include <unordered_map>

#include "resource_ledger.h"

enum class HeldSpace {
  kGdi,
  kUser,
  kMemory,         // heap and C heap blocks, whose addresses never overlap
  kGlobalMemory,   // global and local memory handles
  kImageList,
  kActivationContext,
  kActivation,     // cookies of activations
  kLibrary,
  kKernel,         // kernel handles: files, semaphores, events, mutexes
  kStream,         // C streams
  kWindowClass,    // class atoms
  kAtom,           // global atoms
  kRegistry,
  kTlsSlot,
  kCriticalSection,
  kClipboard,
  kCount
};

HeldSpace SpaceOf(LedgerKind kind);

class HeldValues {
 public:
  struct Held {
    LedgerKind kind;
    unsigned times;
  };
  using Values = std::unordered_map<const void*, Held>;

  void Add(const void* value, LedgerKind kind);
  // Gives `value` back once in `space`: the kind it was held as, or false
  // when it was not held there.
  bool Remove(HeldSpace space, const void* value, LedgerKind* kind);
  // Drops `value` from `space` however often it was taken.
  void Drop(HeldSpace space, const void* value) { Space(space).erase(value); }
  // The kind `value` is held as in `space`, or null.
  const LedgerKind* Find(HeldSpace space, const void* value) const;
  const Values& In(HeldSpace space) const { return spaces_[static_cast<int>(space)]; }

 private:
  Values& Space(HeldSpace space) { return spaces_[static_cast<int>(space)]; }

  Values spaces_[static_cast<int>(HeldSpace::kCount)];
};
