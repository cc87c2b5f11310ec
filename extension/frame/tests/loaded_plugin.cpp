#include "loaded_plugin.h"

#include <gtest/gtest.h>

#include <cstdlib>

namespace {

template <typename Proc>
Proc Export(HMODULE module, const char* name) {
  return reinterpret_cast<Proc>(reinterpret_cast<void (*)()>(GetProcAddress(module, name)));
}

}  // namespace

std::wstring LoadedPlugin::LibraryPath() {
  const wchar_t* value = _wgetenv(L"KORVAIN_DLL");
  std::wstring path = value != nullptr ? value : L"";
  for (wchar_t& c : path)
    if (c == L'/') c = L'\\';
  return path;
}

bool LoadedPlugin::Load() {
  const std::wstring path = LibraryPath();
  if (path.empty()) {
    ADD_FAILURE() << "KORVAIN_DLL names no library";
    return false;
  }
  module = LoadLibraryW(path.c_str());
  if (module == nullptr) {
    ADD_FAILURE() << "LoadLibraryW failed with " << GetLastError();
    return false;
  }
  getClassObject = Export<DllGetClassObjectProc>(module, "DllGetClassObject");
  canUnloadNow = Export<DllCanUnloadNowProc>(module, "DllCanUnloadNow");
  if (getClassObject == nullptr || canUnloadNow == nullptr) {
    ADD_FAILURE() << "the library lacks an export";
    return false;
  }
  return true;
}

void LoadedPlugin::Unload() {
  if (module != nullptr) FreeLibrary(module);
  module = nullptr;
}

IClassFactory* LoadedPlugin::Factory() {
  void* factory = nullptr;
  const HRESULT hr = getClassObject(CLSID_PluginUI, IID_IClassFactory, &factory);
  EXPECT_EQ(hr, S_OK);
  return static_cast<IClassFactory*>(factory);
}

IPrintOemUI2* LoadedPlugin::CreateObject() {
  IClassFactory* factory = Factory();
  if (factory == nullptr) return nullptr;
  void* object = nullptr;
  const HRESULT hr = factory->CreateInstance(nullptr, IID_IPrintOemUI2, &object);
  factory->Release();
  EXPECT_EQ(hr, S_OK);
  return static_cast<IPrintOemUI2*>(object);
}

void* ReplaceImport(HMODULE module, const char* dllName, const char* functionName,
                    void* replacement) {
  auto* base = reinterpret_cast<BYTE*>(module);
  auto* dos = reinterpret_cast<IMAGE_DOS_HEADER*>(base);
  auto* nt = reinterpret_cast<IMAGE_NT_HEADERS*>(base + dos->e_lfanew);
  const IMAGE_DATA_DIRECTORY& directory =
      nt->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_IMPORT];
  if (directory.VirtualAddress == 0) return nullptr;

  for (auto* entry = reinterpret_cast<IMAGE_IMPORT_DESCRIPTOR*>(base + directory.VirtualAddress);
       entry->Name != 0; ++entry) {
    if (lstrcmpiA(reinterpret_cast<const char*>(base + entry->Name), dllName) != 0) continue;
    auto* names = reinterpret_cast<IMAGE_THUNK_DATA*>(base + entry->OriginalFirstThunk);
    auto* slots = reinterpret_cast<IMAGE_THUNK_DATA*>(base + entry->FirstThunk);
    for (; names->u1.AddressOfData != 0; ++names, ++slots) {
      if (IMAGE_SNAP_BY_ORDINAL(names->u1.Ordinal)) continue;
      auto* byName = reinterpret_cast<IMAGE_IMPORT_BY_NAME*>(base + names->u1.AddressOfData);
      if (lstrcmpA(reinterpret_cast<const char*>(byName->Name), functionName) != 0) continue;
      DWORD oldProtection;
      VirtualProtect(&slots->u1.Function, sizeof(void*), PAGE_READWRITE, &oldProtection);
      void* original = reinterpret_cast<void*>(slots->u1.Function);
      slots->u1.Function = reinterpret_cast<ULONG_PTR>(replacement);
      VirtualProtect(&slots->u1.Function, sizeof(void*), oldProtection, &oldProtection);
      return original;
    }
  }
  return nullptr;
}
