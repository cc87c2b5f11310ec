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
  void ShowMessage(UINT nIDText);
  // Shows message nIDText, closes the frame; the caller returns FALSE.
  void EndWithMessage(UINT nIDText);
  // Starts the chosen model's sub-installer and waits for it; false when
  // the sub-installer is missing (the message has been shown then).
  bool RunSubInstaller();
  void FreePackages();

  std::wstring m_strCaption;
};

CKestrupApp* GetKestrupApp();
