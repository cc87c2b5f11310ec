// What the system hands the plug-in's windows in messages, watched by
// hooks on the thread for the length of an opening: DCs that come with a
// message (WM_CTLCOLOR*, WM_ERASEBKGND, WM_PAINT or WM_PRINTCLIENT with a
// DC, owner-drawn items) are watched as the plug-in's own DCs are while
// the message is handled, and a window that the plug-in subclassed without
// having created it is seen going.
#include <windows.h>

#include <unordered_map>

#include "ledger_state.h"

namespace {

HHOOK g_before;
HHOOK g_after;
std::unordered_map<HDC, int>* g_handedIn;  // DC -> messages it is being handled in

HDC HandedDc(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_CTLCOLORMSGBOX:
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORLISTBOX:
    case WM_CTLCOLORBTN:
    case WM_CTLCOLORDLG:
    case WM_CTLCOLORSCROLLBAR:
    case WM_CTLCOLORSTATIC:
    case WM_ERASEBKGND:
    case WM_PAINT:
    case WM_PRINT:
    case WM_PRINTCLIENT:
      return reinterpret_cast<HDC>(wParam);
    case WM_DRAWITEM:
      return lParam != 0 ? reinterpret_cast<const DRAWITEMSTRUCT*>(lParam)->hDC : nullptr;
    default:
      return nullptr;
  }
}

// Whether `window` is one of the plug-in's pages (a dialog whose procedure
// is the plug-in's) or lies inside one.
bool InsidePluginPage(HWND window) {
  for (HWND at = window; at != nullptr; at = GetAncestor(at, GA_PARENT)) {
    if (InsidePlugin(reinterpret_cast<const void*>(GetWindowLongPtrW(at, DWLP_DLGPROC))))
      return true;
    if (at == GetDesktopWindow()) break;
  }
  return false;
}

// A window the plug-in subclassed goes. Inside its page, the subclassing
// ends with the page; on any other window (the sheet's frame, the
// application's) it outlived the page that made it.
void WindowGoing(HWND window) {
  const LedgerKind* held = TheLedger().held.Find(HeldSpace::kUser, window);
  if (held == nullptr || *held != LedgerKind::kSubclass) return;
  const bool stillOurs =
      InsidePlugin(reinterpret_cast<const void*>(GetWindowLongPtrW(window, GWLP_WNDPROC)));
  if (!stillOurs || InsidePluginPage(window)) {
    Release(HeldSpace::kUser, window);
    return;
  }
  wchar_t name[64] = {};
  GetClassNameW(window, name, 64);
  TheLedger().outlivedSubclassings.insert(name);
  Forget(HeldSpace::kUser, window);
}

void Before(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_NCDESTROY) {
    WindowGoing(window);
    return;
  }
  HDC dc = HandedDc(message, wParam, lParam);
  if (dc == nullptr) return;
  int& depth = (*g_handedIn)[dc];
  // The plug-in's own DCs are watched already.
  if (depth == 0 && !WatchHandedDc(dc)) {
    g_handedIn->erase(dc);
    return;
  }
  ++depth;
}

void After(UINT message, WPARAM wParam, LPARAM lParam) {
  HDC dc = HandedDc(message, wParam, lParam);
  const auto found = dc != nullptr ? g_handedIn->find(dc) : g_handedIn->end();
  if (found == g_handedIn->end()) return;
  if (--found->second > 0) return;
  g_handedIn->erase(found);
  CheckDcGoingBack(dc);
}

LRESULT CALLBACK BeforeHook(int code, WPARAM wParam, LPARAM lParam) {
  if (code == HC_ACTION) {
    const auto* sent = reinterpret_cast<const CWPSTRUCT*>(lParam);
    Before(sent->hwnd, sent->message, sent->wParam, sent->lParam);
  }
  return CallNextHookEx(g_before, code, wParam, lParam);
}

LRESULT CALLBACK AfterHook(int code, WPARAM wParam, LPARAM lParam) {
  if (code == HC_ACTION) {
    const auto* sent = reinterpret_cast<const CWPRETSTRUCT*>(lParam);
    After(sent->message, sent->wParam, sent->lParam);
  }
  return CallNextHookEx(g_after, code, wParam, lParam);
}

}  // namespace

void WatchMessages() {
  if (g_handedIn == nullptr) g_handedIn = new std::unordered_map<HDC, int>;  // for the process
  const DWORD thread = GetCurrentThreadId();
  if (g_before == nullptr) g_before = SetWindowsHookExW(WH_CALLWNDPROC, &BeforeHook, nullptr, thread);
  if (g_after == nullptr) g_after = SetWindowsHookExW(WH_CALLWNDPROCRET, &AfterHook, nullptr, thread);
}

void StopWatchingMessages() {
  if (g_before != nullptr) UnhookWindowsHookEx(g_before);
  if (g_after != nullptr) UnhookWindowsHookEx(g_after);
  g_before = g_after = nullptr;
  for (const auto& handed : *g_handedIn) CheckDcGoingBack(handed.first);
  g_handedIn->clear();
}
