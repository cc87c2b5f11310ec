#include "page_controls.h"

#include "table_lock.h"

namespace {

// A Layout page has eighteen controls and a Job Settings page nine; a
// few sheets may be open at once in one process. When the table is full
// an entry made long ago makes room, and its control is looked up again
// when next used.
constexpr size_t kSlots = 96;

struct Slot {
  HWND page = nullptr;
  int control = 0;
  HWND window = nullptr;
};

Slot g_slots[kSlots];
size_t g_next = 0;

LONG g_busy = 0;

HWND Kept(HWND page, int control) {
  TableLock lock(&g_busy);
  for (const Slot& slot : g_slots)
    if (slot.page == page && slot.control == control) return slot.window;
  return nullptr;
}

// In the control's own slot if it has one, else in a free one, else in
// the oldest.
void Keep(HWND page, int control, HWND window) {
  TableLock lock(&g_busy);
  Slot* chosen = nullptr;
  for (Slot& slot : g_slots)
    if (slot.page == page && slot.control == control) chosen = &slot;
  for (size_t i = 0; chosen == nullptr && i < kSlots; ++i)
    if (g_slots[i].page == nullptr) chosen = &g_slots[i];
  if (chosen == nullptr) {
    chosen = &g_slots[g_next];
    g_next = (g_next + 1) % kSlots;
  }
  *chosen = {page, control, window};
}

// A kept handle still names the page's control: a page destroyed without
// its handles forgotten, and its handle given to another window, cannot
// hand out a stranger's window.
bool StillTheControl(HWND window, HWND page, int control) {
  return GetParent(window) == page && GetWindowLongPtrW(window, GWLP_ID) == control;
}

}  // namespace

HWND PageControl(HWND page, int control) {
  if (page == nullptr) return nullptr;
  HWND window = Kept(page, control);
  if (window != nullptr && StillTheControl(window, page, control)) return window;
  window = GetDlgItem(page, control);
  if (window != nullptr) Keep(page, control, window);
  return window;
}

LRESULT SendToControl(HWND page, int control, UINT message, WPARAM wParam, LPARAM lParam) {
  HWND window = PageControl(page, control);
  return window != nullptr ? SendMessageW(window, message, wParam, lParam) : 0;
}

void CheckControl(HWND page, int control, UINT state) {
  SendToControl(page, control, BM_SETCHECK, state, 0);
}

UINT ControlCheckState(HWND page, int control) {
  return static_cast<UINT>(SendToControl(page, control, BM_GETCHECK, 0, 0));
}

void SetControlText(HWND page, int control, const WCHAR* text) {
  SendToControl(page, control, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text));
}

int ControlText(HWND page, int control, WCHAR* text, int units) {
  if (text == nullptr || units <= 0) return 0;
  text[0] = 0;
  const LRESULT length =
      SendToControl(page, control, WM_GETTEXT, static_cast<WPARAM>(units), reinterpret_cast<LPARAM>(text));
  text[units - 1] = 0;
  return length < 0 ? 0 : static_cast<int>(length);
}

void ForgetPageControls(HWND page) {
  TableLock lock(&g_busy);
  for (Slot& slot : g_slots)
    if (slot.page == page) slot = Slot();
}
