#include "layout_controls.h"

#include <commctrl.h>
#include <prsht.h>

#include "held_lists.h"
#include "layout_preview.h"
#include "load_res_string.h"
#include "page_controls.h"

namespace {

bool HasPictures(LayoutList list) {
  return list == LayoutList::kOrientation || list == LayoutList::kTwoSided ||
         list == LayoutList::kPageOrder;
}

// Appended, never inserted at a counted position: after one refused entry
// a counted position would lie past the list's end and every later entry
// would be refused too.
bool AppendPictureEntry(HWND page, int control, const ListEntry& entry, WCHAR* text) {
  COMBOBOXEXITEMW item = {};
  item.mask = CBEIF_TEXT | CBEIF_IMAGE | CBEIF_SELECTEDIMAGE | CBEIF_INDENT | CBEIF_LPARAM;
  item.iItem = -1;
  item.pszText = text;
  item.iImage = entry.image;
  item.iSelectedImage = entry.image;
  item.iIndent = 0;
  item.lParam = entry.option;
  return SendToControl(page, control, CBEM_INSERTITEMW, 0,
                             reinterpret_cast<LPARAM>(&item)) >= 0;
}

bool AppendPlainEntry(HWND page, int control, const ListEntry& entry, const WCHAR* text) {
  const LRESULT position = SendToControl(page, control, CB_INSERTSTRING,
                                               static_cast<WPARAM>(-1),
                                               reinterpret_cast<LPARAM>(text));
  if (position < 0) return false;
  SendToControl(page, control, CB_SETITEMDATA, position, entry.option);
  return true;
}

LONG OptionAt(HWND page, int control, LRESULT position) {
  const LRESULT data = SendToControl(page, control, CB_GETITEMDATA, position, 0);
  return data == CB_ERR ? -1 : static_cast<LONG>(data);
}

int ImageAt(HWND page, int control, LRESULT position) {
  COMBOBOXEXITEMW item = {};
  item.mask = CBEIF_IMAGE;
  item.iItem = position;
  if (SendToControl(page, control, CBEM_GETITEMW, 0, reinterpret_cast<LPARAM>(&item)) == 0)
    return kNoImage;
  return item.iImage;
}

// An entry's text follows from its list and option, so the options and
// pictures tell whether the list already shows `entries`.
bool ListHolds(HWND page, int control, LayoutList list, LRESULT held, const ListEntry* entries,
               size_t count) {
  if (held < 0 || static_cast<size_t>(held) != count) return false;
  for (size_t i = 0; i < count; ++i) {
    const LRESULT position = static_cast<LRESULT>(i);
    if (OptionAt(page, control, position) != entries[i].option) return false;
    if (HasPictures(list) && ImageAt(page, control, position) != entries[i].image) return false;
  }
  return true;
}

bool SameEntries(const HeldList& held, const ListEntry* entries, size_t count) {
  if (held.count != count) return false;
  for (size_t i = 0; i < count; ++i) {
    const ListEntry& a = held.entries[i];
    if (a.option != entries[i].option || a.textId != entries[i].textId ||
        a.image != entries[i].image)
      return false;
  }
  return true;
}

// Whether the list shows `entries`: from the page's record where the
// list's length still agrees with it, else read back from the control.
bool AlreadyHolds(HWND page, int control, LayoutList list, LRESULT held,
                  const ListEntry* entries, size_t count) {
  HeldList recorded;
  if (RecalledList(page, control, &recorded) && held >= 0 &&
      static_cast<size_t>(held) == recorded.count)
    return SameEntries(recorded, entries, count);
  if (!ListHolds(page, control, list, held, entries, count)) return false;
  RememberList(page, control, entries, count);
  return true;
}

}  // namespace

// A list that already shows the entries is left alone: emptying and
// filling it again costs a repaint of the control and more.
void FillList(HWND page, int control, LayoutList list, const ListSource& source,
              const OEMCUIPPARAM* param) {
  ListEntry entries[kMaxListEntries];
  const size_t count = BuildListEntries(list, source, entries);
  const LRESULT held = SendToControl(page, control, CB_GETCOUNT, 0, 0);
  if (AlreadyHolds(page, control, list, held, entries, count)) return;
  if (held != 0) SendToControl(page, control, CB_RESETCONTENT, 0, 0);
  ListEntry appended[kMaxListEntries];
  size_t used = 0;
  for (size_t i = 0; i < count; ++i) {
    WCHAR* text = LoadResString(static_cast<HMODULE>(param->hModule), param->hOEMHeap,
                                static_cast<WORD>(entries[i].textId));
    if (text == nullptr) continue;
    const bool added = HasPictures(list) ? AppendPictureEntry(page, control, entries[i], text)
                                         : AppendPlainEntry(page, control, entries[i], text);
    if (added) appended[used++] = entries[i];
    HeapFree(param->hOEMHeap, 0, text);
  }
  RememberList(page, control, appended, used);
}

namespace {

LRESULT PositionIn(const HeldList& recorded, LONG option) {
  for (size_t i = 0; i < recorded.count; ++i)
    if (recorded.entries[i].option == option) return static_cast<LRESULT>(i);
  return CB_ERR;
}

// A selection already right is not set again.
void SelectPosition(HWND page, int control, LRESULT wanted) {
  if (SendToControl(page, control, CB_GETCURSEL, 0, 0) == wanted) return;
  SendToControl(page, control, CB_SETCURSEL, static_cast<WPARAM>(wanted), 0);
}

}  // namespace

// ComboBoxEx answers CB_GETITEMDATA with the entry's lParam, so both kinds
// of list read back alike.
void SelectOption(HWND page, int control, LONG option) {
  const LRESULT count = SendToControl(page, control, CB_GETCOUNT, 0, 0);
  HeldList recorded;
  if (RecalledList(page, control, &recorded) && count >= 0 &&
      static_cast<size_t>(count) == recorded.count) {
    SelectPosition(page, control, PositionIn(recorded, option));
    return;
  }
  LRESULT wanted = CB_ERR;
  for (LRESULT position = 0; position < count && wanted == CB_ERR; ++position) {
    if (OptionAt(page, control, position) == option) wanted = position;
  }
  SelectPosition(page, control, wanted);
}

// Right after the fill the page's record is the list's: it was checked
// against the list or made from it.
void ShowList(HWND page, int control, LayoutList list, const ListSource& source,
              const OEMCUIPPARAM* param, LONG option) {
  FillList(page, control, list, source, param);
  HeldList recorded;
  if (RecalledList(page, control, &recorded))
    SelectPosition(page, control, PositionIn(recorded, option));
  else
    SelectOption(page, control, option);
}

LONG SelectedOption(HWND page, int control) {
  const LRESULT position = SendToControl(page, control, CB_GETCURSEL, 0, 0);
  if (position == CB_ERR) return -1;
  return OptionAt(page, control, position);
}

void EnableControls(HWND page, std::initializer_list<int> controls, bool enable) {
  for (int control : controls) SetEnabled(PageControl(page, control), enable);
}

// Disabling a disabled window still sends it WM_CANCELMODE, and either
// way asks the window manager; the window's style already tells.
void SetEnabled(HWND control, bool enable) {
  if (control == nullptr || (IsWindowEnabled(control) != FALSE) == enable) return;
  EnableWindow(control, enable ? TRUE : FALSE);
}

void SetChecked(HWND page, int control, bool checked) {
  CheckControl(page, control, checked ? BST_CHECKED : BST_UNCHECKED);
}

bool IsChecked(HWND page, int control) {
  return SendToControl(page, control, BM_GETCHECK, 0, 0) == BST_CHECKED;
}

void SetLocalizedLabel(HWND page, int control, WORD stringId, const OEMCUIPPARAM* param) {
  WCHAR* text = LoadResString(static_cast<HMODULE>(param->hModule), param->hOEMHeap, stringId);
  if (text == nullptr) return;
  SendToControl(page, control, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text));
  HeapFree(param->hOEMHeap, 0, text);
}

void MarkChanged(HWND page) {
  SendMessageW(GetParent(page), PSM_CHANGED, reinterpret_cast<WPARAM>(page), 0);
}

void MarkChangedAndRepaint(HWND page) {
  MarkChanged(page);
  InvalidateLayoutPreview(page);
}
