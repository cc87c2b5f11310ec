// The library's entry points.
#include <windows.h>

#include "module_state.h"
#include "oem_interfaces.h"
#include "page_activation_context.h"
#include "plugin_factory.h"

extern "C" BOOL WINAPI DllMain(HINSTANCE hinstDLL, DWORD fdwReason, LPVOID) {
  switch (fdwReason) {
    case DLL_PROCESS_ATTACH:
      g_moduleInstance = hinstDLL;
      break;
    case DLL_PROCESS_DETACH:
      ReleasePageActivationContext();
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
