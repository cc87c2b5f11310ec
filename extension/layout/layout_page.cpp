#include "layout_page.h"

#include <commctrl.h>
#include <prsht.h>

#include "held_lists.h"
#include "layout_changes.h"
#include "layout_common_controls.h"
#include "layout_controls.h"
#include "layout_items.h"
#include "layout_preview.h"
#include "layout_refresh.h"
#include "page_controls.h"
#include "resource_ids.h"

namespace {

constexpr int kIconSize = 20;
constexpr int kInitialImages = 13;

// Image-list order: the positions are the image indices the lists use.
const WORD kComboIcons[] = {12011, 12012, 12013, 12014, 12015, 12016, 12021, 12022, 12023,
                            12024, 12025, 12026, 12027, 12028, 12029, 12030, 12001};

const int kPictureLists[] = {IDC_ORIENTATION, IDC_TWO_SIDED, IDC_PAGE_ORDER};

UiContext* ContextOf(HWND page) {
  return reinterpret_cast<UiContext*>(GetWindowLongPtrW(page, DWLP_USER));
}

void SetLabels(HWND page, const OEMCUIPPARAM* param) {
  SetLocalizedLabel(page, IDC_ORIENTATION_LABEL, IDS_ORIENTATION_LABEL, param);
  SetLocalizedLabel(page, IDC_TWO_SIDED_LABEL, IDS_TWO_SIDED_LABEL, param);
  SetLocalizedLabel(page, IDC_PAGE_ORDER_LABEL, IDS_PAGE_ORDER_LABEL, param);
  SetLocalizedLabel(page, IDC_PAGE_FORMAT_GROUP, IDS_PAGE_FORMAT, param);
  SetLocalizedLabel(page, IDC_PAGES_PER_SHEET_BUTTON, IDS_PAGES_PER_SHEET, param);
  SetLocalizedLabel(page, IDC_BOOKLET_BUTTON, IDS_BOOKLET, param);
  if (kFullLayoutPage) {
    SetLocalizedLabel(page, IDC_ARRANGEMENT_LABEL, IDS_ARRANGEMENT_LABEL, param);
    SetLocalizedLabel(page, IDC_BINDING_EDGE_LABEL, IDS_BINDING_EDGE_LABEL, param);
    SetLocalizedLabel(page, IDC_DRAW_BORDERS, IDS_DRAW_BORDERS, param);
  }
}

void HideFullPageFormat(HWND page) {
  for (int control : {IDC_ARRANGEMENT, IDC_ARRANGEMENT_LABEL, IDC_BINDING_EDGE,
                      IDC_BINDING_EDGE_LABEL, IDC_DRAW_BORDERS}) {
    ShowWindow(PageControl(page, control), SW_HIDE);
  }
}

// An icon that cannot be loaded is left out, and the later ones move up.
void AttachImageList(HWND page, HMODULE module, const CommonControlsProcs* cc) {
  HIMAGELIST list = cc->imageListCreate(kIconSize, kIconSize, ILC_COLOR32 | ILC_MASK,
                                        kInitialImages, 0);
  if (list == nullptr) return;
  for (WORD id : kComboIcons) {
    HICON icon = static_cast<HICON>(
        LoadImageW(module, MAKEINTRESOURCEW(id), IMAGE_ICON, 0, 0, LR_DEFAULTCOLOR));
    if (icon == nullptr) continue;
    cc->imageListReplaceIcon(list, -1, icon);
    DestroyIcon(icon);
  }
  for (int control : kPictureLists)
    SendToControl(page, control, CBEM_SETIMAGELIST, 0, reinterpret_cast<LPARAM>(list));
}

void OnInitDialog(HWND page, const PROPSHEETPAGEW* record) {
  UiContext* context = record != nullptr ? reinterpret_cast<UiContext*>(record->lParam) : nullptr;
  SetWindowLongPtrW(page, DWLP_USER, reinterpret_cast<LONG_PTR>(context));
  if (context == nullptr || context->pOemCUIPParam == nullptr) return;
  const CommonControlsProcs* cc = BoundCommonControls();
  if (cc != nullptr) cc->initCommonControls();
  SetLabels(page, context->pOemCUIPParam);
  if (!kFullLayoutPage) HideFullPageFormat(page);
  if (cc != nullptr)
    AttachImageList(page, static_cast<HMODULE>(context->pOemCUIPParam->hModule), cc);
}

void OnDestroy(HWND page) {
  const CommonControlsProcs* cc = BoundCommonControls();
  auto list = reinterpret_cast<HIMAGELIST>(
      SendToControl(page, IDC_ORIENTATION, CBEM_GETIMAGELIST, 0, 0));
  if (cc == nullptr || list == nullptr) return;
  for (int control : kPictureLists) SendToControl(page, control, CBEM_SETIMAGELIST, 0, 0);
  cc->imageListDestroy(list);
}

INT_PTR OnCommand(HWND page, const UiContext* context, int control, int code) {
  if (code == CBN_SELCHANGE) return OnSelectionChange(page, context, control);
  if (code == BN_CLICKED) return OnClick(page, context, control);
  return 0;
}

INT_PTR OnNotify(const UiContext* context, const NMHDR* header) {
  if (header == nullptr) return 0;
  switch (header->code) {
    case PSN_RESET: return 0;
    case PSN_APPLY:
    case PSN_KILLACTIVE: ReportChangedItems(context); return 1;
    default: return 1;
  }
}

}  // namespace

// The page never sets DWLP_MSGRESULT: applying, leaving and activating the
// page are always allowed.
INT_PTR CALLBACK LayoutPageProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_INITDIALOG) {
    OnInitDialog(hwnd, reinterpret_cast<const PROPSHEETPAGEW*>(lParam));
    return 0;
  }
  const UiContext* context = ContextOf(hwnd);
  const bool hasContext = context != nullptr && context->pOemCUIPParam != nullptr;
  // What the preview and the records of lists and controls keep is the
  // page's own, context or not; the controls go last, as the others
  // still look theirs up.
  if (message == WM_DESTROY) {
    ReleaseLayoutPreview(hwnd);
    ForgetLists(hwnd);
    if (hasContext) OnDestroy(hwnd);
    ForgetPageControls(hwnd);
    return 0;
  }
  if (!hasContext) return 0;
  switch (message) {
    case WM_SHOWWINDOW: RefreshFromItems(hwnd, context); return 0;
    case WM_PAINT: PaintLayoutPreview(hwnd, context->pOemCUIPParam); return 0;
    case WM_COMMAND: return OnCommand(hwnd, context, LOWORD(wParam), HIWORD(wParam));
    case WM_NOTIFY: return OnNotify(context, reinterpret_cast<const NMHDR*>(lParam));
    default: return 0;
  }
}
