// What the plug-in holds, by handle or pointer. Handles of GDI objects, of
// USER objects, addresses of memory blocks and the other kinds' values are
// numbered independently: one number can be a live bitmap and a live heap
// block at the same time. So each value is kept in the space of its kind,
// and given back in the space of the function that gives it back.
#pragma once

#include <unordered_map>

#include "resource_ledger.h"

enum class HeldSpace { kGdi, kUser, kMemory, kImageList, kActivationContext, kLibrary, kFile, kCount };

HeldSpace SpaceOf(LedgerKind kind);

class HeldValues {
 public:
  using Values = std::unordered_map<const void*, LedgerKind>;

  void Add(const void* value, LedgerKind kind) { Space(SpaceOf(kind))[value] = kind; }
  // Takes `value` out of `space`: the kind it was held as, or false when it
  // was not held there.
  bool Remove(HeldSpace space, const void* value, LedgerKind* kind);
  // The kind `value` is held as in `space`, or null.
  const LedgerKind* Find(HeldSpace space, const void* value) const;
  const Values& In(HeldSpace space) const { return spaces_[static_cast<int>(space)]; }

 private:
  Values& Space(HeldSpace space) { return spaces_[static_cast<int>(space)]; }

  Values spaces_[static_cast<int>(HeldSpace::kCount)];
};
