#include "common_ui_handler.h"
#include "settings_tree_items.h"

namespace {

OPTITEM* FindColorModeItem(const OEMCUIPPARAM* param) {
  if (param->pDrvOptItems == nullptr) return nullptr;
  for (DWORD i = 0; i < param->cDrvOptItems; ++i)
    if (IsColorModeItem(param->pDrvOptItems[i])) return &param->pDrvOptItems[i];
  return nullptr;
}

// The colour-mode item takes the colour item's selection (0 monochrome,
// 1 colour) and is disabled at monochrome.
void FollowColorItem(const OPTITEM& colorItem, const OEMCUIPPARAM* param,
                     const UiContext* context) {
  OPTITEM* colorMode = FindColorModeItem(param);
  if (colorMode == nullptr) return;
  if (colorItem.Sel == 0)
    colorMode->Flags |= OPTIF_DISABLED;
  else
    colorMode->Flags &= ~OPTIF_DISABLED;
  colorMode->Sel = colorItem.Sel;
  if (context != nullptr && context->pOemDriverUI != nullptr)
    context->pOemDriverUI->DrvUpdateUISetting(param->poemuiobj, colorMode, 0, OEMCUIP_DOCPROP);
}

short DuplexModeOfOption(LONG selection) {
  switch (selection) {
    case 1: return DMDUP_HORIZONTAL;
    case 2: return DMDUP_VERTICAL;
    default: return DMDUP_SIMPLEX;
  }
}

// Commits one changed layout item, unless its selection is in conflict or
// the driver has locked the item since it changed.
void CommitItem(OPTITEM& item, const OEMCUIPPARAM* param, const UiContext* context) {
  const OPTTYPE* type = item.pOptType;
  if (type == nullptr || (item.Flags & OPTIF_CHANGEONCE) == 0) return;
  if (item.Flags & OPTIF_DISABLED) return;
  const LONG selection = item.Sel;
  if (selection < 0 || selection >= type->Count || type->pOptParam == nullptr) return;
  if (type->pOptParam[selection].Flags & OPTPF_OVERLAY_WARNING_ICON) return;

  const HRESULT hr = context->pOemDriverUI->DrvUpdateUISetting(
      param->poemuiobj, &item, static_cast<DWORD>(selection), OEMCUIP_DOCPROP);
  if (hr == S_OK && item.DMPubID == DMPUB_DUPLEX && param->pPublicDM != nullptr)
    param->pPublicDM->dmDuplex = DuplexModeOfOption(selection);
}

void CommitLayoutItems(const OEMCUIPPARAM* param, const UiContext* context) {
  if (param->pDrvOptItems == nullptr || context == nullptr || context->pOemDriverUI == nullptr)
    return;
  for (DWORD i = 0; i < param->cDrvOptItems; ++i) {
    OPTITEM& item = param->pDrvOptItems[i];
    if (IsCommittedLayoutItem(item.DMPubID)) CommitItem(item, param, context);
  }
}

}  // namespace

LONG APIENTRY CommonUICallback(PCPSUICBPARAM pCallbackParam, POEMCUIPPARAM pOemCUIPParam) {
  if (pCallbackParam == nullptr || pOemCUIPParam == nullptr) return CPSUICB_ACTION_OPTIF_CHANGED;
  const auto* context = static_cast<const UiContext*>(pOemCUIPParam->pOEMUserData);

  switch (pCallbackParam->Reason) {
    case CPSUICB_REASON_SEL_CHANGED:
      if (pCallbackParam->pCurItem != nullptr && pCallbackParam->pCurItem->DMPubID == DMPUB_COLOR)
        FollowColorItem(*pCallbackParam->pCurItem, pOemCUIPParam, context);
      return CPSUICB_ACTION_OPTIF_CHANGED;
    case CPSUICB_REASON_APPLYNOW:
      CommitLayoutItems(pOemCUIPParam, context);
      return CPSUICB_ACTION_ITEMS_APPLIED;
    default:
      return CPSUICB_ACTION_OPTIF_CHANGED;
  }
}
