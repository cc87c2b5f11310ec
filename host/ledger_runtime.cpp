// The ledger's C runtime functions: the C heap (new and delete come
// through it) and C streams.
#include <cstdio>
#include <cstdlib>

#include "ledger_imports.h"
#include "ledger_state.h"

namespace {

void* __cdecl LedgerMalloc(size_t bytes) {
  void* block = std::malloc(bytes);
  AcquireBlock(block, LedgerKind::kCHeap, bytes);
  return block;
}

void* __cdecl LedgerCalloc(size_t count, size_t bytes) {
  void* block = std::calloc(count, bytes);
  AcquireBlock(block, LedgerKind::kCHeap, count * bytes);
  return block;
}

// The old block's address is used only as a key after realloc: once moved
// it is no longer a block, and nothing reads through it. A block the ledger
// does not hold (none, since it attaches before the library's start-up
// code runs) moves unseen.
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wuse-after-free"
void* __cdecl LedgerRealloc(void* block, size_t bytes) {
  if (block == nullptr) return LedgerMalloc(bytes);
  void* moved = std::realloc(block, bytes);
  if (moved != nullptr) {
    ResizeBlock(block, moved, bytes);
  } else if (bytes == 0) {
    GiveBack(HeldSpace::kMemory, block);  // the C library frees a block resized to nothing
  }
  return moved;
}
#pragma GCC diagnostic pop

void __cdecl LedgerFree(void* block) {
  if (block != nullptr) GiveBack(HeldSpace::kMemory, block);
  std::free(block);
}

FILE* __cdecl LedgerWfopen(const wchar_t* path, const wchar_t* mode) {
  return Held(_wfopen(path, mode), LedgerKind::kStream);
}

FILE* __cdecl LedgerFopen(const char* path, const char* mode) {
  return Held(std::fopen(path, mode), LedgerKind::kStream);
}

int __cdecl LedgerFclose(FILE* file) {
  GiveBack(HeldSpace::kStream, file);
  return std::fclose(file);
}

}  // namespace

void AppendRuntimeRedirections(std::vector<Redirection>* redirections) {
  redirections->insert(redirections->end(), {
      {"msvcrt.dll", "malloc", Address(&LedgerMalloc), nullptr},
      {"msvcrt.dll", "calloc", Address(&LedgerCalloc), nullptr},
      {"msvcrt.dll", "realloc", Address(&LedgerRealloc), nullptr},
      {"msvcrt.dll", "free", Address(&LedgerFree), nullptr},
      {"msvcrt.dll", "_wfopen", Address(&LedgerWfopen), nullptr},
      {"msvcrt.dll", "fopen", Address(&LedgerFopen), nullptr},
      {"msvcrt.dll", "fclose", Address(&LedgerFclose), nullptr},
  });
}
