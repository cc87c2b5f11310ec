// The filter of the Job Settings page's name fields. The printer keeps a
// name in 14 bytes of the system ANSI code page: typing stops once the text
// takes 13 bytes, and text that arrives by the other routes a user has
// (pasting by Ctrl+V, Shift+Insert or WM_PASTE; WM_UNICHAR, WM_IME_CHAR)
// is cut to whole characters that leave the text within 14 bytes and the
// field's character limit. The page's own loading of a
// stored name (WM_SETTEXT) is not cut.
#include <windows.h>

#include <new>

#include "job_settings_edit_filters.h"
#include "job_settings_page.h"

namespace {

constexpr int kNameReadUnits = 18;  // 17 characters and the terminator
constexpr int kTypingStopBytes = 14;  // typing stops beyond this, terminator included
constexpr int kNameBytes = 14;        // the most a name put in takes, terminator not included
constexpr WPARAM kBackspace = 8;
constexpr WPARAM kCtrlV = 0x16;
constexpr WPARAM kFirstPrintable = 0x20;
constexpr size_t kPasteUnits = 64;  // more than a name ever takes

int AnsiBytes(const WCHAR* text, size_t units) {
  if (units == 0) return 0;
  return WideCharToMultiByte(CP_ACP, 0, text, static_cast<int>(units), nullptr, 0, nullptr,
                             nullptr);
}

// A surrogate pair is one character: it is never split.
size_t CharacterUnits(const WCHAR* text, size_t units) {
  const bool pair = units >= 2 && IS_HIGH_SURROGATE(text[0]) && IS_LOW_SURROGATE(text[1]);
  return pair ? 2 : 1;
}

// The ANSI bytes of the field's text before and after the selection, or
// -1 when the text cannot be read.
int BytesKept(HWND field, size_t length, size_t start, size_t end) {
  WCHAR* text = new (std::nothrow) WCHAR[length + 1];
  if (text == nullptr) return -1;
  const int read = GetWindowTextW(field, text, static_cast<int>(length + 1));
  const int bytes = static_cast<size_t>(read) == length
                        ? AnsiBytes(text, start) + AnsiBytes(text + end, length - end)
                        : -1;
  delete[] text;
  return bytes;
}

// How many units of `insert` may replace the field's selection.
size_t UnitsThatFit(HWND field, const WCHAR* insert, size_t units) {
  const size_t length = static_cast<size_t>(GetWindowTextLengthW(field));
  DWORD start = 0, end = 0;
  PassToEditClass(field, EM_GETSEL, reinterpret_cast<WPARAM>(&start),
                  reinterpret_cast<LPARAM>(&end));
  const size_t limit = static_cast<size_t>(PassToEditClass(field, EM_GETLIMITTEXT, 0, 0));
  if (end < start || end > length) return 0;
  size_t kept = length - (end - start);
  // A stored name may already be longer than typing allows: nothing goes in.
  if (kept >= limit) return 0;
  int bytes = BytesKept(field, length, start, end);
  if (bytes < 0 || bytes > kNameBytes) return 0;

  size_t fit = 0;
  while (fit < units) {
    const size_t step = CharacterUnits(insert + fit, units - fit);
    const int more = AnsiBytes(insert + fit, step);
    if (kept + step > limit || more <= 0 || bytes + more > kNameBytes) break;
    kept += step;
    bytes += more;
    fit += step;
  }
  return fit;
}

// The field's text with its terminator takes more than typing allows.
bool TypingStops(HWND field) {
  WCHAR text[kNameReadUnits] = {};
  GetWindowTextW(field, text, kNameReadUnits);
  return WideCharToMultiByte(CP_ACP, 0, text, -1, nullptr, 0, nullptr, nullptr) >
         kTypingStopBytes;
}

// The clipboard's first line, as much of it as fits.
LRESULT PasteName(HWND field) {
  WCHAR text[kPasteUnits];
  size_t units = ReadClipboardText(field, nullptr, text, kPasteUnits);
  for (size_t i = 0; i < units; ++i) {
    if (text[i] == L'\r' || text[i] == L'\n') units = i;
  }
  units = UnitsThatFit(field, text, units);
  if (units == 0) return 0;
  text[units] = 0;
  PassToEditClass(field, EM_REPLACESEL, TRUE, reinterpret_cast<LPARAM>(text));
  return 0;
}

// One character of WM_UNICHAR (a code point) or WM_IME_CHAR (a unit):
// passed on when it fits whole, dropped otherwise.
LRESULT InsertCharacter(HWND field, UINT message, WPARAM wParam, LPARAM lParam) {
  if (wParam == kCtrlV) return PasteName(field);
  if (wParam < kFirstPrintable) return PassToEditClass(field, message, wParam, lParam);
  WCHAR units[2] = {static_cast<WCHAR>(wParam), 0};
  size_t count = 1;
  if (wParam > 0xFFFF) {
    const WPARAM offset = wParam - 0x10000;
    units[0] = static_cast<WCHAR>(0xD800 + (offset >> 10));
    units[1] = static_cast<WCHAR>(0xDC00 + (offset & 0x3FF));
    count = 2;
  }
  if (UnitsThatFit(field, units, count) != count) return 0;
  return PassToEditClass(field, message, wParam, lParam);
}

}  // namespace

LRESULT CALLBACK NameEditProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_CHAR:
      if (wParam == kBackspace) break;
      if (TypingStops(hwnd)) return 0;
      if (wParam == kCtrlV) return PasteName(hwnd);
      break;
    case WM_PASTE:
      return PasteName(hwnd);
    case WM_KEYDOWN:
      // The Edit class pastes on Shift+Insert without a WM_PASTE.
      if (wParam == VK_INSERT && GetKeyState(VK_SHIFT) < 0) return PasteName(hwnd);
      break;
    case WM_UNICHAR:
      if (wParam == UNICODE_NOCHAR) break;
      if (wParam > 0x10FFFF) return 0;  // no character at all
      return InsertCharacter(hwnd, message, wParam, lParam);
    case WM_IME_CHAR:
      return InsertCharacter(hwnd, message, wParam, lParam);
    default:
      break;
  }
  return PassToEditClass(hwnd, message, wParam, lParam);
}
