#include "held_values.h"

HeldSpace SpaceOf(LedgerKind kind) {
  switch (kind) {
    case LedgerKind::kDeviceContext:
    case LedgerKind::kBitmap:
    case LedgerKind::kBrush:
    case LedgerKind::kPen:
    case LedgerKind::kFont:
    case LedgerKind::kRegion:
    case LedgerKind::kLeftSelected:
      return HeldSpace::kGdi;
    case LedgerKind::kIcon:
    case LedgerKind::kMenu:
    case LedgerKind::kWindow:
    case LedgerKind::kSubclass:  // held by its window's handle
      return HeldSpace::kUser;
    case LedgerKind::kImageList:
      return HeldSpace::kImageList;
    case LedgerKind::kActivationContext:
      return HeldSpace::kActivationContext;
    case LedgerKind::kLibrary:
      return HeldSpace::kLibrary;
    case LedgerKind::kFile:
      return HeldSpace::kFile;
    default:
      return HeldSpace::kMemory;  // the heaps, whose blocks never overlap
  }
}

bool HeldValues::Remove(HeldSpace space, const void* value, LedgerKind* kind) {
  Values& values = Space(space);
  const auto found = values.find(value);
  if (found == values.end()) return false;
  *kind = found->second;
  values.erase(found);
  return true;
}

const LedgerKind* HeldValues::Find(HeldSpace space, const void* value) const {
  const Values& values = In(space);
  const auto found = values.find(value);
  return found == values.end() ? nullptr : &found->second;
}
