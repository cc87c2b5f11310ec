// The application object of the installer's framework: one global
// instance, whose InitInstance the program's entry point runs before the
// message loop.
#pragma once

#include <windows.h>

#include <string>

class CWnd;

class CWinApp {
public:
  // pszAppName null: the title is the program's file name without extension.
  explicit CWinApp(const wchar_t* pszAppName = nullptr);
  CWinApp(const CWinApp&) = delete;
  CWinApp& operator=(const CWinApp&) = delete;
  virtual ~CWinApp();

  // TRUE runs the message loop; FALSE destroys the main window and ends.
  virtual BOOL InitInstance() { return TRUE; }
  virtual int ExitInstance() { return 0; }
  // The message loop; ends when the main window has been destroyed.
  virtual int Run();

  CWnd* m_pMainWnd = nullptr;
  std::wstring m_strAppName;
};

CWinApp* AfxGetApp();
CWnd* AfxGetMainWnd();
HWND AfxGetMainHwnd();
// FALSE when COM/OLE cannot be initialised for this thread.
BOOL AfxOleInit();
void AfxEnableControlContainer();
// String nID of the program's string table in the user's interface
// language (the exact one, else its primary language without a region,
// else its primary language's default region; for a language without a
// table the one the resource loader picks); empty when there is none.
// Loaded on every call.
std::wstring AfxLoadString(UINT nID);
