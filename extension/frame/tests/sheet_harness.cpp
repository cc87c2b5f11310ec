#include "sheet_harness.h"

#include <gtest/gtest.h>

#include <prsht.h>

#include "plugin_ui.h"

namespace {

constexpr int kApplyButton = 0x3021;  // the property sheet's Apply button
constexpr int kMessageBoxText = 0xFFFF;
MessageBoxCatcher* g_catcher = nullptr;  // the hook has no user data

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

MessageBoxCatcher::MessageBoxCatcher() {
  g_catcher = this;
  hook_ = SetWindowsHookExW(WH_CBT, &MessageBoxCatcher::Hook, nullptr, GetCurrentThreadId());
}

MessageBoxCatcher::~MessageBoxCatcher() {
  if (hook_ != nullptr) UnhookWindowsHookEx(hook_);
  g_catcher = nullptr;
}

LRESULT CALLBACK MessageBoxCatcher::Hook(int code, WPARAM wParam, LPARAM lParam) {
  HWND window = reinterpret_cast<HWND>(wParam);
  if (code == HCBT_DESTROYWND && g_catcher != nullptr) g_catcher->answered_.erase(window);
  if (code == HCBT_ACTIVATE && g_catcher != nullptr && g_catcher->answered_.count(window) == 0) {
    // Another program taking the foreground activates the box again
    // before the posted answer arrives: each box counts once.
    if (GetDlgItem(window, kMessageBoxText) != nullptr) {
      g_catcher->answered_.insert(window);
      WCHAR text[512] = {};
      GetWindowTextW(window, text, 512);
      g_catcher->captions.push_back(text);
      GetDlgItemTextW(window, kMessageBoxText, text, 512);
      g_catcher->texts.push_back(text);
      PostMessageW(window, WM_COMMAND, IDOK, 0);
    }
  }
  return CallNextHookEx(nullptr, code, wParam, lParam);
}
