#include "settings_tree_builder.h"

#include <cstring>

size_t SettingsTreeBuilder::Add(DWORD dmPubId, const wchar_t* name,
                                std::vector<std::wstring> optionTexts, LONG selection,
                                const char* keyword, BYTE level) {
  std::vector<OPTPARAM> params;
  for (const std::wstring& text : optionTexts) {
    texts_.push_back(text);
    OPTPARAM param = {};
    param.cbSize = sizeof param;
    param.pData = const_cast<LPWSTR>(texts_.back().c_str());
    params.push_back(param);
  }
  params_.push_back(std::move(params));
  OPTTYPE type = {};
  type.cbSize = sizeof type;
  type.Count = static_cast<WORD>(params_.back().size());
  type.pOptParam = params_.back().data();
  types_.push_back(type);

  OPTITEM item = {};
  item.cbSize = sizeof item;
  item.Level = level;
  item.DMPubID = static_cast<BYTE>(dmPubId);
  item.Sel = selection;
  item.pOptType = &types_.back();
  if (name != nullptr) {
    texts_.push_back(name);
    item.pName = const_cast<LPWSTR>(texts_.back().c_str());
  }
  if (keyword != nullptr) {
    keywords_.push_back(keyword);
    USERDATA data = {};
    data.dwSize = sizeof data;
    data.pKeyWordName = const_cast<PSTR>(keywords_.back().c_str());
    userData_.push_back(data);
    item.UserData = reinterpret_cast<ULONG_PTR>(&userData_.back());
  }
  items_.push_back(item);
  return items_.size() - 1;
}

size_t SettingsTreeBuilder::AddNamedById(WORD nameId, BYTE level, size_t optionCount) {
  const size_t index = Add(0, nullptr, std::vector<std::wstring>(optionCount, L"option"), 0,
                           nullptr, level);
  items_[index].pName = MAKEINTRESOURCEW(nameId);
  return index;
}

HRESULT STDMETHODCALLTYPE RecordingDriverUI::DrvGetDriverSetting(PVOID, PCSTR feature,
                                                                 PVOID output, DWORD size,
                                                                 PDWORD needed, PDWORD) {
  askedFeatures.push_back(feature);
  const auto found = installed.find(feature);
  if (found == installed.end()) return E_FAIL;
  if (found->second.size() + 1 > size) return E_FAIL;
  std::memcpy(output, found->second.c_str(), found->second.size() + 1);
  if (needed != nullptr) *needed = static_cast<DWORD>(found->second.size() + 1);
  return S_OK;
}
