// The ledger's kernel functions: libraries, heaps, global and local
// memory, files and other kernel objects, TLS slots, critical sections,
// atoms and registry keys.
#include "ledger_imports.h"
#include "ledger_state.h"

namespace {

// A library of another name than the listed system ones runs code of its
// own, at its start-up and for the plug-in, that the ledger does not count.
void CheckLibraryName(HMODULE module) {
  char path[MAX_PATH] = {};
  GetModuleFileNameA(module, path, MAX_PATH);
  const char* name = path;
  for (const char* at = path; *at != 0; ++at) {
    if (*at == '\\' || *at == '/') name = at + 1;
  }
  if (IsListedSystemLibrary(name)) return;
  TheLedger().unlistedLibraries.insert(std::wstring(name, name + lstrlenA(name)));
}

void HoldLibrary(HMODULE module) {
  if (module == nullptr) return;
  CheckLibraryName(module);
  ++TheLedger().libraries[module];
  ++Line(LedgerKind::kLibrary).acquired;
}

HMODULE WINAPI LedgerLoadLibraryW(LPCWSTR name) {
  HMODULE module = LoadLibraryW(name);
  HoldLibrary(module);
  return module;
}

HMODULE WINAPI LedgerLoadLibraryA(LPCSTR name) {
  HMODULE module = LoadLibraryA(name);
  HoldLibrary(module);
  return module;
}

HMODULE WINAPI LedgerLoadLibraryExW(LPCWSTR name, HANDLE file, DWORD flags) {
  HMODULE module = LoadLibraryExW(name, file, flags);
  HoldLibrary(module);
  return module;
}

BOOL WINAPI LedgerFreeLibrary(HMODULE module) {
  auto& libraries = TheLedger().libraries;
  const auto found = libraries.find(module);
  if (found != libraries.end() && found->second > 0) {
    --found->second;
    ++Line(LedgerKind::kLibrary).released;
  } else {
    ++TheLedger().overReleased[static_cast<int>(HeldSpace::kLibrary)];
  }
  return FreeLibrary(module);
}

LPVOID WINAPI LedgerHeapAlloc(HANDLE heap, DWORD flags, SIZE_T bytes) {
  void* block = HeapAlloc(heap, flags, bytes);
  AcquireBlock(block, heap == TheLedger().driverHeap ? LedgerKind::kDriverHeap
                                                     : LedgerKind::kOtherHeap,
               bytes);
  return block;
}

LPVOID WINAPI LedgerHeapReAlloc(HANDLE heap, DWORD flags, LPVOID block, SIZE_T bytes) {
  void* moved = HeapReAlloc(heap, flags, block, bytes);
  if (moved != nullptr) ResizeBlock(block, moved, bytes);
  return moved;
}

BOOL WINAPI LedgerHeapFree(HANDLE heap, DWORD flags, LPVOID block) {
  return GivenBack(HeapFree(heap, flags, block), HeldSpace::kMemory, block);
}

// Global and local memory are one kind of block since Win32: either
// function frees or resizes either; the two kinds say which one made it.
HGLOBAL MovedMemory(HGLOBAL memory, HGLOBAL moved) {
  if (moved != nullptr && moved != memory) Move(HeldSpace::kGlobalMemory, memory, moved);
  return moved;
}

// The free functions answer null when they freed the block.
HGLOBAL FreedMemory(HGLOBAL memory, HGLOBAL left) {
  if (left == nullptr) GiveBack(HeldSpace::kGlobalMemory, memory);
  return left;
}

HGLOBAL WINAPI LedgerGlobalAlloc(UINT flags, SIZE_T bytes) {
  return Held(GlobalAlloc(flags, bytes), LedgerKind::kGlobalMemory);
}

HGLOBAL WINAPI LedgerGlobalReAlloc(HGLOBAL memory, SIZE_T bytes, UINT flags) {
  return MovedMemory(memory, GlobalReAlloc(memory, bytes, flags));
}

HGLOBAL WINAPI LedgerGlobalFree(HGLOBAL memory) { return FreedMemory(memory, GlobalFree(memory)); }

HLOCAL WINAPI LedgerLocalAlloc(UINT flags, SIZE_T bytes) {
  return Held(LocalAlloc(flags, bytes), LedgerKind::kLocalMemory);
}

HLOCAL WINAPI LedgerLocalReAlloc(HLOCAL memory, SIZE_T bytes, UINT flags) {
  return MovedMemory(memory, LocalReAlloc(memory, bytes, flags));
}

HLOCAL WINAPI LedgerLocalFree(HLOCAL memory) { return FreedMemory(memory, LocalFree(memory)); }

HANDLE WINAPI LedgerCreateFileW(LPCWSTR path, DWORD access, DWORD share,
                                LPSECURITY_ATTRIBUTES security, DWORD disposition, DWORD flags,
                                HANDLE templateFile) {
  HANDLE file = CreateFileW(path, access, share, security, disposition, flags, templateFile);
  if (file != INVALID_HANDLE_VALUE) Acquire(file, LedgerKind::kFile);
  return file;
}

HANDLE WINAPI LedgerCreateSemaphoreW(LPSECURITY_ATTRIBUTES security, LONG initial, LONG maximum,
                                     LPCWSTR name) {
  return Held(CreateSemaphoreW(security, initial, maximum, name), LedgerKind::kKernelObject);
}

HANDLE WINAPI LedgerCreateEventW(LPSECURITY_ATTRIBUTES security, BOOL manualReset,
                                 BOOL initialState, LPCWSTR name) {
  return Held(CreateEventW(security, manualReset, initialState, name), LedgerKind::kKernelObject);
}

HANDLE WINAPI LedgerCreateMutexW(LPSECURITY_ATTRIBUTES security, BOOL initialOwner,
                                 LPCWSTR name) {
  return Held(CreateMutexW(security, initialOwner, name), LedgerKind::kKernelObject);
}

BOOL WINAPI LedgerCloseHandle(HANDLE handle) {
  return GivenBack(CloseHandle(handle), HeldSpace::kKernel, handle);
}

// Slot 0 is a slot: the ledger holds each one as its number plus one.
void* TlsKey(DWORD slot) { return reinterpret_cast<void*>(static_cast<ULONG_PTR>(slot) + 1); }

DWORD WINAPI LedgerTlsAlloc() {
  const DWORD slot = TlsAlloc();
  if (slot != TLS_OUT_OF_INDEXES) Acquire(TlsKey(slot), LedgerKind::kTlsSlot);
  return slot;
}

BOOL WINAPI LedgerTlsFree(DWORD slot) {
  return GivenBack(TlsFree(slot), HeldSpace::kTlsSlot, TlsKey(slot));
}

void WINAPI LedgerInitializeCriticalSection(LPCRITICAL_SECTION section) {
  InitializeCriticalSection(section);
  Acquire(section, LedgerKind::kCriticalSection);
}

BOOL WINAPI LedgerInitializeCriticalSectionAndSpinCount(LPCRITICAL_SECTION section, DWORD spins) {
  const BOOL initialized = InitializeCriticalSectionAndSpinCount(section, spins);
  if (initialized) Acquire(section, LedgerKind::kCriticalSection);
  return initialized;
}

void WINAPI LedgerDeleteCriticalSection(LPCRITICAL_SECTION section) {
  GiveBack(HeldSpace::kCriticalSection, section);
  DeleteCriticalSection(section);
}

void* AtomKey(ATOM atom) { return reinterpret_cast<void*>(static_cast<ULONG_PTR>(atom)); }

// Adding a name that is there already counts the same atom once more.
ATOM WINAPI LedgerGlobalAddAtomW(LPCWSTR name) {
  const ATOM atom = GlobalAddAtomW(name);
  if (atom != 0) Acquire(AtomKey(atom), LedgerKind::kAtom);
  return atom;
}

ATOM WINAPI LedgerGlobalDeleteAtom(ATOM atom) {
  const ATOM left = GlobalDeleteAtom(atom);
  if (left == 0) GiveBack(HeldSpace::kAtom, AtomKey(atom));
  return left;
}

LSTATUS WINAPI LedgerRegOpenKeyExW(HKEY parent, LPCWSTR subKey, DWORD options, REGSAM access,
                                   PHKEY key) {
  const LSTATUS status = RegOpenKeyExW(parent, subKey, options, access, key);
  if (status == ERROR_SUCCESS) Acquire(*key, LedgerKind::kRegistryKey);
  return status;
}

LSTATUS WINAPI LedgerRegCreateKeyExW(HKEY parent, LPCWSTR subKey, DWORD reserved, LPWSTR keyClass,
                                     DWORD options, REGSAM access,
                                     const LPSECURITY_ATTRIBUTES security, PHKEY key,
                                     LPDWORD disposition) {
  const LSTATUS status = RegCreateKeyExW(parent, subKey, reserved, keyClass, options, access,
                                         security, key, disposition);
  if (status == ERROR_SUCCESS) Acquire(*key, LedgerKind::kRegistryKey);
  return status;
}

LSTATUS WINAPI LedgerRegCloseKey(HKEY key) {
  const LSTATUS status = RegCloseKey(key);
  if (status == ERROR_SUCCESS) GiveBack(HeldSpace::kRegistry, key);
  return status;
}

}  // namespace

void AppendKernelRedirections(std::vector<Redirection>* redirections) {
  redirections->insert(redirections->end(), {
      {"kernel32.dll", "LoadLibraryW", Address(&LedgerLoadLibraryW), nullptr},
      {"kernel32.dll", "LoadLibraryA", Address(&LedgerLoadLibraryA), nullptr},
      {"kernel32.dll", "LoadLibraryExW", Address(&LedgerLoadLibraryExW), nullptr},
      {"kernel32.dll", "FreeLibrary", Address(&LedgerFreeLibrary), nullptr},
      {"kernel32.dll", "HeapAlloc", Address(&LedgerHeapAlloc), nullptr},
      {"kernel32.dll", "HeapReAlloc", Address(&LedgerHeapReAlloc), nullptr},
      {"kernel32.dll", "HeapFree", Address(&LedgerHeapFree), nullptr},
      {"kernel32.dll", "GlobalAlloc", Address(&LedgerGlobalAlloc), nullptr},
      {"kernel32.dll", "GlobalReAlloc", Address(&LedgerGlobalReAlloc), nullptr},
      {"kernel32.dll", "GlobalFree", Address(&LedgerGlobalFree), nullptr},
      {"kernel32.dll", "LocalAlloc", Address(&LedgerLocalAlloc), nullptr},
      {"kernel32.dll", "LocalReAlloc", Address(&LedgerLocalReAlloc), nullptr},
      {"kernel32.dll", "LocalFree", Address(&LedgerLocalFree), nullptr},
      {"kernel32.dll", "CreateFileW", Address(&LedgerCreateFileW), nullptr},
      {"kernel32.dll", "CreateSemaphoreW", Address(&LedgerCreateSemaphoreW), nullptr},
      {"kernel32.dll", "CreateEventW", Address(&LedgerCreateEventW), nullptr},
      {"kernel32.dll", "CreateMutexW", Address(&LedgerCreateMutexW), nullptr},
      {"kernel32.dll", "CloseHandle", Address(&LedgerCloseHandle), nullptr},
      {"kernel32.dll", "TlsAlloc", Address(&LedgerTlsAlloc), nullptr},
      {"kernel32.dll", "TlsFree", Address(&LedgerTlsFree), nullptr},
      {"kernel32.dll", "InitializeCriticalSection", Address(&LedgerInitializeCriticalSection),
       nullptr},
      {"kernel32.dll", "InitializeCriticalSectionAndSpinCount",
       Address(&LedgerInitializeCriticalSectionAndSpinCount), nullptr},
      {"kernel32.dll", "DeleteCriticalSection", Address(&LedgerDeleteCriticalSection), nullptr},
      {"kernel32.dll", "GlobalAddAtomW", Address(&LedgerGlobalAddAtomW), nullptr},
      {"kernel32.dll", "GlobalDeleteAtom", Address(&LedgerGlobalDeleteAtom), nullptr},
      {"advapi32.dll", "RegOpenKeyExW", Address(&LedgerRegOpenKeyExW), nullptr},
      {"advapi32.dll", "RegCreateKeyExW", Address(&LedgerRegCreateKeyExW), nullptr},
      {"advapi32.dll", "RegCloseKey", Address(&LedgerRegCloseKey), nullptr},
  });
}
