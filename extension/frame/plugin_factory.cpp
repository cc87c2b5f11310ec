#include "plugin_factory.h"

#include <new>

#include "module_state.h"
#include "plugin_ui.h"

PluginUIFactory* PluginUIFactory::Create() { return new (std::nothrow) PluginUIFactory(); }

HRESULT STDMETHODCALLTYPE PluginUIFactory::QueryInterface(REFIID riid, void** ppv) {
  if (ppv == nullptr) return E_POINTER;
  if (IsEqualIID(riid, IID_IUnknown) || IsEqualIID(riid, IID_IClassFactory)) {
    *ppv = static_cast<IClassFactory*>(this);
    AddRef();
    return S_OK;
  }
  *ppv = nullptr;
  return E_NOINTERFACE;
}

ULONG STDMETHODCALLTYPE PluginUIFactory::AddRef() { return InterlockedIncrement(&m_cRef); }

ULONG STDMETHODCALLTYPE PluginUIFactory::Release() {
  const LONG count = InterlockedDecrement(&m_cRef);
  if (count == 0) {
    delete this;
    return 0;
  }
  return count;
}

HRESULT STDMETHODCALLTYPE PluginUIFactory::CreateInstance(IUnknown* pUnkOuter, REFIID riid,
                                                          void** ppv) {
  if (ppv == nullptr) return E_POINTER;
  // Callers test the pointer as well as the result: no failure leaves
  // whatever they put there.
  *ppv = nullptr;
  if (pUnkOuter != nullptr) return CLASS_E_NOAGGREGATION;

  PluginUI* object = PluginUI::Create();
  if (object == nullptr) return E_OUTOFMEMORY;
  // The creation reference goes away here, so an interface the object does
  // not serve leaves nothing alive.
  const HRESULT hr = object->QueryInterface(riid, ppv);
  object->Release();
  return hr;
}

HRESULT STDMETHODCALLTYPE PluginUIFactory::LockServer(BOOL fLock) {
  if (fLock)
    InterlockedIncrement(&g_serverLockCount);
  else
    InterlockedDecrement(&g_serverLockCount);
  return S_OK;
}
