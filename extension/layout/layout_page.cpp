#include "layout_page.h"

#include <prsht.h>

// The page keeps its context like the other pages of the extension; the
// settings it edits come with the page's own work.
INT_PTR CALLBACK LayoutPageProc(HWND hwnd, UINT message, WPARAM, LPARAM lParam) {
  if (message == WM_INITDIALOG) {
    const auto* page = reinterpret_cast<const PROPSHEETPAGEW*>(lParam);
    SetWindowLongPtrW(hwnd, DWLP_USER, page != nullptr ? page->lParam : 0);
  }
  return FALSE;
}
