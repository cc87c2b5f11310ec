#include "ledger_state.h"

Ledger& TheLedger() {
  static Ledger* ledger = new Ledger;  // lives as long as the process
  return *ledger;
}

LedgerLine& Line(LedgerKind kind) { return TheLedger().lines[static_cast<int>(kind)]; }

void Acquire(void* handle, LedgerKind kind) {
  if (handle == nullptr) return;
  TheLedger().held.Add(handle, kind);
  ++Line(kind).acquired;
}

namespace {

void ForgetBytes(const void* block, LedgerKind kind) {
  Ledger& ledger = TheLedger();
  const auto found = ledger.blockBytes.find(block);
  if (found == ledger.blockBytes.end()) return;
  ledger.bytes[static_cast<int>(kind)] -= static_cast<long long>(found->second);
  ledger.blockBytes.erase(found);
}

}  // namespace

bool Release(HeldSpace space, const void* handle) {
  LedgerKind kind;
  if (!TheLedger().held.Remove(space, handle, &kind)) return false;
  ++Line(kind).released;
  if (space == HeldSpace::kMemory) ForgetBytes(handle, kind);
  return true;
}

void GiveBack(HeldSpace space, const void* handle) {
  if (!Release(space, handle)) ++TheLedger().overReleased[static_cast<int>(space)];
}

void AcquireBlock(void* block, LedgerKind kind, size_t bytes) {
  if (block == nullptr) return;
  Acquire(block, kind);
  Ledger& ledger = TheLedger();
  ledger.blockBytes[block] = bytes;
  ledger.bytes[static_cast<int>(kind)] += static_cast<long long>(bytes);
}

void ResizeBlock(const void* from, const void* to, size_t bytes) {
  Ledger& ledger = TheLedger();
  const LedgerKind* held = ledger.held.Find(HeldSpace::kMemory, from);
  if (held == nullptr) return;  // a block the ledger never saw moves unseen
  const LedgerKind kind = *held;
  if (to != from) Move(HeldSpace::kMemory, from, to);
  ForgetBytes(from, kind);
  ledger.blockBytes[to] = bytes;
  ledger.bytes[static_cast<int>(kind)] += static_cast<long long>(bytes);
}

void Forget(HeldSpace space, const void* handle) {
  const LedgerKind* held = TheLedger().held.Find(space, handle);
  if (held != nullptr && space == HeldSpace::kMemory) ForgetBytes(handle, *held);
  TheLedger().held.Drop(space, handle);
}

bool Holds(HeldSpace space, const void* handle) {
  return TheLedger().held.Find(space, handle) != nullptr;
}

void Move(HeldSpace space, const void* from, const void* to) {
  LedgerKind kind;
  if (TheLedger().held.Remove(space, from, &kind)) TheLedger().held.Add(to, kind);
}

bool InsidePlugin(const void* address) {
  const auto* at = static_cast<const BYTE*>(address);
  return at >= TheLedger().moduleStart && at < TheLedger().moduleEnd;
}
