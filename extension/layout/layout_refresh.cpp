// The refresh from the driver's items, on every show or hide of the page:
// the lists are rebuilt, so changes made on other pages of the sheet
// appear here, and the page-format controls follow the pages-per-sheet
// option.
//
// Each control follows its item's current OPTIF_DISABLED on every refresh:
// a control comes on again when the driver enables its item, and the
// page-format rules never enable a control whose item is disabled.
#include "layout_refresh.h"

#include "layout_border_flags.h"
#include "layout_controls.h"
#include "layout_items.h"
#include "resource_ids.h"

namespace {

struct Refresh {
  HWND page;
  const OEMCUIPPARAM* param;
  bool pageOrder;
  LONG orientation;
  uint32_t locked;  // controls of disabled items

  void Enable(std::initializer_list<int> controls, bool enable) {
    EnableItemControls(page, locked, controls, enable);
  }
  // Controls of `item` go off while the driver disables it. Lists outside
  // the page format come on again once it no longer does; the page-format
  // controls are enabled by the page-format rules only.
  void Follow(const OPTITEM& item, std::initializer_list<int> controls, bool enableWhenFree) {
    const bool disabled = (item.Flags & OPTIF_DISABLED) != 0;
    if (disabled) {
      Enable(controls, false);
    } else if (enableWhenFree) {
      Enable(controls, true);
    }
  }
};

void RefreshList(Refresh& r, const OPTITEM& item, int list, int label, LayoutList kind,
                 bool enableWhenFree = true) {
  r.Follow(item, {list, label}, enableWhenFree);
  if (item.pOptType == nullptr) return;
  ShowList(r.page, list, kind, ListSourceOf(&item, r.orientation), r.param, item.Sel);
}

void SetBordersCheck(Refresh& r, const OPTITEM& item) {
  SetChecked(r.page, IDC_DRAW_BORDERS, (item.Flags & OPTIF_ECB_CHECKED) != 0);
}

void ShowPagesPerSheet(Refresh& r, const OPTITEM& item) {
  SetChecked(r.page, IDC_BOOKLET_BUTTON, false);
  SetChecked(r.page, IDC_PAGES_PER_SHEET_BUTTON, true);
  r.Enable({IDC_PAGES_PER_SHEET}, true);
  SelectOption(r.page, IDC_PAGES_PER_SHEET, item.Sel);
}

void RefreshPagesPerSheet(Refresh& r, const OPTITEM& item) {
  r.Follow(item, {IDC_PAGES_PER_SHEET, IDC_PAGES_PER_SHEET_BUTTON, IDC_BOOKLET_BUTTON}, false);
  r.Enable({IDC_PAGES_PER_SHEET_BUTTON}, true);
  r.Enable({IDC_BOOKLET_BUTTON}, r.pageOrder && BookletOffered(r.param));
  if (item.pOptType == nullptr) return;
  FillList(r.page, IDC_PAGES_PER_SHEET, LayoutList::kPagesPerSheet, ListSourceOf(&item, 0),
           r.param);
  if (!r.pageOrder) {
    ShowPagesPerSheet(r, item);
    r.Enable({IDC_BOOKLET_BUTTON}, false);
    return;
  }
  if (item.Sel == kBookletOption) {
    SetChecked(r.page, IDC_BOOKLET_BUTTON, true);
    SetChecked(r.page, IDC_PAGES_PER_SHEET_BUTTON, false);
    r.Enable({IDC_PAGES_PER_SHEET}, false);
    if (!kFullLayoutPage) return;
    r.Enable({IDC_ARRANGEMENT, IDC_ARRANGEMENT_LABEL}, false);
    r.Enable({IDC_BINDING_EDGE, IDC_BINDING_EDGE_LABEL, IDC_DRAW_BORDERS}, true);
    g_bordersSettled = true;
    SetBordersCheck(r, item);
    return;
  }
  ShowPagesPerSheet(r, item);
  if (!kFullLayoutPage) return;
  r.Enable({IDC_ARRANGEMENT, IDC_ARRANGEMENT_LABEL}, true);
  r.Enable({IDC_BINDING_EDGE, IDC_BINDING_EDGE_LABEL}, false);
  r.Enable({IDC_DRAW_BORDERS}, item.Sel != 0);
  g_bordersSettled = item.Sel != 0;
  SetBordersCheck(r, item);
}

void RefreshBindingEdge(Refresh& r, const OPTITEM& item) {
  RefreshList(r, item, IDC_BINDING_EDGE, IDC_BINDING_EDGE_LABEL, LayoutList::kBindingEdge, false);
  if (item.pOptType == nullptr || g_bordersSettled) return;
  r.Enable({IDC_DRAW_BORDERS}, item.Sel != 0);
  SetBordersCheck(r, item);
  g_bordersSettled = true;
}

}  // namespace

void RefreshFromItems(HWND page, const UiContext* context) {
  Refresh r{page, context->pOemCUIPParam, HasPageOrderItem(context->pOemCUIPParam),
            OrientationOf(context->pOemCUIPParam), LockedControls(context->pOemCUIPParam)};
  const OEMCUIPPARAM* param = r.param;
  for (DWORD i = 0; param->pDrvOptItems != nullptr && i < param->cDrvOptItems; ++i) {
    const OPTITEM& item = param->pDrvOptItems[i];
    switch (item.DMPubID) {
      case DMPUB_ORIENTATION:
        RefreshList(r, item, IDC_ORIENTATION, IDC_ORIENTATION_LABEL, LayoutList::kOrientation);
        break;
      case DMPUB_DUPLEX:
        RefreshList(r, item, IDC_TWO_SIDED, IDC_TWO_SIDED_LABEL, LayoutList::kTwoSided);
        break;
      case DMPUB_PAGEORDER:
        RefreshList(r, item, IDC_PAGE_ORDER, IDC_PAGE_ORDER_LABEL, LayoutList::kPageOrder);
        break;
      case DMPUB_NUP: RefreshPagesPerSheet(r, item); break;
      case DMPUB_NUP_DIRECTION:
        if (kFullLayoutPage)
          RefreshList(r, item, IDC_ARRANGEMENT, IDC_ARRANGEMENT_LABEL, LayoutList::kArrangement,
                      false);
        break;
      case DMPUB_BOOKLET_EDGE:
        if (kFullLayoutPage) RefreshBindingEdge(r, item);
        break;
      default: break;
    }
  }
  if (r.pageOrder) return;
  EnableControls(page, {IDC_PAGE_ORDER, IDC_PAGE_ORDER_LABEL}, false);
  if (kFullLayoutPage) {
    EnableControls(page, {IDC_ARRANGEMENT, IDC_ARRANGEMENT_LABEL, IDC_BINDING_EDGE,
                          IDC_BINDING_EDGE_LABEL, IDC_DRAW_BORDERS}, false);
  }
}
