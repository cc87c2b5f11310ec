// The library's entry points.
#include <windows.h>

#include "module_state.h"
#include "oem_interfaces.h"
#include "plugin_factory.h"
#include "shared_utils.h"

// The C++ runtime linked into the library takes a pool at start-up for
// exceptions thrown when memory runs out, and no part of it gives the pool
// back; this is its own function for that.
namespace __gnu_cxx {
void __freeres() noexcept;
}

extern "C" BOOL WINAPI DllMain(HINSTANCE hinstDLL, DWORD fdwReason, LPVOID lpvReserved) {
  switch (fdwReason) {
    case DLL_PROCESS_ATTACH:
      g_moduleInstance = hinstDLL;
      break;
    case DLL_PROCESS_DETACH:
      ReleasePageActivationContext();
      // Freed when the library is unloaded, or each load of it would lose
      // the pool; at the end of the process the system takes it anyway.
      if (lpvReserved == nullptr) __gnu_cxx::__freeres();
      break;
    default:
      break;
  }
  return TRUE;
}

extern "C" HRESULT STDAPICALLTYPE DllGetClassObject(REFCLSID rclsid, REFIID riid, void** ppv) {
  if (!IsEqualCLSID(rclsid, CLSID_PluginUI)) return CLASS_E_CLASSNOTAVAILABLE;
  if (ppv == nullptr) return E_POINTER;

  PluginUIFactory* factory = PluginUIFactory::Create();
  if (factory == nullptr) return E_OUTOFMEMORY;
  const HRESULT hr = factory->QueryInterface(riid, ppv);
  factory->Release();
  return hr;
}

extern "C" HRESULT STDAPICALLTYPE DllCanUnloadNow() {
  return (g_liveObjectCount == 0 && g_serverLockCount == 0) ? S_OK : S_FALSE;
}
