#include <windows.h>

#include "job_settings_edit_filters.h"
#include "job_settings_page.h"

namespace {

// The Edit class's own procedure, taken from a fresh field at each page
// initialisation; both filters hand everything they let through to it.
WNDPROC g_editClassProc = nullptr;

constexpr WPARAM kBackspace = 8;
constexpr size_t kPasswordPasteUnits = 64;  // more than the field ever holds

bool IsDigit(WPARAM c) { return c >= L'0' && c <= L'9'; }
bool IsDigitUnit(WCHAR c) { return IsDigit(c); }

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

LRESULT PassToEditClass(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  if (g_editClassProc == nullptr) return DefWindowProcW(hwnd, message, wParam, lParam);
  return CallWindowProcW(g_editClassProc, hwnd, message, wParam, lParam);
}

size_t ReadClipboardText(HWND owner, bool (*keep)(WCHAR), WCHAR* text, size_t capacity) {
  text[0] = 0;
  if (!OpenClipboard(owner)) return 0;
  HANDLE data = GetClipboardData(CF_UNICODETEXT);
  const auto* source = data != nullptr ? static_cast<const WCHAR*>(GlobalLock(data)) : nullptr;
  // Another program's text need not end in a terminator: the block's own
  // size bounds the read.
  const size_t units = source != nullptr ? GlobalSize(data) / sizeof(WCHAR) : 0;
  size_t count = 0;
  for (size_t i = 0; i < units && source[i] != 0 && count + 1 < capacity; ++i) {
    if (keep == nullptr || keep(source[i])) text[count++] = source[i];
  }
  text[count] = 0;
  if (source != nullptr) GlobalUnlock(data);
  CloseClipboard();
  return count;
}

// Pasted text is held to the same rule as typed text: only its digits go
// in, so a password of letters can never be stored and sent with a job.
static LRESULT PasteDigits(HWND hwnd) {
  WCHAR digits[kPasswordPasteUnits];
  // The edit field's own limit still applies to the replacement.
  if (ReadClipboardText(hwnd, IsDigitUnit, digits, kPasswordPasteUnits) > 0)
    PassToEditClass(hwnd, EM_REPLACESEL, TRUE, reinterpret_cast<LPARAM>(digits));
  return 0;
}

LRESULT CALLBACK PasswordEditProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_CHAR && !IsDigit(wParam) && wParam != kBackspace) return 0;
  if (message == WM_PASTE) return PasteDigits(hwnd);
  return PassToEditClass(hwnd, message, wParam, lParam);
}
