#include "layout_items.h"

#include "layout_controls.h"
#include "page_controls.h"
#include "resource_ids.h"

namespace {

constexpr int kFirstControl = IDC_ORIENTATION_LABEL;
constexpr int kLastControl = IDC_DRAW_BORDERS;
static_assert(kLastControl - kFirstControl < 32, "one bit per control");

BYTE ItemBehindControl(int control) {
  switch (control) {
    case IDC_ORIENTATION_LABEL:
    case IDC_ORIENTATION: return DMPUB_ORIENTATION;
    case IDC_TWO_SIDED_LABEL:
    case IDC_TWO_SIDED: return DMPUB_DUPLEX;
    case IDC_PAGE_ORDER_LABEL:
    case IDC_PAGE_ORDER: return DMPUB_PAGEORDER;
    case IDC_PAGES_PER_SHEET_BUTTON:
    case IDC_BOOKLET_BUTTON:
    case IDC_PAGES_PER_SHEET:
    case IDC_DRAW_BORDERS: return DMPUB_NUP;
    case IDC_ARRANGEMENT_LABEL:
    case IDC_ARRANGEMENT: return DMPUB_NUP_DIRECTION;
    case IDC_BINDING_EDGE_LABEL:
    case IDC_BINDING_EDGE: return DMPUB_BOOKLET_EDGE;
    default: return 0;
  }
}

uint32_t ControlBit(int control) {
  if (control < kFirstControl || control > kLastControl) return 0;
  return 1u << (control - kFirstControl);
}

}  // namespace

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

bool OptionAvailable(const OPTITEM* item, LONG option) {
  const OPTTYPE* type = item != nullptr ? item->pOptType : nullptr;
  if (type == nullptr || type->pOptParam == nullptr) return false;
  if (option < 0 || option >= type->Count) return false;
  return (type->pOptParam[option].Flags & OPTPF_OVERLAY_WARNING_ICON) == 0;
}

bool ItemLocked(const OPTITEM& item) { return (item.Flags & OPTIF_DISABLED) != 0; }

bool BookletOffered(const OEMCUIPPARAM* param) {
  if (!OptionAvailable(FindFirstItem(param, DMPUB_NUP), kBookletOption)) return false;
  const OPTITEM* twoSided = FindFirstItem(param, DMPUB_DUPLEX);
  if (twoSided == nullptr) return true;
  if (ItemLocked(*twoSided)) return false;
  if (twoSided->pOptType == nullptr) return true;
  return OptionAvailable(twoSided, kShortEdgeOption);
}

bool BookletLocked(const OEMCUIPPARAM* param) {
  for (DWORD i = 0; param->pDrvOptItems != nullptr && i < param->cDrvOptItems; ++i) {
    const OPTITEM& item = param->pDrvOptItems[i];
    if (item.DMPubID == DMPUB_NUP && item.pOptType != nullptr && item.Sel == kBookletOption &&
        ItemLocked(item))
      return true;
  }
  return false;
}

uint32_t LockedControls(const OEMCUIPPARAM* param) {
  uint32_t locked = 0;
  for (int control = kFirstControl; control <= kLastControl; ++control) {
    const BYTE pubId = ItemBehindControl(control);
    if (pubId == 0) continue;
    for (DWORD i = 0; param->pDrvOptItems != nullptr && i < param->cDrvOptItems; ++i) {
      const OPTITEM& item = param->pDrvOptItems[i];
      if (item.DMPubID == pubId && (item.Flags & OPTIF_DISABLED) != 0) locked |= ControlBit(control);
    }
  }
  return locked;
}

void EnableItemControls(HWND page, uint32_t locked, std::initializer_list<int> controls,
                        bool enable) {
  for (int control : controls) {
    const bool on = enable && (locked & ControlBit(control)) == 0;
    SetEnabled(PageControl(page, control), on);
  }
}
