#include "standin_page.h"

#include <prsht.h>

#include <cstddef>

#include "standin_leaks.h"

namespace {

constexpr WORD kStaticId = 100;

// A dialog template of one static text, laid out as the dialog manager
// reads it: the dialog (18 bytes), its menu, class and title (none), then
// the item, which falls DWORD-aligned at byte 24, with its class (the
// static atom), its text and no creation data.
struct alignas(4) PageTemplate {
  DLGTEMPLATE dialog;
  WORD menu, windowClass, title;
  DLGITEMTEMPLATE item;
  WORD itemClass[2];
  wchar_t itemText[10];
  WORD creationData;
};

static_assert(offsetof(PageTemplate, item) == 24, "the item starts DWORD-aligned");

const PageTemplate kTemplate = {
    {WS_CHILD | WS_CAPTION, 0, 1, 0, 0, 200, 100},
    0, 0, 0,
    {WS_CHILD | WS_VISIBLE | SS_LEFT, 0, 10, 10, 100, 10, kStaticId},
    {0xFFFF, 0x0082},
    L"stand-in",
    0};

HMODULE g_module;
HANDLE g_driverHeap;

LeakSite Site(HWND page, HDC dc) {
  LeakSite site = {};
  site.module = g_module;
  site.page = page;
  site.dc = dc;
  site.driverHeap = g_driverHeap;
  return site;
}

INT_PTR CALLBACK StandInPageProc(HWND page, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_INITDIALOG:
      LeakAtMoment(LeakMoment::kPageInit, Site(page, nullptr));
      return TRUE;
    case WM_CTLCOLORSTATIC:
      LeakAtMoment(LeakMoment::kControlColour, Site(page, reinterpret_cast<HDC>(wParam)));
      return FALSE;
    case WM_NOTIFY:
      if (reinterpret_cast<const NMHDR*>(lParam)->code == PSN_RESET)
        LeakAtMoment(LeakMoment::kCancel, Site(page, nullptr));
      return FALSE;
    default:
      return FALSE;
  }
}

}  // namespace

void AddStandInPage(PPROPSHEETUI_INFO info, HMODULE module, HANDLE driverHeap) {
  g_module = module;
  g_driverHeap = driverHeap;
  LeakAtMoment(LeakMoment::kPageCreation, Site(nullptr, nullptr));
  PROPSHEETPAGEW page = {};
  page.dwSize = sizeof page;
  page.dwFlags = PSP_DLGINDIRECT | PSP_USETITLE;
  page.hInstance = module;
  page.pResource = &kTemplate.dialog;
  page.pszTitle = L"Stand-in";
  page.pfnDlgProc = &StandInPageProc;
  info->pfnComPropSheet(info->hComPropSheet, CPSFUNC_ADD_PROPSHEETPAGEW,
                        reinterpret_cast<LPARAM>(&page), 0);
}
