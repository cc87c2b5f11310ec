#include "layout_controls.h"

#include <commctrl.h>
#include <prsht.h>

#include "layout_page_parts.h"
#include "shared_utils.h"

namespace {

bool HasPictures(LayoutList list) {
  return list == LayoutList::kOrientation || list == LayoutList::kTwoSided ||
         list == LayoutList::kPageOrder;
}

// Appended, never inserted at a counted position: after one refused entry
// a counted position would lie past the list's end and every later entry
// would be refused too.
void AppendPictureEntry(HWND page, int control, const ListEntry& entry, WCHAR* text) {
  COMBOBOXEXITEMW item = {};
  item.mask = CBEIF_TEXT | CBEIF_IMAGE | CBEIF_SELECTEDIMAGE | CBEIF_INDENT | CBEIF_LPARAM;
  item.iItem = -1;
  item.pszText = text;
  item.iImage = entry.image;
  item.iSelectedImage = entry.image;
  item.iIndent = 0;
  item.lParam = entry.option;
  SendDlgItemMessageW(page, control, CBEM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&item));
}

void AppendPlainEntry(HWND page, int control, const ListEntry& entry, const WCHAR* text) {
  const LRESULT position = SendDlgItemMessageW(page, control, CB_INSERTSTRING,
                                               static_cast<WPARAM>(-1),
                                               reinterpret_cast<LPARAM>(text));
  if (position >= 0)
    SendDlgItemMessageW(page, control, CB_SETITEMDATA, position, entry.option);
}

LONG OptionAt(HWND page, int control, LRESULT position) {
  const LRESULT data = SendDlgItemMessageW(page, control, CB_GETITEMDATA, position, 0);
  return data == CB_ERR ? -1 : static_cast<LONG>(data);
}

int ImageAt(HWND page, int control, LRESULT position) {
  COMBOBOXEXITEMW item = {};
  item.mask = CBEIF_IMAGE;
  item.iItem = position;
  if (SendDlgItemMessageW(page, control, CBEM_GETITEMW, 0, reinterpret_cast<LPARAM>(&item)) == 0)
    return kNoImage;
  return item.iImage;
}

// An entry's text follows from its list and option, so the options and
// pictures tell whether the list already shows `entries`.
bool ListHolds(HWND page, int control, LayoutList list, const ListEntry* entries, size_t count) {
  const LRESULT held = SendDlgItemMessageW(page, control, CB_GETCOUNT, 0, 0);
  if (held < 0 || static_cast<size_t>(held) != count) return false;
  for (size_t i = 0; i < count; ++i) {
    const LRESULT position = static_cast<LRESULT>(i);
    if (OptionAt(page, control, position) != entries[i].option) return false;
    if (HasPictures(list) && ImageAt(page, control, position) != entries[i].image) return false;
  }
  return true;
}

}  // namespace

// A list that already shows the entries is left alone: emptying and
// filling it again costs a repaint of the control and more.
void FillList(HWND page, int control, LayoutList list, const ListSource& source,
              const OEMCUIPPARAM* param) {
  ListEntry entries[kMaxListEntries];
  const size_t count = BuildListEntries(list, source, entries);
  if (ListHolds(page, control, list, entries, count)) return;
  SendDlgItemMessageW(page, control, CB_RESETCONTENT, 0, 0);
  for (size_t i = 0; i < count; ++i) {
    WCHAR* text = LoadResString(static_cast<HMODULE>(param->hModule), param->hOEMHeap,
                                static_cast<WORD>(entries[i].textId));
    if (text == nullptr) continue;
    if (HasPictures(list)) AppendPictureEntry(page, control, entries[i], text);
    else AppendPlainEntry(page, control, entries[i], text);
    HeapFree(param->hOEMHeap, 0, text);
  }
}

// ComboBoxEx answers CB_GETITEMDATA with the entry's lParam, so both kinds
// of list read back alike.
// A selection already right is not set again.
void SelectOption(HWND page, int control, LONG option) {
  const LRESULT count = SendDlgItemMessageW(page, control, CB_GETCOUNT, 0, 0);
  LRESULT wanted = CB_ERR;
  for (LRESULT position = 0; position < count && wanted == CB_ERR; ++position) {
    if (OptionAt(page, control, position) == option) wanted = position;
  }
  if (SendDlgItemMessageW(page, control, CB_GETCURSEL, 0, 0) == wanted) return;
  SendDlgItemMessageW(page, control, CB_SETCURSEL, static_cast<WPARAM>(wanted), 0);
}

LONG SelectedOption(HWND page, int control) {
  const LRESULT position = SendDlgItemMessageW(page, control, CB_GETCURSEL, 0, 0);
  if (position == CB_ERR) return -1;
  return OptionAt(page, control, position);
}

void EnableControls(HWND page, std::initializer_list<int> controls, bool enable) {
  for (int control : controls) EnableWindow(GetDlgItem(page, control), enable ? TRUE : FALSE);
}

void SetChecked(HWND page, int control, bool checked) {
  CheckDlgButton(page, control, checked ? BST_CHECKED : BST_UNCHECKED);
}

bool IsChecked(HWND page, int control) {
  return SendDlgItemMessageW(page, control, BM_GETCHECK, 0, 0) == BST_CHECKED;
}

void SetLocalizedLabel(HWND page, int control, WORD stringId, const OEMCUIPPARAM* param) {
  WCHAR* text = LoadResString(static_cast<HMODULE>(param->hModule), param->hOEMHeap, stringId);
  if (text == nullptr) return;
  SendDlgItemMessageW(page, control, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text));
  HeapFree(param->hOEMHeap, 0, text);
}

void MarkChanged(HWND page) {
  SendMessageW(GetParent(page), PSM_CHANGED, reinterpret_cast<WPARAM>(page), 0);
}

void MarkChangedAndRepaint(HWND page) {
  MarkChanged(page);
  InvalidateLayoutPreview(page);
}
