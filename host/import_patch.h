// The import table of a loaded module: its slots, read and rewritten. The
// host redirects the plug-in's version query through it, and the resource
// ledger all the functions it counts.
#pragma once

#include <windows.h>


struct ImportSlot {
  const char* dll;       // as the import table names it ("KERNEL32.dll")
  const char* function;  // null for an import by ordinal, or one whose name is gone
  WORD ordinal;          // of an import by ordinal, else 0
  void** slot;           // where the loader put the function's address
};

// Calls `visit` with the ImportSlot of every imported function of the
// module, in table order. A template rather than a std::function, so that
// the test-only stand-in plug-in that uses it needs no C++ exception
// machinery.
template <typename Visit>
void ForEachImport(HMODULE module, Visit visit) {
  auto* base = reinterpret_cast<BYTE*>(module);
  const auto* dos = reinterpret_cast<const IMAGE_DOS_HEADER*>(base);
  const auto* nt = reinterpret_cast<const IMAGE_NT_HEADERS*>(base + dos->e_lfanew);
  const IMAGE_DATA_DIRECTORY& directory =
      nt->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_IMPORT];
  if (directory.VirtualAddress == 0) return;

  const auto* entry =
      reinterpret_cast<const IMAGE_IMPORT_DESCRIPTOR*>(base + directory.VirtualAddress);
  for (; entry->Name != 0; ++entry) {
    const char* dll = reinterpret_cast<const char*>(base + entry->Name);
    auto* slots = reinterpret_cast<IMAGE_THUNK_DATA*>(base + entry->FirstThunk);
    // Without its name table (some linkers leave it out) the names are gone
    // once the loader has bound the slots: such imports have no name here.
    if (entry->OriginalFirstThunk == 0) {
      for (; slots->u1.Function != 0; ++slots)
        visit({dll, nullptr, 0, reinterpret_cast<void**>(&slots->u1.Function)});
      continue;
    }
    const auto* names = reinterpret_cast<const IMAGE_THUNK_DATA*>(base + entry->OriginalFirstThunk);
    for (; names->u1.AddressOfData != 0; ++names, ++slots) {
      ImportSlot import = {dll, nullptr, 0, reinterpret_cast<void**>(&slots->u1.Function)};
      if (IMAGE_SNAP_BY_ORDINAL(names->u1.Ordinal)) {
        import.ordinal = static_cast<WORD>(IMAGE_ORDINAL(names->u1.Ordinal));
      } else {
        const auto* byName =
            reinterpret_cast<const IMAGE_IMPORT_BY_NAME*>(base + names->u1.AddressOfData);
        import.function = reinterpret_cast<const char*>(byName->Name);
      }
      visit(import);
    }
  }
}

// Writes `function` into one slot of an import table; false when its page
// cannot be made writable.
bool WriteImportSlot(void** slot, void* function);

// Redirects one function that a loaded module imports by name. Returns the
// function the module called before, or null when it does not import
// `functionName` from `dllName`.
void* ReplaceImport(HMODULE module, const char* dllName, const char* functionName,
                    void* replacement);
