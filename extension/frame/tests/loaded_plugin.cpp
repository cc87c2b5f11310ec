#include "loaded_plugin.h"

#include <gtest/gtest.h>

#include <cstdlib>

namespace {

template <typename Proc>
Proc Export(HMODULE module, const char* name) {
  return reinterpret_cast<Proc>(reinterpret_cast<void (*)()>(GetProcAddress(module, name)));
}

typedef void*(__cdecl* MallocProc)(size_t);
MallocProc g_realMalloc = nullptr;
bool g_failNext = false;

void* __cdecl FailOnce(size_t size) {
  if (g_failNext) {
    g_failNext = false;
    return nullptr;
  }
  return g_realMalloc(size);
}

}  // namespace

NextAllocationFails::NextAllocationFails(HMODULE module)
    : module_(module),
      previous_(ReplaceImport(module, "msvcrt.dll", "malloc", reinterpret_cast<void*>(&FailOnce))) {
  g_realMalloc = reinterpret_cast<MallocProc>(previous_);
  g_failNext = previous_ != nullptr;
}

NextAllocationFails::~NextAllocationFails() {
  g_failNext = false;
  if (previous_ != nullptr) ReplaceImport(module_, "msvcrt.dll", "malloc", previous_);
}

bool NextAllocationFails::Consumed() const { return !g_failNext; }

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
  if (getClassObject == nullptr) {
    ADD_FAILURE() << "the library is not loaded";
    return nullptr;
  }
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
