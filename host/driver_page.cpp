#include "driver_page.h"

#include <string>

#include "sheet_session.h"

namespace {

SheetSession* SessionOf(HWND page) {
  return reinterpret_cast<SheetSession*>(GetWindowLongPtrW(page, DWLP_USER));
}

// One line per visible item, with the options the plug-in left visible.
void ListItems(HWND page, SheetSession* session) {
  HWND list = GetDlgItem(page, IDC_DRIVER_ITEMS);
  SendMessageW(list, LB_RESETCONTENT, 0, 0);
  DocumentTree& tree = session->Tree();
  for (DWORD i = 0; i < tree.Count(); ++i) {
    const OPTITEM& item = tree.Items()[i];
    if (item.Flags & OPTIF_HIDE) continue;
    std::wstring line = std::wstring(item.pName) + L": " + DocumentTree::OptionText(item, item.Sel);
    if (item.Flags & OPTIF_DISABLED) line += L" (disabled)";
    if (item.pOptType != nullptr) {
      std::wstring visible;
      for (WORD k = 0; k < item.pOptType->Count; ++k) {
        if (item.pOptType->pOptParam[k].Flags & OPTPF_HIDE) continue;
        visible += (visible.empty() ? L"" : L", ") + std::wstring(item.pOptType->pOptParam[k].pData);
      }
      line += L"   [" + visible + L"]";
    }
    SendMessageW(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(line.c_str()));
  }
}

INT_PTR CALLBACK DriverPageProc(HWND page, UINT message, WPARAM, LPARAM lParam) {
  if (message == WM_INITDIALOG) {
    const auto* record = reinterpret_cast<const PROPSHEETPAGEW*>(lParam);
    SetWindowLongPtrW(page, DWLP_USER, record->lParam);
    auto* session = reinterpret_cast<SheetSession*>(record->lParam);
    session->SetDriverPage(page);
    ListItems(page, session);
    return TRUE;
  }
  SheetSession* session = SessionOf(page);
  if (session == nullptr || message != WM_NOTIFY) return FALSE;
  switch (reinterpret_cast<const NMHDR*>(lParam)->code) {
    case PSN_SETACTIVE:
      ListItems(page, session);
      return TRUE;
    case PSN_APPLY:
      session->ApplyToDriver();
      SetWindowLongPtrW(page, DWLP_MSGRESULT, PSNRET_NOERROR);
      return TRUE;
    default:
      return FALSE;
  }
}

}  // namespace

void RelistDriverPage(HWND page) {
  if (SheetSession* session = SessionOf(page)) ListItems(page, session);
}

HPROPSHEETPAGE CreateDriverPage(SheetSession* session) {
  PROPSHEETPAGEW page = {};
  page.dwSize = sizeof page;
  page.dwFlags = PSP_DEFAULT;
  page.hInstance = GetModuleHandleW(nullptr);
  page.pszTemplate = MAKEINTRESOURCEW(IDD_DRIVER_PAGE);
  page.pfnDlgProc = DriverPageProc;
  page.lParam = reinterpret_cast<LPARAM>(session);
  return CreatePropertySheetPageW(&page);
}
