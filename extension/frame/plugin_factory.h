// The class factory that makes plug-in objects.
#pragma once

#include <windows.h>
#include <unknwn.h>

class PluginUIFactory final : public IClassFactory {
 public:
  // A factory with one reference; null when memory runs out.
  static PluginUIFactory* Create();

  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** ppv) override;
  ULONG STDMETHODCALLTYPE AddRef() override;
  ULONG STDMETHODCALLTYPE Release() override;
  HRESULT STDMETHODCALLTYPE CreateInstance(IUnknown* pUnkOuter, REFIID riid, void** ppv) override;
  HRESULT STDMETHODCALLTYPE LockServer(BOOL fLock) override;

 private:
  PluginUIFactory() : m_cRef(1) {}
  ~PluginUIFactory() = default;

  LONG m_cRef;
};
