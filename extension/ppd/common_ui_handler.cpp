#include "common_ui_handler.h"

#include <cstdio>

#include "device_tree.h"
#include "document_tree.h"
#include "ppd_model.h"
#include "ppd_path.h"

namespace {

constexpr int kAnsiKeywordBytes = 260;
constexpr DWORD kDriverSettingBytes = 256;

const char16_t* Units(const WCHAR* text) { return reinterpret_cast<const char16_t*>(text); }
const WCHAR* Wide(const char16_t* text) { return reinterpret_cast<const WCHAR*>(text); }

// Builds the model of the printer's PPD. A PPD that cannot be opened gives
// an empty model; no path leaves the context without one, so the next
// first call tries again.
void BuildModelOnce(const OEMCUIPPARAM* param, UiContext* context) {
  if (context->pPpdModel != nullptr) return;
  WCHAR path[MAX_PATH] = {};
  if (!GetPpdPath(param->hOEMHeap, param->hPrinter, path)) return;
  FILE* file = _wfopen(path, L"r");
  context->pPpdModel = BuildPpdModel(ReadPpdFileByte, file);
  if (file != nullptr) fclose(file);
}

// Takes the installed equipment from the driver and works out again which
// options it rules out.
void RefreshInstalledEquipment(const OEMCUIPPARAM* param, UiContext* context) {
  PpdModel* model = context->pPpdModel;
  for (int32_t i = 0; i < model->featureCount; ++i) {
    const PpdFeature* feature = model->GetFeature(i);
    if (feature == nullptr || !PpdTextEquals(&feature->group, kInstallableOptionsGroup)) continue;
    WCHAR value[MAX_PATH] = {};
    if (QueryInstalledSetting(param->poemuiobj, context, Wide(feature->keyword.characters),
                              value) == S_OK)
      SetInstallableValue(model, feature->keyword.characters, Units(value), false);
  }
  SetInstallableValue(model, nullptr, nullptr, true);
}

void FirstCall(DWORD dwMode, POEMCUIPPARAM param, UiContext* context) {
  param->cOEMOptItems = 0;
  BuildModelOnce(param, context);
  if (dwMode == OEMCUIP_DOCPROP && context->pPpdModel != nullptr)
    RefreshInstalledEquipment(param, context);
}

}  // namespace

HRESULT HandleCommonUIProp(DWORD dwMode, POEMCUIPPARAM pOemCUIPParam, UiContext* context) {
  // The driver always passes both; without them there is nothing to adjust.
  if (pOemCUIPParam == nullptr || context == nullptr) return S_OK;

  if (pOemCUIPParam->pOEMOptItems == nullptr) {
    FirstCall(dwMode, pOemCUIPParam, context);
  } else if (dwMode == OEMCUIP_DOCPROP) {
    pOemCUIPParam->OEMCUIPCallback = CommonUICallback;
    pOemCUIPParam->pOEMUserData = context;
    AdjustDocumentTree(pOemCUIPParam, context);
  } else if (dwMode == OEMCUIP_PRNPROP) {
    AdjustDeviceTree(pOemCUIPParam);
  }
  return S_OK;
}

HRESULT QueryInstalledSetting(POEMUIOBJ poemuiobj, UiContext* context, const WCHAR* keyword,
                              WCHAR* value) {
  // Without the driver's helper interface, or without a keyword after the
  // asterisk, there is nothing to ask.
  if (context == nullptr || context->pOemDriverUI == nullptr || keyword == nullptr ||
      keyword[0] == 0 || value == nullptr)
    return E_FAIL;

  char ansiKeyword[kAnsiKeywordBytes] = {};
  if (WideCharToMultiByte(CP_ACP, 0, keyword + 1, -1, ansiKeyword, kAnsiKeywordBytes, nullptr,
                          nullptr) == 0)
    return E_FAIL;

  char option[kDriverSettingBytes] = {};
  DWORD needed = 0;
  DWORD optionsReturned = 0;
  const HRESULT hr = context->pOemDriverUI->DrvGetDriverSetting(
      poemuiobj, ansiKeyword, option, kDriverSettingBytes, &needed, &optionsReturned);
  if (hr != S_OK) return hr;
  option[kDriverSettingBytes - 1] = 0;  // a full buffer still ends here
  if (MultiByteToWideChar(CP_ACP, 0, option, -1, value, MAX_PATH) == 0) return E_FAIL;
  return S_OK;
}
