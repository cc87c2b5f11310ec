#include "KestrupApp.h"

#include "ChooserDlg.h"
#include "EULADlg.h"
#include "InstallerPaths.h"
#include "MainFrame.h"
#include "SystemCheck.h"
#include "resources/resource.h"

#include <commctrl.h>
#include <process.h>

#include <cstdlib>
#include <new>

namespace {

CKestrupApp theApp;

const DWORD kFrameStyle = WS_OVERLAPPEDWINDOW | FWS_ADDTOTITLE;

}  // namespace

CKestrupApp* GetKestrupApp() { return &theApp; }

CKestrupApp::CKestrupApp() : m_nSelectedPackage(0), m_rcChooser(), m_nPackageCount(0) {
  for (PackageEntry*& pEntry : m_apPackages) pEntry = nullptr;
}

CKestrupApp::~CKestrupApp() { FreePackages(); }

int CKestrupApp::BuildPackageList() {
  return FillPackageCatalogue(GetInstallerDirectory(), m_apPackages);
}

BOOL CKestrupApp::InitInstance() {
  INITCOMMONCONTROLSEX icc = {sizeof(icc), ICC_WIN95_CLASSES};
  InitCommonControlsEx(&icc);
  CWinApp::InitInstance();
  if (!AfxOleInit()) return FALSE;
  AfxEnableControlContainer();

  if (IsAnotherCopyRunning(AfxLoadString(IDS_INSTALLER_TITLE))) return FALSE;
  if (!CreateMainFrame()) return FALSE;
  m_strCaption = AfxLoadString(IDS_INSTALLER_TITLE);

  if (!IsRunningOnSupportedWindows()) {
    EndWithMessage(IDS_UNSUPPORTED_OS);
    return FALSE;
  }
  m_nPackageCount = BuildPackageList();
  if (m_nPackageCount == 0) {
    EndWithMessage(IDS_CANNOT_INSTALL);
    return FALSE;
  }

  {
    CChooserDlg chooser;
    CEULADlg license;
    if (chooser.DoModal() == IDOK && IsFrameOpen() && license.DoModal() == IDOK &&
        IsFrameOpen() && !RunSubInstaller()) {
      return FALSE;
    }
  }
  FreePackages();
  if (!IsFrameOpen()) return FALSE;
  m_pMainWnd->PostMessage(WM_CLOSE);
  return TRUE;
}

// Another program can close the hidden frame (WM_CLOSE) while a dialog is
// open; the frame is gone then, and so is the owner of every window the
// flow would show. The flow ends without going on.
bool CKestrupApp::IsFrameOpen() const { return m_pMainWnd != nullptr; }

// The mutex lives until the process ends; its name is the installer's
// title, the same in every language, so copies started under different
// languages exclude each other.
bool CKestrupApp::IsAnotherCopyRunning(const std::wstring& title) {
  CreateMutexW(nullptr, TRUE, title.c_str());
  if (GetLastError() != ERROR_ALREADY_EXISTS) return false;
  if (HWND hOther = FindWindowW(nullptr, title.c_str())) {
    // The other copy's frame is hidden; what the user sees of it is its
    // dialog or message box, the frame's last active pop-up. While it waits
    // for its sub-installer it shows nothing, and the last active pop-up is
    // the hidden frame itself: raising that would take the keyboard from
    // the window the user works in and give it to no visible window.
    HWND hPopup = GetLastActivePopup(hOther);
    if (IsWindowVisible(hPopup)) SetForegroundWindow(hPopup);
  }
  return true;
}

bool CKestrupApp::CreateMainFrame() {
  auto* pFrame = new (std::nothrow) CMainFrame;
  if (!pFrame) return false;
  m_pMainWnd = pFrame;
  if (!pFrame->LoadFrame(IDR_MAINFRAME, kFrameStyle)) {
    delete pFrame;
    m_pMainWnd = nullptr;
    return false;
  }
  // The title a second copy looks for.
  pFrame->SetWindowText(AfxLoadString(IDS_INSTALLER_TITLE).c_str());
  pFrame->ShowWindow(SW_HIDE);
  pFrame->UpdateWindow();
  return true;
}

void CKestrupApp::ShowMessage(UINT nIDText) {
  MessageBoxW(AfxGetMainHwnd(), AfxLoadString(nIDText).c_str(), m_strCaption.c_str(), MB_OK);
}

void CKestrupApp::EndWithMessage(UINT nIDText) {
  ShowMessage(nIDText);
  if (IsFrameOpen()) m_pMainWnd->PostMessage(WM_CLOSE);
}

bool CKestrupApp::RunSubInstaller() {
  const std::wstring directory = GetInstallerDirectory();
  const std::wstring subInstaller =
      JoinPath(directory, L"Res", IsWow64() ? L"KRU_x64.exe" : L"KRU_x86.exe");
  if (!IsExistingFile(subInstaller)) {
    EndWithMessage(IDS_CANNOT_INSTALL);
    return false;
  }
  if (m_nSelectedPackage < 0 || m_nSelectedPackage >= m_nPackageCount) {
    EndWithMessage(IDS_CANNOT_INSTALL);
    return false;
  }
  const std::wstring infPath = JoinPath(
      JoinPath(directory, L"Drv"), m_apPackages[m_nSelectedPackage]->szFolderName, L"dalmont.inf");
  // An INF file that the sub-installer could not open is not left out in
  // silence: it would install nothing, or another driver, without a word.
  const InfHandover inf = ChooseInfHandover(infPath);
  if (inf.kind == InfHandover::kOutOfReach) {
    EndWithMessage(IDS_CANNOT_INSTALL);
    return false;
  }
  const std::wstring commandLine =
      BuildSubInstallerCommandLine(subInstaller, inf.path, inf.kind == InfHandover::kPath);
  if (commandLine.size() > kMaxCommandLineUnits) {
    EndWithMessage(IDS_CANNOT_INSTALL);
    return false;
  }
  // -1: the file is no program, or the system refused to start it. A
  // sub-installer that started and ended is not judged: its exit code is
  // its own matter.
  const intptr_t hProcess = _wspawnl(_P_NOWAIT, subInstaller.c_str(), commandLine.c_str(), nullptr);
  if (hProcess == -1) {
    EndWithMessage(IDS_CANNOT_INSTALL);
    return false;
  }
  WaitForSubInstaller(reinterpret_cast<HANDLE>(hProcess));
  CloseHandle(reinterpret_cast<HANDLE>(hProcess));
  return true;
}

// This thread owns the hidden frame and an OLE apartment. Setup programs
// broadcast with SendMessage (WM_SETTINGCHANGE after they change the
// system) and wait for every top-level window to answer, so the wait
// answers sent messages and nothing else: no input is read and posted
// messages stay queued for after the wait.
void CKestrupApp::WaitForSubInstaller(HANDLE hProcess) {
  while (MsgWaitForMultipleObjects(1, &hProcess, FALSE, INFINITE, QS_SENDMESSAGE) ==
         WAIT_OBJECT_0 + 1) {
    MSG msg;
    PeekMessageW(&msg, nullptr, 0, 0, PM_NOREMOVE | PM_QS_SENDMESSAGE);
  }
}

void CKestrupApp::FreePackages() {
  for (PackageEntry*& pEntry : m_apPackages) {
    free(pEntry);
    pEntry = nullptr;
  }
  m_nPackageCount = 0;
}
