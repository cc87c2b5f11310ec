#include "sheet_harness.h"

#include <gtest/gtest.h>

#include <prsht.h>

#include "plugin_ui.h"

namespace {

constexpr int kApplyButton = 0x3021;  // the property sheet's Apply button

}  // namespace

SheetHarness::SheetHarness() { heap_ = HeapCreate(0, 0, 0); }

SheetHarness::~SheetHarness() {
  if (sheet != nullptr) DestroyWindow(sheet);
  if (object != nullptr) object->Release();
  plugin.Unload();
  if (heap_ != nullptr) HeapDestroy(heap_);
}

bool SheetHarness::Open(void* versionQuery) {
  if (!plugin.Load()) return false;
  if (versionQuery != nullptr &&
      ReplaceImport(plugin.module, "kernel32.dll", "GetVersionExW", versionQuery) == nullptr)
    return false;
  object = plugin.CreateObject();
  if (object == nullptr) return false;
  SetDefaultPrivateDevmode(&block);
  param.cbSize = sizeof param;
  param.hModule = plugin.module;
  param.hOEMHeap = heap_;
  param.pOEMDM = &block;
  object->CommonUIProp(OEMCUIP_DOCPROP, &param);
  return true;
}

HRESULT SheetHarness::AddPages() {
  info.cbSize = sizeof info;
  info.Version = PROPSHEETUI_INFO_VERSION;
  info.Reason = PROPSHEETUI_REASON_INIT;
  info.hComPropSheet = reinterpret_cast<HANDLE>(this);
  info.pfnComPropSheet = &SheetHarness::Service;
  info.Result = 0xBAD;
  return object->DocumentPropertySheets(&info, 0);
}

LONG_PTR CALLBACK SheetHarness::Service(HANDLE sheet, UINT function, LPARAM lParam1,
                                        LPARAM lParam2) {
  auto* self = reinterpret_cast<SheetHarness*>(sheet);
  self->calls.push_back({function, lParam1, lParam2});
  if (function != CPSFUNC_ADD_PROPSHEETPAGEW) return 1;
  const auto* record = reinterpret_cast<const PROPSHEETPAGEW*>(lParam1);
  const auto* bytes = reinterpret_cast<const BYTE*>(record);
  self->pageRecords.emplace_back(bytes, bytes + record->dwSize);
  HPROPSHEETPAGE page = CreatePropertySheetPageW(record);
  if (page != nullptr) self->pages.push_back(page);
  return reinterpret_cast<LONG_PTR>(page);
}

bool SheetHarness::ShowSheet() {
  PROPSHEETHEADERW header = {};
  header.dwSize = sizeof header;
  header.dwFlags = PSH_MODELESS;
  header.pszCaption = L"Document Properties";
  header.nPages = static_cast<UINT>(pages.size());
  header.phpage = pages.data();
  sheet = reinterpret_cast<HWND>(PropertySheetW(&header));
  return sheet != nullptr;
}

bool SheetHarness::SelectPage(int index) {
  PropSheet_SetCurSel(sheet, nullptr, index);
  return PropSheet_GetCurrentPageHwnd(sheet) == Page(index);
}

HWND SheetHarness::Page(int index) const { return PropSheet_IndexToHwnd(sheet, index); }

bool SheetHarness::PressApply() {
  return SendMessageW(sheet, PSM_APPLY, 0, 0) != FALSE;
}

bool SheetHarness::ApplyEnabled() const {
  return IsWindowEnabled(GetDlgItem(sheet, kApplyButton)) != FALSE;
}
