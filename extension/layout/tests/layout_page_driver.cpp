#include "layout_page_driver.h"

#include <commctrl.h>

bool LayoutPageDriver::Open(LayoutTree* tree, bool publishDriver) {
  if (!sheet.Open()) return false;
  sheet.param.poemuiobj = &uiObject;
  if (tree != nullptr) {
    sheet.param.pDrvOptItems = tree->items();
    sheet.param.cDrvOptItems = tree->count();
  }
  if (publishDriver && sheet.object->PublishDriverInterface(&driver) != S_OK) return false;
  if (sheet.AddPages() != S_OK || !sheet.ShowSheet()) return false;
  page_ = sheet.Page(0);
  return page_ != nullptr && IsWindowVisible(page_);
}

std::vector<ListEntryView> LayoutPageDriver::Entries(int list) const {
  std::vector<ListEntryView> entries;
  HWND control = GetDlgItem(page_, list);
  WCHAR klass[32] = {};
  GetClassNameW(control, klass, 32);
  const bool extended = std::wstring(klass) == L"ComboBoxEx32";
  const LRESULT count = SendMessageW(control, CB_GETCOUNT, 0, 0);
  for (LRESULT i = 0; i < count; ++i) {
    WCHAR text[128] = {};
    ListEntryView entry{L"", -1, -1};
    if (extended) {
      COMBOBOXEXITEMW item = {};
      item.mask = CBEIF_TEXT | CBEIF_IMAGE | CBEIF_LPARAM;
      item.iItem = i;
      item.pszText = text;
      item.cchTextMax = 128;
      SendMessageW(control, CBEM_GETITEMW, 0, reinterpret_cast<LPARAM>(&item));
      entry = {text, item.iImage, item.lParam};
    } else {
      SendMessageW(control, CB_GETLBTEXT, i, reinterpret_cast<LPARAM>(text));
      entry = {text, -1, SendMessageW(control, CB_GETITEMDATA, i, 0)};
    }
    entries.push_back(entry);
  }
  return entries;
}

int LayoutPageDriver::SelectedPosition(int list) const {
  return static_cast<int>(SendDlgItemMessageW(page_, list, CB_GETCURSEL, 0, 0));
}

std::wstring LayoutPageDriver::Text(int control) const {
  WCHAR text[128] = {};
  GetDlgItemTextW(page_, control, text, 128);
  return text;
}

bool LayoutPageDriver::Enabled(int control) const {
  return IsWindowEnabled(GetDlgItem(page_, control)) != FALSE;
}

bool LayoutPageDriver::Visible(int control) const {
  return (GetWindowLongW(GetDlgItem(page_, control), GWL_STYLE) & WS_VISIBLE) != 0;
}

bool LayoutPageDriver::Checked(int control) const {
  return IsDlgButtonChecked(page_, control) == BST_CHECKED;
}

void LayoutPageDriver::Choose(int list, int position) {
  HWND control = GetDlgItem(page_, list);
  SendMessageW(control, CB_SETCURSEL, position, 0);
  SendMessageW(page_, WM_COMMAND, MAKEWPARAM(list, CBN_SELCHANGE),
               reinterpret_cast<LPARAM>(control));
}

void LayoutPageDriver::Click(int button) {
  HWND control = GetDlgItem(page_, button);
  if (IsWindowEnabled(control)) {
    SendMessageW(control, BM_CLICK, 0, 0);
    return;
  }
  // A disabled button takes no click (under Wine BM_CLICK on one does not
  // come back); the notice still reaches the page from automation tools.
  SendMessageW(page_, WM_COMMAND, MAKEWPARAM(button, BN_CLICKED), reinterpret_cast<LPARAM>(control));
}

void LayoutPageDriver::Revisit() {
  sheet.SelectPage(1);
  sheet.SelectPage(0);
}

bool LayoutPageDriver::ApplyAndCommit(LayoutTree* tree) {
  if (!sheet.PressApply()) return false;
  // The second call of the tree installs the callback (and hides the
  // driver's own layout items, which the page does not look at).
  sheet.param.pOEMOptItems = tree->items() + tree->count();
  if (sheet.object->CommonUIProp(OEMCUIP_DOCPROP, &sheet.param) != S_OK ||
      sheet.param.OEMCUIPCallback == nullptr)
    return false;
  CPSUICBPARAM callback = {};
  callback.cbSize = sizeof callback;
  callback.Reason = CPSUICB_REASON_APPLYNOW;
  callback.pOptItem = tree->items();
  callback.cOptItem = static_cast<WORD>(tree->count());
  return sheet.param.OEMCUIPCallback(&callback, &sheet.param) == CPSUICB_ACTION_ITEMS_APPLIED;
}
