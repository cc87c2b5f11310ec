#include "Wnd.h"

#include "WinApp.h"

#include <commctrl.h>

namespace {

const wchar_t kFrameworkClass[] = L"KestrupFrameworkWindow";

bool RegisterFrameworkClass(WNDPROC pfnProc) {
  WNDCLASSEXW wc = {};
  wc.cbSize = sizeof(wc);
  if (GetClassInfoExW(GetModuleHandleW(nullptr), kFrameworkClass, &wc)) return true;
  wc.cbSize = sizeof(wc);
  wc.lpfnWndProc = pfnProc;
  wc.hInstance = GetModuleHandleW(nullptr);
  wc.hCursor = LoadCursorW(nullptr, MAKEINTRESOURCEW(32512));  // IDC_ARROW
  wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
  wc.lpszClassName = kFrameworkClass;
  return RegisterClassExW(&wc) != 0;
}

}  // namespace

BOOL CWnd::DestroyWindow() {
  if (!m_hWnd) return FALSE;
  return ::DestroyWindow(m_hWnd);
}

void CWnd::CenterWindow() {
  RECT rcWindow;
  ::GetWindowRect(m_hWnd, &rcWindow);
  RECT rcArea;
  HWND hOwner = ::GetWindow(m_hWnd, GW_OWNER);
  if (hOwner && ::IsWindowVisible(hOwner) && !::IsIconic(hOwner)) {
    ::GetWindowRect(hOwner, &rcArea);
  } else {
    MONITORINFO mi = {};
    mi.cbSize = sizeof(mi);
    ::GetMonitorInfoW(::MonitorFromWindow(m_hWnd, MONITOR_DEFAULTTOPRIMARY), &mi);
    rcArea = mi.rcWork;
  }
  const int width = rcWindow.right - rcWindow.left;
  const int height = rcWindow.bottom - rcWindow.top;
  const int x = rcArea.left + ((rcArea.right - rcArea.left) - width) / 2;
  const int y = rcArea.top + ((rcArea.bottom - rcArea.top) - height) / 2;
  ::SetWindowPos(m_hWnd, nullptr, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

BOOL CWnd::CreateFrameworkWindow(DWORD dwExStyle, const wchar_t* pszTitle, DWORD dwStyle,
                                 HWND hParent, HMENU hMenu) {
  if (!RegisterFrameworkClass(FrameworkWndProc)) return FALSE;
  m_bCreating = true;
  HWND hWnd = ::CreateWindowExW(dwExStyle, kFrameworkClass, pszTitle, dwStyle, CW_USEDEFAULT,
                                CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, hParent, hMenu,
                                GetModuleHandleW(nullptr), this);
  m_bCreating = false;
  return hWnd != nullptr;
}

LRESULT CWnd::WindowProc(UINT uMsg, WPARAM wParam, LPARAM lParam) {
  return ::DefWindowProcW(m_hWnd, uMsg, wParam, lParam);
}

LRESULT CALLBACK CWnd::FrameworkWndProc(HWND hWnd, UINT uMsg, WPARAM wParam, LPARAM lParam) {
  CWnd* pWnd;
  if (uMsg == WM_NCCREATE) {
    pWnd = static_cast<CWnd*>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams);
    pWnd->m_hWnd = hWnd;
    ::SetWindowLongPtrW(hWnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(pWnd));
  } else {
    pWnd = reinterpret_cast<CWnd*>(::GetWindowLongPtrW(hWnd, GWLP_USERDATA));
  }
  if (!pWnd) return ::DefWindowProcW(hWnd, uMsg, wParam, lParam);
  const LRESULT result = pWnd->WindowProc(uMsg, wParam, lParam);
  if (uMsg == WM_NCDESTROY) {
    ::SetWindowLongPtrW(hWnd, GWLP_USERDATA, 0);
    pWnd->m_hWnd = nullptr;
    // A window whose creation failed (WM_CREATE answered -1) is destroyed
    // before CreateWindowExW returns; its object stays with the creator,
    // who learns of the failure and frees it once.
    if (!pWnd->m_bCreating) pWnd->PostNcDestroy();
  }
  return result;
}

BOOL CFrameWnd::LoadFrame(UINT nIDResource, DWORD dwStyle) {
  HINSTANCE hInstance = GetModuleHandleW(nullptr);
  HMENU hMenu = ::LoadMenuW(hInstance, MAKEINTRESOURCEW(nIDResource));
  m_hAccelTable = ::LoadAcceleratorsW(hInstance, MAKEINTRESOURCEW(nIDResource));
  const std::wstring title = AfxGetApp() ? AfxGetApp()->m_strAppName : std::wstring();
  if (!CreateFrameworkWindow(0, title.c_str(), dwStyle & ~FWS_ADDTOTITLE, nullptr, hMenu)) {
    if (hMenu) ::DestroyMenu(hMenu);
    return FALSE;
  }
  return TRUE;
}

void CFrameWnd::LayoutChildren() {
  RECT rcClient;
  GetClientRect(&rcClient);
  int statusHeight = 0;
  if (m_hStatusBar) {
    ::SendMessageW(m_hStatusBar, WM_SIZE, 0, 0);
    RECT rcStatus;
    ::GetWindowRect(m_hStatusBar, &rcStatus);
    statusHeight = rcStatus.bottom - rcStatus.top;
  }
  if (m_pViewActive && m_pViewActive->m_hWnd) {
    m_pViewActive->MoveWindow(0, 0, rcClient.right, rcClient.bottom - statusHeight);
  }
}

LRESULT CFrameWnd::WindowProc(UINT uMsg, WPARAM wParam, LPARAM lParam) {
  switch (uMsg) {
    case WM_CREATE:
      m_hStatusBar = ::CreateWindowExW(0, STATUSCLASSNAMEW, nullptr, WS_CHILD | WS_VISIBLE, 0, 0,
                                       0, 0, m_hWnd, reinterpret_cast<HMENU>(0xE801),
                                       GetModuleHandleW(nullptr), nullptr);
      return OnCreateClient() ? 0 : -1;
    case WM_SIZE:
      LayoutChildren();
      return 0;
    case WM_COMMAND:
      if (LOWORD(wParam) == 0xE141) {  // ID_APP_EXIT
        PostMessage(WM_CLOSE);
        return 0;
      }
      break;
    case WM_CLOSE:
      DestroyWindow();
      return 0;
    case WM_DESTROY: {
      CWinApp* pApp = AfxGetApp();
      if (pApp && pApp->m_pMainWnd == this) {
        pApp->m_pMainWnd = nullptr;
        ::PostQuitMessage(0);
      }
      return 0;
    }
  }
  return CWnd::WindowProc(uMsg, wParam, lParam);
}

BOOL CChildWnd::CreateChild(HWND hParent, UINT nID) {
  return CreateFrameworkWindow(WS_EX_CLIENTEDGE, nullptr, WS_CHILD | WS_VISIBLE, hParent,
                               reinterpret_cast<HMENU>(static_cast<UINT_PTR>(nID)));
}
