// Drives the installer's windows from outside, for the end-to-end tests:
// finds a dialog, reads its texts and control states, presses buttons,
// sends keys and real mouse clicks. One action per run; the exit status is
// 0 on success, 1 when the window or control is not there, 2 on bad usage.
//
//   WindowDriver ACTION SELECTOR [ARGS...]
//
// SELECTOR is "dialog" (the one visible dialog box), or "title=TEXT" (a
// visible dialog box titled exactly TEXT), or "top=TEXT" (any top-level
// window titled TEXT, visible or not). Actions: wait, gone, count, title,
// rect, move X Y, close (the close box), postclose (a WM_CLOSE, as any
// program can post), foreground; and on control ID (or "focus") of the
// window: text, rawtext (CR and LF shown as \r and \n), press, key VK,
// hasfocus, list (count and selection of a list view), items (the list
// view's item texts, one per line), edit (style, first visible line and
// selection of an edit control), editend (scrolls the edit control to its
// end: text length, whether its last line of text is in view), clickitem
// N, dblclickitem N (real mouse clicks on icon-view item N of the first
// row), clickempty, deselect.
//
//   WindowDriver holdforeground TITLE MILLISECONDS
//   WindowDriver holdfile PATH MILLISECONDS
//
// show a window of its own in the foreground, or hold a file open without
// sharing it, for that long.
#include <windows.h>
#include <commctrl.h>

#include <cstdio>
#include <cstdlib>
#include <cwchar>
#include <string>
#include <vector>

namespace {

void Print(const std::wstring& text) {
  const std::wstring line = text + L"\n";
  const int size = WideCharToMultiByte(CP_UTF8, 0, line.data(), static_cast<int>(line.size()),
                                       nullptr, 0, nullptr, nullptr);
  std::string bytes(static_cast<size_t>(size), '\0');
  WideCharToMultiByte(CP_UTF8, 0, line.data(), static_cast<int>(line.size()), &bytes[0], size,
                      nullptr, nullptr);
  DWORD written = 0;
  WriteFile(GetStdHandle(STD_OUTPUT_HANDLE), bytes.data(), static_cast<DWORD>(bytes.size()),
            &written, nullptr);
}

// The text of a window of another process. The installer's thread can be
// busy for seconds (its first paint in a language whose fonts are loaded
// now, on a loaded machine); a read that timed out is asked again rather
// than taken for an empty text. False when the window never answered.
bool ReadWindowText(HWND hWnd, std::wstring* pText) {
  const DWORD start = GetTickCount();
  for (;;) {
    DWORD_PTR length = 0;
    if (SendMessageTimeoutW(hWnd, WM_GETTEXTLENGTH, 0, 0, SMTO_NORMAL, 2000, &length)) {
      std::vector<wchar_t> buffer(length + 1);
      DWORD_PTR copied = 0;
      if (SendMessageTimeoutW(hWnd, WM_GETTEXT, buffer.size(),
                              reinterpret_cast<LPARAM>(buffer.data()), SMTO_NORMAL, 2000,
                              &copied)) {
        pText->assign(buffer.data(), copied);
        return true;
      }
    }
    if (!IsWindow(hWnd) || GetTickCount() - start > 15000) return false;
    Sleep(50);
  }
}

std::wstring WindowText(HWND hWnd) {
  std::wstring text;
  ReadWindowText(hWnd, &text);
  return text;
}

std::wstring ClassName(HWND hWnd) {
  wchar_t name[64] = {};
  GetClassNameW(hWnd, name, 64);
  return name;
}

struct Selector {
  bool bAnyDialog = false;
  bool bAnyTopLevel = false;
  std::wstring title;
};

bool Matches(HWND hWnd, const Selector& selector) {
  wchar_t title[512] = {};
  GetWindowTextW(hWnd, title, 512);
  if (selector.bAnyTopLevel) return selector.title == title;
  if (!IsWindowVisible(hWnd) || ClassName(hWnd) != L"#32770") return false;
  return selector.bAnyDialog || selector.title == title;
}

struct Search {
  const Selector* pSelector;
  std::vector<HWND> found;
};

BOOL CALLBACK CollectMatch(HWND hWnd, LPARAM lParam) {
  auto* pSearch = reinterpret_cast<Search*>(lParam);
  if (Matches(hWnd, *pSearch->pSelector)) pSearch->found.push_back(hWnd);
  return TRUE;
}

std::vector<HWND> FindAll(const Selector& selector) {
  Search search = {&selector, {}};
  EnumWindows(CollectMatch, reinterpret_cast<LPARAM>(&search));
  return search.found;
}

bool ParseSelector(const std::wstring& text, Selector* pSelector) {
  if (text == L"dialog") {
    pSelector->bAnyDialog = true;
  } else if (text.rfind(L"title=", 0) == 0) {
    pSelector->title = text.substr(6);
  } else if (text.rfind(L"top=", 0) == 0) {
    pSelector->bAnyTopLevel = true;
    pSelector->title = text.substr(4);
  } else {
    return false;
  }
  return true;
}

// Waits up to timeoutMs for exactly the selector's window to appear.
HWND WaitFor(const Selector& selector, DWORD timeoutMs) {
  const DWORD start = GetTickCount();
  for (;;) {
    std::vector<HWND> found = FindAll(selector);
    if (!found.empty()) return found.front();
    if (GetTickCount() - start > timeoutMs) return nullptr;
    Sleep(50);
  }
}

HWND Control(HWND hDialog, const wchar_t* pszId) {
  return GetDlgItem(hDialog, _wtoi(pszId));
}

HWND FocusOf(HWND hWnd) {
  GUITHREADINFO info = {};
  info.cbSize = sizeof(info);
  GetGUIThreadInfo(GetWindowThreadProcessId(hWnd, nullptr), &info);
  return info.hwndFocus;
}

void SendMouseClicks(HWND hControl, int x, int y, int clicks) {
  POINT pt = {x, y};
  ClientToScreen(hControl, &pt);
  SetCursorPos(pt.x, pt.y);
  Sleep(100);
  std::vector<INPUT> inputs;
  auto button = [&](DWORD flags) {
    INPUT in = {};
    in.type = INPUT_MOUSE;
    in.mi.dwFlags = flags;
    inputs.push_back(in);
  };
  for (int i = 0; i < clicks; ++i) {
    button(MOUSEEVENTF_LEFTDOWN);
    button(MOUSEEVENTF_LEFTUP);
  }
  SendInput(static_cast<UINT>(inputs.size()), inputs.data(), sizeof(INPUT));
  Sleep(300);
}

// The centre of item nItem's icon in the first row of an icon view.
POINT IconViewItemPoint(HWND hList, int nItem) {
  const DWORD spacing = static_cast<DWORD>(SendMessageW(hList, LVM_GETITEMSPACING, FALSE, 0));
  const int cx = LOWORD(spacing);
  return POINT{nItem * cx + cx / 2, 20};
}

// Clears every item's selection the way a user's Ctrl+click can, which
// Wine's single-selection list does not offer: the item record for
// LVM_SETITEMSTATE must lie in the list's own process, since the message
// carries a pointer. The driver is built with the installer's compiler,
// so the record's layout is the same on both sides.
bool ClearSelectionInOwnerProcess(HWND hList) {
  DWORD processId = 0;
  GetWindowThreadProcessId(hList, &processId);
  HANDLE hProcess = OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_WRITE, FALSE, processId);
  if (!hProcess) return false;
  LVITEMW item = {};
  item.stateMask = LVIS_SELECTED;
  void* pRemote = VirtualAllocEx(hProcess, nullptr, sizeof(item), MEM_COMMIT, PAGE_READWRITE);
  bool bDone = false;
  if (pRemote && WriteProcessMemory(hProcess, pRemote, &item, sizeof(item), nullptr)) {
    bDone = SendMessageW(hList, LVM_SETITEMSTATE, static_cast<WPARAM>(-1),
                         reinterpret_cast<LPARAM>(pRemote)) != 0;
  }
  if (pRemote) VirtualFreeEx(hProcess, pRemote, 0, MEM_RELEASE);
  CloseHandle(hProcess);
  return bDone;
}

// The texts of a list view's items, one per line. LVM_GETITEMTEXTW carries
// a pointer, so the record and the text buffer lie in the list's process.
bool PrintListItems(HWND hList) {
  DWORD processId = 0;
  GetWindowThreadProcessId(hList, &processId);
  HANDLE hProcess =
      OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_READ | PROCESS_VM_WRITE, FALSE, processId);
  if (!hProcess) return false;
  const int kTextUnits = 260;
  const SIZE_T size = sizeof(LVITEMW) + kTextUnits * sizeof(wchar_t);
  auto* pRemote = static_cast<char*>(
      VirtualAllocEx(hProcess, nullptr, size, MEM_COMMIT, PAGE_READWRITE));
  bool bDone = pRemote != nullptr;
  const auto count = SendMessageW(hList, LVM_GETITEMCOUNT, 0, 0);
  for (int i = 0; bDone && i < count; ++i) {
    LVITEMW item = {};
    item.iSubItem = 0;
    item.pszText = reinterpret_cast<wchar_t*>(pRemote + sizeof(LVITEMW));
    item.cchTextMax = kTextUnits;
    wchar_t text[kTextUnits] = {};
    bDone = WriteProcessMemory(hProcess, pRemote, &item, sizeof(item), nullptr) &&
            SendMessageW(hList, LVM_GETITEMTEXTW, static_cast<WPARAM>(i),
                         reinterpret_cast<LPARAM>(pRemote)) >= 0 &&
            ReadProcessMemory(hProcess, pRemote + sizeof(LVITEMW), text, sizeof(text), nullptr);
    text[kTextUnits - 1] = L'\0';
    if (bDone) Print(text);
  }
  if (pRemote) VirtualFreeEx(hProcess, pRemote, 0, MEM_RELEASE);
  CloseHandle(hProcess);
  return bDone;
}

// Scrolls an edit control to its end and tells its text length and
// whether the start of its last line of text is then inside the box.
void PrintEditEnd(HWND hEdit) {
  SendMessageW(hEdit, WM_VSCROLL, SB_BOTTOM, 0);
  Sleep(200);
  const auto length = SendMessageW(hEdit, WM_GETTEXTLENGTH, 0, 0);
  auto lastLine = SendMessageW(hEdit, EM_GETLINECOUNT, 0, 0) - 1;
  // A text that ends with a line break has an empty line after it.
  if (lastLine > 0 && SendMessageW(hEdit, EM_LINELENGTH,
                                   SendMessageW(hEdit, EM_LINEINDEX, lastLine, 0), 0) == 0) {
    --lastLine;
  }
  const auto lastLineStart = SendMessageW(hEdit, EM_LINEINDEX, lastLine, 0);
  const auto position = SendMessageW(hEdit, EM_POSFROMCHAR, lastLineStart, 0);
  RECT rc;
  GetClientRect(hEdit, &rc);
  const int y = static_cast<short>(HIWORD(position));
  const bool bVisible = position != -1 && y >= 0 && y < rc.bottom;
  Print(L"length=" + std::to_wstring(length) + L" lastline-visible=" +
        (bVisible ? std::wstring(L"yes") : std::wstring(L"no")));
}

// Holds a file open without sharing it for lifetimeMs, so that no other
// program can open it meanwhile. Prints "held" once it has the file.
int HoldFile(const wchar_t* pszPath, DWORD lifetimeMs) {
  HANDLE hFile = CreateFileW(pszPath, GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING,
                             FILE_ATTRIBUTE_NORMAL, nullptr);
  if (hFile == INVALID_HANDLE_VALUE) return 1;
  Print(L"held");
  Sleep(lifetimeMs);
  CloseHandle(hFile);
  return 0;
}

// Shows a window of its own titled `title` in the foreground for
// lifetimeMs, so that a test can see another program take the foreground.
int HoldForeground(const wchar_t* pszTitle, DWORD lifetimeMs) {
  HWND hWnd = CreateWindowExW(0, L"STATIC", pszTitle, WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 200,
                              100, nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
  if (!hWnd) return 1;
  SetForegroundWindow(hWnd);
  const DWORD start = GetTickCount();
  MSG msg;
  while (GetTickCount() - start < lifetimeMs) {
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&msg);
    Sleep(20);
  }
  DestroyWindow(hWnd);
  return 0;
}

int Run(int argc, wchar_t** argv) {
  if (argc == 4 && wcscmp(argv[1], L"holdforeground") == 0) {
    return HoldForeground(argv[2], static_cast<DWORD>(_wtoi(argv[3])));
  }
  if (argc == 4 && wcscmp(argv[1], L"holdfile") == 0) {
    return HoldFile(argv[2], static_cast<DWORD>(_wtoi(argv[3])));
  }
  if (argc < 3) return 2;
  const std::wstring action = argv[1];
  Selector selector;
  if (!ParseSelector(argv[2], &selector)) return 2;
  const DWORD timeoutMs = 15000;

  if (action == L"gone") {
    const DWORD start = GetTickCount();
    while (!FindAll(selector).empty()) {
      if (GetTickCount() - start > timeoutMs) return 1;
      Sleep(50);
    }
    return 0;
  }
  if (action == L"count") {
    Print(std::to_wstring(FindAll(selector).size()));
    return 0;
  }
  HWND hWnd = WaitFor(selector, timeoutMs);
  if (!hWnd) return 1;
  // Let the dialog finish its initialisation and first paint.
  Sleep(200);

  if (action == L"wait") return 0;
  if (action == L"title") {
    Print(WindowText(hWnd));
    return 0;
  }
  if (action == L"rect") {
    RECT rc;
    GetWindowRect(hWnd, &rc);
    Print(std::to_wstring(rc.left) + L" " + std::to_wstring(rc.top) + L" " +
          std::to_wstring(rc.right) + L" " + std::to_wstring(rc.bottom));
    return 0;
  }
  if (action == L"close") return PostMessageW(hWnd, WM_SYSCOMMAND, SC_CLOSE, 0) ? 0 : 1;
  if (action == L"postclose") return PostMessageW(hWnd, WM_CLOSE, 0, 0) ? 0 : 1;
  if (action == L"foreground") {
    HWND hForeground = GetForegroundWindow();
    Print(hForeground == hWnd ? L"yes" : L"no");
    return 0;
  }
  if (action == L"move" && argc >= 5) {
    return SetWindowPos(hWnd, nullptr, _wtoi(argv[3]), _wtoi(argv[4]), 0, 0,
                        SWP_NOSIZE | SWP_NOZORDER)
               ? 0
               : 1;
  }
  if (argc < 4) return 2;
  HWND hControl = wcscmp(argv[3], L"focus") == 0 ? FocusOf(hWnd) : Control(hWnd, argv[3]);
  if (!hControl) return 1;

  if (action == L"text") {
    std::wstring text;
    if (!ReadWindowText(hControl, &text)) return 1;
    Print(text);
    return 0;
  }
  if (action == L"items") return PrintListItems(hControl) ? 0 : 1;
  if (action == L"editend") {
    PrintEditEnd(hControl);
    return 0;
  }
  if (action == L"rawtext") {
    std::wstring escaped;
    for (wchar_t ch : WindowText(hControl)) {
      if (ch == L'\r') escaped += L"\\r";
      else if (ch == L'\n') escaped += L"\\n";
      else escaped += ch;
    }
    Print(escaped);
    return 0;
  }
  if (action == L"press") return PostMessageW(hControl, BM_CLICK, 0, 0) ? 0 : 1;
  if (action == L"key" && argc >= 5) {
    const WPARAM vk = static_cast<WPARAM>(_wtoi(argv[4]));
    PostMessageW(hControl, WM_KEYDOWN, vk, 1);
    PostMessageW(hControl, WM_KEYUP, vk, 0xC0000001);
    Sleep(200);
    return 0;
  }
  if (action == L"hasfocus") {
    Print(FocusOf(hWnd) == hControl ? L"yes" : L"no");
    return 0;
  }
  if (action == L"list") {
    const auto count = SendMessageW(hControl, LVM_GETITEMCOUNT, 0, 0);
    const auto selected = SendMessageW(hControl, LVM_GETNEXTITEM, static_cast<WPARAM>(-1),
                                       MAKELPARAM(LVNI_SELECTED, 0));
    const auto focused = SendMessageW(hControl, LVM_GETNEXTITEM, static_cast<WPARAM>(-1),
                                      MAKELPARAM(LVNI_FOCUSED, 0));
    Print(L"count=" + std::to_wstring(count) + L" selected=" + std::to_wstring(selected) +
          L" focused=" + std::to_wstring(focused));
    return 0;
  }
  if (action == L"edit") {
    const LONG style = GetWindowLongW(hControl, GWL_STYLE);
    const DWORD sel = static_cast<DWORD>(SendMessageW(hControl, EM_GETSEL, 0, 0));
    const auto firstLine = SendMessageW(hControl, EM_GETFIRSTVISIBLELINE, 0, 0);
    Print(L"readonly=" + std::to_wstring((style & ES_READONLY) != 0) +
          L" multiline=" + std::to_wstring((style & ES_MULTILINE) != 0) +
          L" vscroll=" + std::to_wstring((style & WS_VSCROLL) != 0) +
          L" hscroll=" + std::to_wstring((style & (WS_HSCROLL | ES_AUTOHSCROLL)) != 0) +
          L" firstline=" + std::to_wstring(firstLine) + L" sel=" +
          std::to_wstring(LOWORD(sel)) + L"," + std::to_wstring(HIWORD(sel)));
    return 0;
  }
  if ((action == L"clickitem" || action == L"dblclickitem") && argc >= 5) {
    const POINT pt = IconViewItemPoint(hControl, _wtoi(argv[4]));
    SendMouseClicks(hControl, pt.x, pt.y, action == L"dblclickitem" ? 2 : 1);
    return 0;
  }
  if (action == L"deselect") return ClearSelectionInOwnerProcess(hControl) ? 0 : 1;
  if (action == L"clickempty") {
    RECT rc;
    GetClientRect(hControl, &rc);
    SendMouseClicks(hControl, rc.right - 10, rc.bottom - 10, 1);
    return 0;
  }
  return 2;
}

}  // namespace

int wmain(int argc, wchar_t** argv) { return Run(argc, argv); }
