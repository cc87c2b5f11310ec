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

bool Release(HeldSpace space, const void* handle) {
  LedgerKind kind;
  if (!TheLedger().held.Remove(space, handle, &kind)) return false;
  ++Line(kind).released;
  return true;
}

void Forget(HeldSpace space, const void* handle) { TheLedger().held.Drop(space, handle); }

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
