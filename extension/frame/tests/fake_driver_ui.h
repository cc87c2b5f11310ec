// Test support: the driver's helper interface, as a strict fake. Any call
// the plug-in should not make fails the test.
#pragma once

#include <gtest/gtest.h>

#include "oem_interfaces.h"

class FakeDriverUI final : public IPrintOemDriverUI {
 public:
  explicit FakeDriverUI(bool servesDriverUI = true) : servesDriverUI_(servesDriverUI) {}

  LONG references() const { return references_; }
  int queries() const { return queries_; }

  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** ppv) override {
    ++queries_;
    if (IsEqualIID(riid, IID_IUnknown) ||
        (servesDriverUI_ && IsEqualIID(riid, IID_IPrintOemDriverUI))) {
      *ppv = static_cast<IPrintOemDriverUI*>(this);
      AddRef();
      return S_OK;
    }
    *ppv = nullptr;
    return E_NOINTERFACE;
  }
  ULONG STDMETHODCALLTYPE AddRef() override { return ++references_; }
  ULONG STDMETHODCALLTYPE Release() override {
    EXPECT_GT(references_, 0) << "released more often than referenced";
    return --references_;
  }
  HRESULT STDMETHODCALLTYPE DrvGetDriverSetting(PVOID, PCSTR, PVOID, DWORD, PDWORD,
                                                PDWORD) override {
    ADD_FAILURE() << "unexpected DrvGetDriverSetting";
    return E_FAIL;
  }
  HRESULT STDMETHODCALLTYPE DrvUpgradeRegistrySetting(HANDLE, PCSTR, PCSTR) override {
    ADD_FAILURE() << "unexpected DrvUpgradeRegistrySetting";
    return E_FAIL;
  }
  HRESULT STDMETHODCALLTYPE DrvUpdateUISetting(PVOID, PVOID, DWORD, DWORD) override {
    ADD_FAILURE() << "unexpected DrvUpdateUISetting";
    return E_FAIL;
  }

 private:
  bool servesDriverUI_;
  LONG references_ = 0;
  int queries_ = 0;
};
