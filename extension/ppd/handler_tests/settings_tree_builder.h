// Test support: a driver settings tree as the PostScript driver hands it
// over, and a driver helper interface that answers installed equipment from
// a table and records every update.
#pragma once

#include <map>
#include <string>
#include <vector>

#include "document_tree.h"
#include "oem_interfaces.h"

// The host's settings tree, with the defaults these tests use: level 1, no
// keyword, two options for an item named by a resource id.
class SettingsTreeBuilder {
 public:
  size_t Add(DWORD dmPubId, const wchar_t* name, const std::vector<std::wstring>& optionTexts,
             LONG selection = 0, const char* keyword = nullptr, BYTE level = 1) {
    return tree_.AddItem(dmPubId, name, optionTexts, selection, keyword != nullptr ? keyword : "",
                         level);
  }
  size_t AddNamedById(WORD nameId, BYTE level, size_t optionCount = 2) {
    return tree_.AddNamedById(nameId, level, std::vector<std::wstring>(optionCount, L"option"));
  }

  OPTITEM& Item(size_t index) { return tree_.Item(index); }
  OPTPARAM& Option(size_t item, size_t option) { return tree_.Option(item, option); }
  OPTITEM* Items() { return tree_.Items(); }
  DWORD Count() const { return tree_.Count(); }

 private:
  DocumentTree tree_;
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
