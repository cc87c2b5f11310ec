// The user's changes on the Layout page: list selections, the two radio
// buttons and the borders box write into the driver's items at once; the
// driver hears of the pages-per-sheet and borders changes straight away
// and of orientation and two-sided changes when the page is left or
// applied.
#include "layout_changes.h"

#include "layout_border_flags.h"
#include "layout_controls.h"
#include "layout_items.h"
#include "resource_ids.h"

namespace {

BYTE ItemOfControl(int control) {
  switch (control) {
    case IDC_ORIENTATION: return DMPUB_ORIENTATION;
    case IDC_TWO_SIDED: return DMPUB_DUPLEX;
    case IDC_PAGE_ORDER: return DMPUB_PAGEORDER;
    case IDC_PAGES_PER_SHEET: return DMPUB_NUP;
    case IDC_ARRANGEMENT: return kFullLayoutPage ? DMPUB_NUP_DIRECTION : 0;
    case IDC_BINDING_EDGE: return kFullLayoutPage ? DMPUB_BOOKLET_EDGE : 0;
    default: return 0;
  }
}

// Every control the changes enable stays off while the driver disables
// its item: the page never lets the user edit what the driver has locked.
void ShowFullPageFormatForPages(HWND page, uint32_t locked) {
  EnableItemControls(page, locked, {IDC_ARRANGEMENT, IDC_ARRANGEMENT_LABEL}, true);
  EnableControls(page, {IDC_BINDING_EDGE, IDC_BINDING_EDGE_LABEL}, false);
}

void ShowFullPageFormatForBooklet(HWND page, uint32_t locked) {
  EnableControls(page, {IDC_ARRANGEMENT, IDC_ARRANGEMENT_LABEL}, false);
  EnableItemControls(page, locked, {IDC_BINDING_EDGE, IDC_BINDING_EDGE_LABEL}, true);
}

// One page per sheet takes the borders away and re-arms their default;
// the first move to more pages (or booklet) after that turns them on.
void ApplyBordersRule(HWND page, OPTITEM* pagesPerSheet, uint32_t locked) {
  if (pagesPerSheet->Sel == 0) {
    g_bordersDefaulted = false;
    SetChecked(page, IDC_DRAW_BORDERS, false);
    EnableControls(page, {IDC_DRAW_BORDERS}, false);
    return;
  }
  if (!g_bordersDefaulted) {
    g_bordersDefaulted = true;
    pagesPerSheet->Flags |= OPTIF_ECB_CHECKED;
  }
  SetChecked(page, IDC_DRAW_BORDERS, (pagesPerSheet->Flags & OPTIF_ECB_CHECKED) != 0);
  EnableItemControls(page, locked, {IDC_DRAW_BORDERS}, true);
}

void ShowPagesPerSheetChoice(HWND page, bool fullFormat, uint32_t locked) {
  SetChecked(page, IDC_BOOKLET_BUTTON, false);
  SetChecked(page, IDC_PAGES_PER_SHEET_BUTTON, true);
  SelectOption(page, IDC_PAGES_PER_SHEET, kTwoPagesOption);
  EnableItemControls(page, locked, {IDC_PAGES_PER_SHEET}, true);
  if (fullFormat) ShowFullPageFormatForPages(page, locked);
}

// Booklets print on both sides: "None" leaves booklet for two pages per sheet.
void LeaveBookletForTwoPages(HWND page, const UiContext* context, bool fullFormat) {
  const OEMCUIPPARAM* param = context->pOemCUIPParam;
  for (DWORD i = 0; param->pDrvOptItems != nullptr && i < param->cDrvOptItems; ++i) {
    OPTITEM& item = param->pDrvOptItems[i];
    if (item.DMPubID != DMPUB_NUP || item.pOptType == nullptr || item.Sel != kBookletOption)
      continue;
    item.Flags |= OPTIF_CHANGEONCE;
    item.Sel = kTwoPagesOption;
  }
  ShowPagesPerSheetChoice(page, fullFormat, LockedControls(param));
}

void RelistTwoSided(HWND page, const UiContext* context, LONG orientation) {
  const OPTITEM* twoSided = FindFirstItem(context->pOemCUIPParam, DMPUB_DUPLEX);
  if (twoSided == nullptr || twoSided->pOptType == nullptr) return;
  ShowList(page, IDC_TWO_SIDED, LayoutList::kTwoSided, ListSourceOf(twoSided, orientation),
           context->pOemCUIPParam, twoSided->Sel);
}

}  // namespace

INT_PTR OnSelectionChange(HWND page, const UiContext* context, int control) {
  const BYTE pubId = ItemOfControl(control);
  if (pubId == 0 && control != IDC_ARRANGEMENT && control != IDC_BINDING_EDGE) return 1;
  if (context->pOemDriverUI == nullptr) return 0;
  const LONG option = SelectedOption(page, control);
  const bool fullFormat = kFullLayoutPage && HasPageOrderItem(context->pOemCUIPParam);
  OPTITEM* item = pubId != 0 ? FindFirstItem(context->pOemCUIPParam, pubId) : nullptr;
  // A list with nothing selected names no option to set.
  if (item == nullptr || item->pOptType == nullptr || option < 0) return 1;
  const bool leavesBooklet =
      pubId == DMPUB_DUPLEX && option == 0 && IsChecked(page, IDC_BOOKLET_BUTTON);
  // What the driver has locked stays as it is, also where a rule would
  // change it for the user's choice; the list shows the item's option again.
  if (ItemLocked(*item) || (leavesBooklet && BookletLocked(context->pOemCUIPParam))) {
    SelectOption(page, control, item->Sel);
    return 1;
  }

  const LONG previous = item->Sel;
  item->Flags |= OPTIF_CHANGEONCE;
  item->Sel = option;
  if (leavesBooklet) {
    LeaveBookletForTwoPages(page, context, fullFormat);
  } else if (pubId == DMPUB_ORIENTATION && option != previous) {
    RelistTwoSided(page, context, option);
  } else if (pubId == DMPUB_NUP && fullFormat) {
    ApplyBordersRule(page, item, LockedControls(context->pOemCUIPParam));
    ReportItemToDriver(context, item);
  }
  MarkChangedAndRepaint(page);
  return 1;
}

// Booklets print on both sides: from "None" the sheet turns on its short
// edge. The button is offered only where the driver's items allow both,
// so a two-sided item changed here is never locked.
static void ChooseBooklet(HWND page, const UiContext* context, OPTITEM* pagesPerSheet) {
  pagesPerSheet->Sel = kBookletOption;
  if (SelectedOption(page, IDC_TWO_SIDED) != 0) return;
  OPTITEM* twoSided = FindFirstItem(context->pOemCUIPParam, DMPUB_DUPLEX);
  if (twoSided == nullptr || twoSided->pOptType == nullptr) return;
  SelectOption(page, IDC_TWO_SIDED, kShortEdgeOption);
  twoSided->Flags |= OPTIF_CHANGEONCE;
  twoSided->Sel = kShortEdgeOption;
}

// An automatic radio button checks itself before the page hears of the
// click: a click the page refuses (the driver may have locked an item since
// the page last refreshed) must show again what the item holds. Without a
// usable item the refresh never checked either button.
static INT_PTR RefuseRadioClick(HWND page, const OPTITEM* pagesPerSheet) {
  const bool known = pagesPerSheet != nullptr && pagesPerSheet->pOptType != nullptr;
  const bool booklet = known && pagesPerSheet->Sel == kBookletOption;
  SetChecked(page, IDC_BOOKLET_BUTTON, booklet);
  SetChecked(page, IDC_PAGES_PER_SHEET_BUTTON, known && !booklet);
  return 1;
}

INT_PTR OnClick(HWND page, const UiContext* context, int control) {
  if (control != IDC_PAGES_PER_SHEET_BUTTON && control != IDC_BOOKLET_BUTTON &&
      control != IDC_DRAW_BORDERS)
    return 1;
  if (context->pOemDriverUI == nullptr) return 0;
  const OEMCUIPPARAM* param = context->pOemCUIPParam;
  const bool fullFormat = kFullLayoutPage && HasPageOrderItem(param);
  OPTITEM* item = FindFirstItem(param, DMPUB_NUP);
  const bool radio = control != IDC_DRAW_BORDERS;
  // All three buttons edit the pages-per-sheet item.
  if (item == nullptr || item->pOptType == nullptr || ItemLocked(*item))
    return radio ? RefuseRadioClick(page, item) : 1;
  if (control == IDC_BOOKLET_BUTTON && !BookletOffered(param)) return RefuseRadioClick(page, item);
  item->Flags |= OPTIF_CHANGEONCE;
  const uint32_t locked = LockedControls(param);

  if (control == IDC_DRAW_BORDERS && fullFormat) {
    const bool checked = IsChecked(page, IDC_DRAW_BORDERS);
    const bool itemChecked = (item->Flags & OPTIF_ECB_CHECKED) != 0;
    if (checked != itemChecked) {
      item->Flags ^= OPTIF_ECB_CHECKED;
      ReportItemToDriver(context, item);
    }
    MarkChanged(page);
    return 1;
  }
  if (control == IDC_PAGES_PER_SHEET_BUTTON) {
    // A booklet button the page no longer offers is disabled, and a click
    // on its sibling does not uncheck a disabled radio button.
    SetChecked(page, IDC_BOOKLET_BUTTON, false);
    SetChecked(page, IDC_PAGES_PER_SHEET_BUTTON, true);
    if (item->Sel == kBookletOption) {
      item->Sel = kTwoPagesOption;
      SelectOption(page, IDC_PAGES_PER_SHEET, kTwoPagesOption);
    }
    EnableItemControls(page, locked, {IDC_PAGES_PER_SHEET}, true);
    if (fullFormat) {
      ShowFullPageFormatForPages(page, locked);
      ApplyBordersRule(page, item, locked);
    }
  } else if (control == IDC_BOOKLET_BUTTON) {
    ChooseBooklet(page, context, item);
    SelectOption(page, IDC_PAGES_PER_SHEET, kTwoPagesOption);
    EnableControls(page, {IDC_PAGES_PER_SHEET}, false);
    if (fullFormat) {
      ShowFullPageFormatForBooklet(page, locked);
      ApplyBordersRule(page, item, locked);
    }
  } else {
    EnableItemControls(page, locked, {IDC_PAGES_PER_SHEET}, true);
  }
  MarkChangedAndRepaint(page);
  return 1;
}

void ReportChangedItems(const UiContext* context) {
  if (context->pOemDriverUI == nullptr) return;
  const OEMCUIPPARAM* param = context->pOemCUIPParam;
  for (DWORD i = 0; param->pDrvOptItems != nullptr && i < param->cDrvOptItems; ++i) {
    OPTITEM& item = param->pDrvOptItems[i];
    if (item.DMPubID != DMPUB_ORIENTATION && item.DMPubID != DMPUB_DUPLEX) continue;
    if (item.pOptType == nullptr || (item.Flags & OPTIF_CHANGEONCE) == 0) continue;
    if (ItemLocked(item) || SelectionInConflict(&item)) continue;
    ReportItemToDriver(context, &item);
  }
}
