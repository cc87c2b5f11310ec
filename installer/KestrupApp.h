// The installer's application object: runs the whole flow in InitInstance
// and holds what the dialogs share (catalogue, chosen model, the chooser's
// last rectangle).
#pragma once

#include "PackageCatalogue.h"
#include "framework/AfxWin.h"

#include <string>

class CKestrupApp : public CWinApp {
public:
  CKestrupApp();
  ~CKestrupApp() override;

  BOOL InitInstance() override;
  int BuildPackageList();

  int m_nSelectedPackage;
  RECT m_rcChooser;
  int m_nPackageCount;
  PackageEntry* m_apPackages[kMaxPackages];

private:
  bool IsAnotherCopyRunning(const std::wstring& title);
  bool CreateMainFrame();
  bool IsFrameOpen() const;
  void ShowMessage(UINT nIDText);
  // Shows message nIDText, closes the frame; the caller returns FALSE.
  void EndWithMessage(UINT nIDText);
  // Starts the chosen model's sub-installer and waits for it; false when
  // the sub-installer is missing or cannot be started, or the INF file is
  // there but out of its reach (the message has been shown then).
  bool RunSubInstaller();
  // Returns when the process has ended; answers only sent messages meanwhile.
  void WaitForSubInstaller(HANDLE hProcess);
  void FreePackages();

  std::wstring m_strCaption;
};

CKestrupApp* GetKestrupApp();
