#include "settings_tree_builder.h"

#include <cstring>

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
