#include "known_feature_lookup.h"

static_assert(sizeof(WCHAR) == sizeof(char16_t), "UTF-16 units on both sides");

HRESULT LookupKnownFeature(HMODULE module, KnownFeatureName* result, const WCHAR* keyword,
                           DWORD dmPubId) {
  if (module == nullptr || result == nullptr) return E_INVALIDARG;
  if (keyword == nullptr && dmPubId == 0) return E_INVALIDARG;
  const KnownFeature* row =
      FindKnownFeature(reinterpret_cast<const char16_t*>(keyword), static_cast<uint32_t>(dmPubId));
  if (row == nullptr) return E_FAIL;
  result->featureId = row->featureId;
  const int loaded = LoadStringW(module, row->nameId, reinterpret_cast<WCHAR*>(result->szName),
                                 static_cast<int>(sizeof result->szName / sizeof result->szName[0]));
  return loaded == 0 ? E_FAIL : S_OK;
}
