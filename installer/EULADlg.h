// The license agreement: the license text of the user's language, read
// only, with Accept and Decline; shown where the chooser was.
#pragma once

#include "framework/AfxWin.h"

#include <string>

class CEULADlg : public CDialog {
public:
  CEULADlg();

protected:
  BOOL OnInitDialog() override;
  HBRUSH OnCtlColor(HDC hDC, HWND hWnd, UINT nCtlColor) override;

private:
  void Relabel();
  void AppendLicenseText(CStdioFile& file);
  void AppendText(const std::wstring& text);
};
