#include "known_feature_lookup.h"
#include "ppd_model.h"
#include "document_tree.h"
#include "settings_tree_items.h"

namespace {

constexpr DWORD kColorSelectionMonochrome = 0;

const char16_t* Units(LPCWSTR text) { return reinterpret_cast<const char16_t*>(text); }

struct KnownItem {
  HRESULT status = E_FAIL;
  int featureIndex = -1;
};

// Which PPD feature stands behind an item: the driver's standard items are
// found by their public id, the others by their name, which the driver
// takes from the feature's translation in the PPD.
KnownItem FindKnownItem(const OPTITEM& item, HMODULE module, const PpdModel* model) {
  KnownItem known;
  KnownFeatureName work = {};
  switch (item.DMPubID) {
    case DMPUB_DEFSOURCE:
    case DMPUB_PRINTQUALITY:
    case DMPUB_DUPLEX:
    case DMPUB_FORMNAME:
    case DMPUB_MEDIATYPE:
      known.status = LookupKnownFeature(module, &work, nullptr, item.DMPubID);
      known.featureIndex = FindFeatureByKeyword(model, KnownFeatureKeyword(work.featureId));
      break;
    default: {
      if (!IsText(item.pName)) break;
      const PpdText* keyword = FindFeatureKeywordByTranslation(model, Units(item.pName));
      known.status = LookupKnownFeature(
          module, &work,
          keyword != nullptr ? reinterpret_cast<const WCHAR*>(keyword->characters) : nullptr, 0);
      known.featureIndex = FindFeatureByTranslation(model, Units(item.pName));
      break;
    }
  }
  return known;
}

// Hides the options whose PPD option the installed equipment rules out.
// Options are only ever hidden here, never shown again.
void HideRuledOutOptions(const OPTITEM& item, const PpdFeature* feature) {
  const OPTTYPE* type = item.pOptType;
  if (type == nullptr || type->Count <= 0 || type->pOptParam == nullptr || feature == nullptr)
    return;
  for (WORD i = 0; i < type->Count; ++i) {
    OPTPARAM& option = type->pOptParam[i];
    if (!IsText(option.pData)) continue;
    for (int32_t k = 0; k < feature->optionCount; ++k) {
      const PpdOption* candidate = feature->options[k];
      if (candidate == nullptr || !PpdTextEquals(&candidate->translation, Units(option.pData)))
        continue;
      if (candidate->constrained) option.Flags |= OPTPF_HIDE;
      break;
    }
  }
}

}  // namespace

void AdjustDocumentTree(POEMCUIPPARAM param, const UiContext* context) {
  if (param->pDrvOptItems == nullptr) return;
  const PpdModel* model = context->pPpdModel;
  const HMODULE module = static_cast<HMODULE>(param->hModule);
  DWORD colorSelection = 1;

  for (DWORD i = 0; i < param->cDrvOptItems; ++i) {
    OPTITEM& item = param->pDrvOptItems[i];
    if (!context->bLegacySystem && IsHiddenLayoutItem(item.DMPubID)) item.Flags |= OPTIF_HIDE;
    if (item.DMPubID == DMPUB_COLOR) {
      colorSelection = static_cast<DWORD>(item.Sel);
      continue;
    }
    if (model == nullptr) continue;

    const KnownItem known = FindKnownItem(item, module, model);
    if (known.status != S_OK) continue;
    if (known.featureIndex >= 0) HideRuledOutOptions(item, model->GetFeature(known.featureIndex));
    if (IsColorModeItem(item) && colorSelection == kColorSelectionMonochrome)
      item.Flags |= OPTIF_DISABLED;
  }
}
