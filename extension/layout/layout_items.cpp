#include "layout_items.h"

OPTITEM* FindFirstItem(const OEMCUIPPARAM* param, BYTE pubId) {
  if (param == nullptr || param->pDrvOptItems == nullptr) return nullptr;
  for (DWORD i = 0; i < param->cDrvOptItems; ++i) {
    if (param->pDrvOptItems[i].DMPubID == pubId) return &param->pDrvOptItems[i];
  }
  return nullptr;
}

bool HasPageOrderItem(const OEMCUIPPARAM* param) {
  return FindFirstItem(param, DMPUB_PAGEORDER) != nullptr;
}

LONG OrientationOf(const OEMCUIPPARAM* param) {
  const OPTITEM* orientation = FindFirstItem(param, DMPUB_ORIENTATION);
  return orientation != nullptr ? orientation->Sel : 0;
}

ListSource ListSourceOf(const OPTITEM* item, LONG orientationSel) {
  ListSource source;
  source.sel = item->Sel;
  source.orientationSel = orientationSel;
  const OPTTYPE* type = item->pOptType;
  if (type == nullptr) return source;
  source.count = type->Count;
  // The lists hold at most six entries, so the first 32 options are all a
  // list can show.
  const int32_t marked = source.count < 32 ? source.count : 32;
  for (int32_t k = 0; type->pOptParam != nullptr && k < marked; ++k) {
    if (type->pOptParam[k].Flags & OPTPF_OVERLAY_WARNING_ICON) source.conflicts |= 1u << k;
  }
  return source;
}

bool SelectionInConflict(const OPTITEM* item) {
  const OPTTYPE* type = item->pOptType;
  if (type == nullptr || type->pOptParam == nullptr) return true;
  if (item->Sel < 0 || item->Sel >= type->Count) return true;
  return (type->pOptParam[item->Sel].Flags & OPTPF_OVERLAY_WARNING_ICON) != 0;
}

void ReportItemToDriver(const UiContext* context, OPTITEM* item) {
  // The driver's answer is not needed: the item already holds the change.
  context->pOemDriverUI->DrvUpdateUISetting(context->pOemCUIPParam->poemuiobj, item, 0,
                                            OEMCUIP_DOCPROP);
}
