#include "import_patch.h"

bool WriteImportSlot(void** slot, void* function) {
  DWORD oldProtection;
  if (!VirtualProtect(slot, sizeof(void*), PAGE_READWRITE, &oldProtection)) return false;
  *slot = function;
  VirtualProtect(slot, sizeof(void*), oldProtection, &oldProtection);
  return true;
}

void* ReplaceImport(HMODULE module, const char* dllName, const char* functionName,
                    void* replacement) {
  void* original = nullptr;
  ForEachImport(module, [&](const ImportSlot& import) {
    if (original != nullptr || import.function == nullptr ||
        lstrcmpiA(import.dll, dllName) != 0 || lstrcmpA(import.function, functionName) != 0)
      return;
    original = *import.slot;
    if (!WriteImportSlot(import.slot, replacement)) original = nullptr;
  });
  return original;
}
