#include <windows.h>

#include "job_settings_edit_filters.h"
#include "job_settings_page.h"

namespace {

// The Edit class's own procedure, taken from a fresh field at each page
// initialisation; both filters hand everything they let through to it.
WNDPROC g_editClassProc = nullptr;

constexpr int kNameReadUnits = 18;  // 17 characters and the terminator
constexpr int kMaxNameAnsiBytes = 14;  // including the terminator
constexpr WPARAM kBackspace = 8;

LRESULT PassOn(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  if (g_editClassProc == nullptr) return DefWindowProcW(hwnd, message, wParam, lParam);
  return CallWindowProcW(g_editClassProc, hwnd, message, wParam, lParam);
}

}  // namespace

void RememberEditClassProc(HWND editField) {
  const auto proc = reinterpret_cast<WNDPROC>(GetWindowLongPtrW(editField, GWLP_WNDPROC));
  // A field that is already filtered must not become its own class
  // procedure: that would send every message round in a circle.
  if (proc != nullptr && proc != NameEditProc && proc != PasswordEditProc) g_editClassProc = proc;
}

void InstallEditFilter(HWND editField, WNDPROC filter) {
  if (editField != nullptr)
    SetWindowLongPtrW(editField, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(filter));
}

LRESULT CALLBACK NameEditProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_CHAR && wParam != kBackspace) {
    WCHAR text[kNameReadUnits] = {};
    GetWindowTextW(hwnd, text, kNameReadUnits);
    const int bytes = WideCharToMultiByte(CP_ACP, 0, text, -1, nullptr, 0, nullptr, nullptr);
    if (bytes > kMaxNameAnsiBytes) return 0;
  }
  return PassOn(hwnd, message, wParam, lParam);
}

LRESULT CALLBACK PasswordEditProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_CHAR) {
    const bool digit = wParam >= L'0' && wParam <= L'9';
    if (!digit && wParam != kBackspace) return 0;
  }
  return PassOn(hwnd, message, wParam, lParam);
}
