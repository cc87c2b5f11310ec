// The filter of the Job Settings page's name fields. The printer keeps a
// name in 14 bytes of the system ANSI code page: typing stops once the text
// takes 13 bytes, and text that arrives by the other routes a user has
// (pasting by Ctrl+V, Shift+Insert or WM_PASTE; WM_UNICHAR, WM_IME_CHAR)
// is cut to whole characters that leave the text within 14 bytes and the
// field's character limit. Whatever the route, a character beyond 16 bits
// goes in with both its halves or not at all, and a half without the other
// is no character. The page's own loading of a stored name (WM_SETTEXT) is
// not cut.
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

bool IsHalf(WCHAR unit) { return IS_HIGH_SURROGATE(unit) || IS_LOW_SURROGATE(unit); }

// Leaves out every surrogate that has not its other half beside it;
// returns the units left.
size_t WithoutLoneHalves(WCHAR* text, size_t units) {
  size_t kept = 0;
  for (size_t i = 0; i < units;) {
    const size_t step = CharacterUnits(text + i, units - i);
    if (step == 2 || !IsHalf(text[i])) {
      for (size_t k = 0; k < step; ++k) text[kept++] = text[i + k];
    }
    i += step;
  }
  return kept;
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

// The field's text and selection as the Edit class holds them.
struct FieldState {
  size_t length, start, end, limit;
  bool valid;
};

FieldState ReadFieldState(HWND field) {
  FieldState state = {};
  state.length = static_cast<size_t>(GetWindowTextLengthW(field));
  DWORD start = 0, end = 0;
  PassToEditClass(field, EM_GETSEL, reinterpret_cast<WPARAM>(&start),
                  reinterpret_cast<LPARAM>(&end));
  state.start = start;
  state.end = end;
  state.limit = static_cast<size_t>(PassToEditClass(field, EM_GETLIMITTEXT, 0, 0));
  state.valid = start <= end && end <= state.length;
  return state;
}

// How many units of `insert` may replace the field's selection.
size_t UnitsThatFit(HWND field, const WCHAR* insert, size_t units) {
  const FieldState state = ReadFieldState(field);
  if (!state.valid) return 0;
  size_t kept = state.length - (state.end - state.start);
  // A stored name may already be longer than typing allows: nothing goes in.
  if (kept >= state.limit) return 0;
  int bytes = BytesKept(field, state.length, state.start, state.end);
  if (bytes < 0 || bytes > kNameBytes) return 0;

  size_t fit = 0;
  while (fit < units) {
    const size_t step = CharacterUnits(insert + fit, units - fit);
    const int more = AnsiBytes(insert + fit, step);
    if (kept + step > state.limit || more <= 0 || bytes + more > kNameBytes) break;
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

// Puts whole text in place of the selection. The Edit class would take a
// pair unit by unit, and the second could meet the limit the first did not.
LRESULT Insert(HWND field, const WCHAR* text) {
  PassToEditClass(field, EM_REPLACESEL, TRUE, reinterpret_cast<LPARAM>(text));
  return 0;
}

// The clipboard's first line, as much of it as fits.
LRESULT PasteName(HWND field) {
  WCHAR text[kPasteUnits];
  size_t units = ReadClipboardText(field, nullptr, text, kPasteUnits);
  for (size_t i = 0; i < units; ++i) {
    if (text[i] == L'\r' || text[i] == L'\n') units = i;
  }
  units = UnitsThatFit(field, text, WithoutLoneHalves(text, units));
  if (units == 0) return 0;
  text[units] = 0;
  return Insert(field, text);
}

// A high surrogate waits here for its low half, which comes in the next
// message; any other character message settles it. Only the field with
// the keyboard focus receives characters, so one place serves every field.
struct HeldHalf {
  HWND field;
  UINT message;
  WCHAR unit;
};
HeldHalf g_held = {};

// The high half `field` holds from an earlier `message`, or 0; whatever
// was held is given up.
WCHAR TakeHeldHalf(HWND field, UINT message) {
  const bool ours = g_held.field == field && g_held.message == message;
  const WCHAR unit = ours ? g_held.unit : 0;
  g_held = {};
  return unit;
}

// A typed character beyond 16 bits: both halves while typing may go on
// and the field has room for two units, else neither.
LRESULT TypePair(HWND field, const WCHAR* pair) {
  if (TypingStops(field)) return 0;
  const FieldState state = ReadFieldState(field);
  if (!state.valid || state.length - (state.end - state.start) + 2 > state.limit) return 0;
  return Insert(field, pair);
}

// Whole characters of WM_UNICHAR (a code point) or WM_IME_CHAR (a unit, or
// a surrogate pair that `text` holds) go in when they fit, none otherwise.
LRESULT InsertIfItFits(HWND field, const WCHAR* text, size_t units) {
  if (UnitsThatFit(field, text, units) != units) return 0;
  return Insert(field, text);
}

LRESULT OnUnicodeCharacter(HWND field, UINT message, WPARAM wParam, LPARAM lParam) {
  if (wParam == kCtrlV) return PasteName(field);
  if (wParam < kFirstPrintable) return PassToEditClass(field, message, wParam, lParam);
  // A code point in the surrogate range names no character.
  if (wParam >= 0xD800 && wParam <= 0xDFFF) return 0;
  WCHAR units[3] = {static_cast<WCHAR>(wParam), 0, 0};
  size_t count = 1;
  if (wParam > 0xFFFF) {
    const WPARAM offset = wParam - 0x10000;
    units[0] = static_cast<WCHAR>(0xD800 + (offset >> 10));
    units[1] = static_cast<WCHAR>(0xDC00 + (offset & 0x3FF));
    count = 2;
  }
  return InsertIfItFits(field, units, count);
}

// WM_CHAR and WM_IME_CHAR carry one unit each: a high half is held for
// its low half, and the two are then taken as one character.
LRESULT OnCharacterUnit(HWND field, UINT message, WPARAM wParam, LPARAM lParam) {
  const WCHAR unit = static_cast<WCHAR>(wParam);
  const WCHAR high = TakeHeldHalf(field, message);
  if (IS_HIGH_SURROGATE(unit)) {
    g_held = {field, message, unit};
    return 0;
  }
  if (IS_LOW_SURROGATE(unit)) {
    if (high == 0) return 0;
    const WCHAR pair[3] = {high, unit, 0};
    return message == WM_CHAR ? TypePair(field, pair) : InsertIfItFits(field, pair, 2);
  }
  if (message == WM_IME_CHAR) return OnUnicodeCharacter(field, message, wParam, lParam);
  if (wParam == kBackspace) return PassToEditClass(field, message, wParam, lParam);
  // A paste replaces the selection, however full the field is.
  if (wParam == kCtrlV) return PasteName(field);
  if (TypingStops(field)) return 0;
  return PassToEditClass(field, message, wParam, lParam);
}

}  // namespace

LRESULT CALLBACK NameEditProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_CHAR:
    case WM_IME_CHAR:
      return OnCharacterUnit(hwnd, message, wParam, lParam);
    case WM_PASTE:
      return PasteName(hwnd);
    case WM_KEYDOWN:
      // The Edit class pastes on Shift+Insert without a WM_PASTE.
      if (wParam == VK_INSERT && GetKeyState(VK_SHIFT) < 0) return PasteName(hwnd);
      break;
    case WM_UNICHAR:
      if (wParam == UNICODE_NOCHAR) break;
      TakeHeldHalf(hwnd, message);
      if (wParam > 0x10FFFF) return 0;  // no character at all
      return OnUnicodeCharacter(hwnd, message, wParam, lParam);
    default:
      break;
  }
  return PassToEditClass(hwnd, message, wParam, lParam);
}
