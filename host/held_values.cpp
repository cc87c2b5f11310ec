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
    case LedgerKind::kHook:
      return HeldSpace::kUser;
    case LedgerKind::kWindowClass:
      return HeldSpace::kWindowClass;
    case LedgerKind::kClipboard:
      return HeldSpace::kClipboard;
    case LedgerKind::kImageList:
      return HeldSpace::kImageList;
    case LedgerKind::kActivationContext:
      return HeldSpace::kActivationContext;
    case LedgerKind::kActivation:
      return HeldSpace::kActivation;
    case LedgerKind::kLibrary:
      return HeldSpace::kLibrary;
    case LedgerKind::kGlobalMemory:
    case LedgerKind::kLocalMemory:
      return HeldSpace::kGlobalMemory;
    case LedgerKind::kFile:
    case LedgerKind::kKernelObject:
      return HeldSpace::kKernel;
    case LedgerKind::kTlsSlot:
      return HeldSpace::kTlsSlot;
    case LedgerKind::kCriticalSection:
      return HeldSpace::kCriticalSection;
    case LedgerKind::kAtom:
      return HeldSpace::kAtom;
    case LedgerKind::kRegistryKey:
      return HeldSpace::kRegistry;
    case LedgerKind::kStream:
      return HeldSpace::kStream;
    default:
      return HeldSpace::kMemory;  // the heaps and the C heap
  }
}

void HeldValues::Add(const void* value, LedgerKind kind) {
  Held& held = Space(SpaceOf(kind))[value];
  held.kind = kind;
  ++held.times;
}

bool HeldValues::Remove(HeldSpace space, const void* value, LedgerKind* kind) {
  Values& values = Space(space);
  const auto found = values.find(value);
  if (found == values.end()) return false;
  *kind = found->second.kind;
  if (--found->second.times == 0) values.erase(found);
  return true;
}

const LedgerKind* HeldValues::Find(HeldSpace space, const void* value) const {
  const Values& values = In(space);
  const auto found = values.find(value);
  return found == values.end() ? nullptr : &found->second.kind;
}
