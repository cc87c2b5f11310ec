// The helper interface the host publishes to the plug-in, as the driver
// does. It answers no setting yet and accepts every update.
#pragma once

#include "oem_interfaces.h"

class HostDriverUI final : public IPrintOemDriverUI {
 public:
  LONG References() const { return references_; }

  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** ppv) override {
    if (ppv == nullptr) return E_POINTER;
    if (IsEqualIID(riid, IID_IUnknown) || IsEqualIID(riid, IID_IPrintOemDriverUI)) {
      *ppv = static_cast<IPrintOemDriverUI*>(this);
      AddRef();
      return S_OK;
    }
    *ppv = nullptr;
    return E_NOINTERFACE;
  }
  // The host owns this object on its stack; counts are kept to be reported.
  ULONG STDMETHODCALLTYPE AddRef() override { return InterlockedIncrement(&references_); }
  ULONG STDMETHODCALLTYPE Release() override { return InterlockedDecrement(&references_); }

  HRESULT STDMETHODCALLTYPE DrvGetDriverSetting(PVOID, PCSTR, PVOID, DWORD, PDWORD pcbNeeded,
                                                PDWORD) override {
    if (pcbNeeded != nullptr) *pcbNeeded = 0;
    return E_FAIL;
  }
  HRESULT STDMETHODCALLTYPE DrvUpgradeRegistrySetting(HANDLE, PCSTR, PCSTR) override {
    return E_NOTIMPL;
  }
  HRESULT STDMETHODCALLTYPE DrvUpdateUISetting(PVOID, PVOID, DWORD, DWORD) override {
    return S_OK;
  }

 private:
  LONG references_ = 0;
};
