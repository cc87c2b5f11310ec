// The window layer of the installer's small application framework: a thin
// wrapper around one window handle, and the hidden-frame window that ends
// the program when it closes.
#pragma once

#include <windows.h>

#include <string>

class CWnd {
public:
  CWnd() = default;
  CWnd(const CWnd&) = delete;
  CWnd& operator=(const CWnd&) = delete;
  virtual ~CWnd() = default;

  HWND GetSafeHwnd() const { return m_hWnd; }
  HWND GetDlgItem(int nID) const { return ::GetDlgItem(m_hWnd, nID); }
  BOOL SetWindowText(const wchar_t* pszText) { return ::SetWindowTextW(m_hWnd, pszText); }
  int GetWindowTextLength() const { return ::GetWindowTextLengthW(m_hWnd); }
  void GetWindowRect(RECT* pRect) const { ::GetWindowRect(m_hWnd, pRect); }
  void GetClientRect(RECT* pRect) const { ::GetClientRect(m_hWnd, pRect); }
  void ScreenToClient(POINT* pPoint) const { ::ScreenToClient(m_hWnd, pPoint); }
  void MoveWindow(int x, int y, int nWidth, int nHeight, BOOL bRepaint = TRUE) {
    ::MoveWindow(m_hWnd, x, y, nWidth, nHeight, bRepaint);
  }
  BOOL ShowWindow(int nCmdShow) { return ::ShowWindow(m_hWnd, nCmdShow); }
  void UpdateWindow() { ::UpdateWindow(m_hWnd); }
  HWND SetFocus() { return ::SetFocus(m_hWnd); }
  LRESULT SendMessage(UINT uMsg, WPARAM wParam = 0, LPARAM lParam = 0) {
    return ::SendMessageW(m_hWnd, uMsg, wParam, lParam);
  }
  BOOL PostMessage(UINT uMsg, WPARAM wParam = 0, LPARAM lParam = 0) {
    return ::PostMessageW(m_hWnd, uMsg, wParam, lParam);
  }
  BOOL DestroyWindow();

  // Centres the window over its visible owner, or on its monitor's work
  // area when the owner is hidden or absent.
  void CenterWindow();

  HWND m_hWnd = nullptr;

protected:
  // Creates a window of a class registered by the framework; messages go to
  // WindowProc. Returns FALSE when the window could not be made; the object
  // then still belongs to the caller (PostNcDestroy is not called for it).
  BOOL CreateFrameworkWindow(DWORD dwExStyle, const wchar_t* pszTitle, DWORD dwStyle,
                             HWND hParent, HMENU hMenu);
  virtual LRESULT WindowProc(UINT uMsg, WPARAM wParam, LPARAM lParam);
  // Called after the last message; frames delete themselves here.
  virtual void PostNcDestroy() {}

private:
  bool m_bCreating = false;
  static LRESULT CALLBACK FrameworkWndProc(HWND hWnd, UINT uMsg, WPARAM wParam, LPARAM lParam);
};

// Style bit of the framework's frames: add the document name to the title.
// The installer's frame has no document, so its title is the bare title.
#define FWS_ADDTOTITLE 0x00008000L

// A top-level frame with a menu, accelerators, one child view and a status
// bar. Closing it destroys it; destroying the application's main frame
// ends the message loop. A frame lives on the heap and deletes itself.
class CFrameWnd : public CWnd {
public:
  // Creates the frame with menu and accelerators nIDResource, titled with
  // the application's title. On FALSE the frame has not deleted itself:
  // the caller frees it.
  BOOL LoadFrame(UINT nIDResource, DWORD dwStyle);
  HACCEL GetAccelerators() const { return m_hAccelTable; }

protected:
  LRESULT WindowProc(UINT uMsg, WPARAM wParam, LPARAM lParam) override;
  void PostNcDestroy() override { delete this; }
  // The frame's children: overridden to make the view; the framework makes
  // the status bar.
  virtual BOOL OnCreateClient() { return TRUE; }
  void LayoutChildren();

  CWnd* m_pViewActive = nullptr;
  HWND m_hStatusBar = nullptr;
  HACCEL m_hAccelTable = nullptr;
};

// A plain child window that the frame shows in its client area.
// The id of the view inside a frame.
#define AFX_IDW_PANE_FIRST 0xE900

class CChildWnd : public CWnd {
public:
  BOOL CreateChild(HWND hParent, UINT nID);
};
