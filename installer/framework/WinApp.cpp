#include "WinApp.h"

#include "Wnd.h"

#include <objbase.h>
#include <ole2.h>

namespace {

CWinApp* g_pApp = nullptr;

std::wstring ProgramBaseName() {
  wchar_t path[MAX_PATH] = {};
  const DWORD length = GetModuleFileNameW(nullptr, path, MAX_PATH);
  std::wstring name(path, length);
  const size_t slash = name.find_last_of(L"\\/");
  if (slash != std::wstring::npos) name.erase(0, slash + 1);
  const size_t dot = name.find_last_of(L'.');
  if (dot != std::wstring::npos) name.erase(dot);
  return name;
}

bool g_bOleInitialised = false;

}  // namespace

CWinApp::CWinApp(const wchar_t* pszAppName) {
  g_pApp = this;
  if (pszAppName) m_strAppName = pszAppName;
}

CWinApp::~CWinApp() {
  if (g_bOleInitialised) {
    OleUninitialize();
    g_bOleInitialised = false;
  }
  if (g_pApp == this) g_pApp = nullptr;
}

int CWinApp::Run() {
  MSG msg;
  while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
    auto* pFrame = dynamic_cast<CFrameWnd*>(m_pMainWnd);
    if (pFrame && pFrame->GetAccelerators() &&
        TranslateAcceleratorW(pFrame->m_hWnd, pFrame->GetAccelerators(), &msg)) {
      continue;
    }
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
  }
  return ExitInstance();
}

CWinApp* AfxGetApp() { return g_pApp; }

CWnd* AfxGetMainWnd() { return g_pApp ? g_pApp->m_pMainWnd : nullptr; }

HWND AfxGetMainHwnd() {
  CWnd* pWnd = AfxGetMainWnd();
  return pWnd ? pWnd->m_hWnd : nullptr;
}

BOOL AfxOleInit() {
  if (g_bOleInitialised) return TRUE;
  if (FAILED(OleInitialize(nullptr))) return FALSE;
  g_bOleInitialised = true;
  return TRUE;
}

void AfxEnableControlContainer() {
  // The installer hosts no ActiveX controls; nothing to prepare.
}

namespace {

const UINT kStringsPerBlock = 16;

HRSRC FindStringBlock(UINT nID, LANGID language) {
  return FindResourceExW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(6),  // RT_STRING
                         MAKEINTRESOURCEW(nID / kStringsPerBlock + 1), language);
}

// The table for the user's interface language, chosen the same way on
// every system: the exact language and region; else the same primary
// language without a region; else that language stored for its default
// region. Windows and Wine rank regional fallbacks differently (Wine gives
// German (Austria) the English table), so the program decides. Null for a
// language without a table of its own, which is left to the loader.
HRSRC FindStringBlockOfUserLanguage(UINT nID) {
  const LANGID user = GetUserDefaultUILanguage();
  const LANGID candidates[] = {user, MAKELANGID(PRIMARYLANGID(user), SUBLANG_NEUTRAL),
                               MAKELANGID(PRIMARYLANGID(user), SUBLANG_DEFAULT)};
  for (LANGID language : candidates) {
    if (HRSRC hBlock = FindStringBlock(nID, language)) return hBlock;
  }
  return nullptr;
}

// Entry nID of a string block: 16 counted UTF-16 strings in a row.
std::wstring EntryOfBlock(HRSRC hBlock, UINT nID) {
  HGLOBAL hData = LoadResource(GetModuleHandleW(nullptr), hBlock);
  const auto* pUnit = static_cast<const WCHAR*>(hData ? LockResource(hData) : nullptr);
  if (!pUnit) return std::wstring();
  const WCHAR* pEnd = pUnit + SizeofResource(GetModuleHandleW(nullptr), hBlock) / sizeof(WCHAR);
  for (UINT i = 0; i < nID % kStringsPerBlock; ++i) {
    if (pUnit >= pEnd) return std::wstring();
    pUnit += 1 + *pUnit;
  }
  if (pUnit >= pEnd || pUnit + 1 + *pUnit > pEnd) return std::wstring();
  return std::wstring(pUnit + 1, *pUnit);
}

}  // namespace

std::wstring AfxLoadString(UINT nID) {
  if (HRSRC hBlock = FindStringBlockOfUserLanguage(nID)) return EntryOfBlock(hBlock, nID);
  // With a buffer size of 0 the loader hands out a pointer into the
  // resource itself, so no entry is ever cut to a buffer.
  const wchar_t* pText = nullptr;
  const int length = LoadStringW(GetModuleHandleW(nullptr), nID,
                                 reinterpret_cast<wchar_t*>(&pText), 0);
  if (length <= 0 || !pText) return std::wstring();
  return std::wstring(pText, static_cast<size_t>(length));
}

// The program's entry point: the framework runs the one application object.
int APIENTRY wWinMain(HINSTANCE, HINSTANCE, LPWSTR, int) {
  CWinApp* pApp = AfxGetApp();
  if (!pApp) return 1;
  if (pApp->m_strAppName.empty()) pApp->m_strAppName = ProgramBaseName();
  if (!pApp->InitInstance()) {
    if (CWnd* pMainWnd = pApp->m_pMainWnd) {
      pMainWnd->DestroyWindow();
      pApp->m_pMainWnd = nullptr;
    }
    return pApp->ExitInstance();
  }
  return pApp->Run();
}
