// Test support: a driver settings tree as the PostScript driver hands it
// over, and a driver helper interface that answers installed equipment from
// a table and records every update.
#pragma once

#include <map>
#include <string>
#include <vector>

#include "oem_interfaces.h"
#include "option_item_store.h"

class SettingsTreeBuilder {
 public:
  // Adds an item with options named by `optionTexts`; returns its index.
  size_t Add(DWORD dmPubId, const wchar_t* name, const std::vector<std::wstring>& optionTexts,
             LONG selection = 0, const char* keyword = nullptr, BYTE level = 1) {
    return store_.Add(dmPubId, name, optionTexts, selection, keyword ? keyword : "", level);
  }
  // An item named by a string resource id of the driver.
  size_t AddNamedById(WORD nameId, BYTE level, size_t optionCount = 2) {
    return store_.AddNamedById(nameId, level, std::vector<std::wstring>(optionCount, L"option"));
  }

  OPTITEM& Item(size_t index) { return store_.Item(index); }
  OPTPARAM& Option(size_t item, size_t option) { return Item(item).pOptType->pOptParam[option]; }
  OPTITEM* Items() { return store_.Items(); }
  DWORD Count() const { return store_.Count(); }

 private:
  OptionItemStore store_;
};

struct RecordedUpdate {
  OPTITEM* item;
  DWORD previousSelection;
  DWORD mode;
};

class RecordingDriverUI final : public IPrintOemDriverUI {
 public:
  std::map<std::string, std::string> installed;  // feature keyword -> option
  std::vector<std::string> askedFeatures;
  std::vector<RecordedUpdate> updates;
  HRESULT updateResult = S_OK;

  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID, void** ppv) override {
    *ppv = nullptr;
    return E_NOINTERFACE;
  }
  ULONG STDMETHODCALLTYPE AddRef() override { return 2; }
  ULONG STDMETHODCALLTYPE Release() override { return 1; }
  HRESULT STDMETHODCALLTYPE DrvGetDriverSetting(PVOID, PCSTR feature, PVOID output, DWORD size,
                                                PDWORD needed, PDWORD) override;
  HRESULT STDMETHODCALLTYPE DrvUpgradeRegistrySetting(HANDLE, PCSTR, PCSTR) override {
    return E_NOTIMPL;
  }
  HRESULT STDMETHODCALLTYPE DrvUpdateUISetting(PVOID, PVOID item, DWORD previous,
                                               DWORD mode) override {
    updates.push_back({static_cast<OPTITEM*>(item), previous, mode});
    return updateResult;
  }
};
