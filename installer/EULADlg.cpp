#include "EULADlg.h"

#include "InstallerPaths.h"
#include "KestrupApp.h"
#include "resources/resource.h"

CEULADlg::CEULADlg() : CDialog(IDD_EULA) {}

BOOL CEULADlg::OnInitDialog() {
  CDialog::OnInitDialog();
  Relabel();

  // A license that cannot be read counts as missing: the user is never
  // asked to accept a text that was not shown.
  const std::wstring licensePath =
      JoinPath(GetInstallerDirectory(), L"Res", AfxLoadString(IDS_EULA_FILE));
  CStdioFile file;
  if (!IsExistingFile(licensePath) ||
      !file.Open(licensePath.c_str(),
                 CStdioFile::modeRead | CStdioFile::shareDenyNone | CStdioFile::typeBinary)) {
    MessageBoxW(AfxGetMainHwnd(), AfxLoadString(IDS_CANNOT_INSTALL).c_str(),
                AfxLoadString(IDS_INSTALLER_TITLE).c_str(), MB_OK);
    EndDialog(0);
    return FALSE;
  }
  HWND hText = GetDlgItem(IDC_EULA_TEXT);
  // The default limit of an edit control would cut a long license short.
  ::SendMessageW(hText, EM_SETLIMITTEXT, 0, 0);
  AppendLicenseText(file);

  ::SendMessageW(hText, EM_SETSEL, 0, 0);
  ::SendMessageW(hText, EM_SCROLLCARET, 0, 0);
  ::SetFocus(hText);

  const RECT& rc = GetKestrupApp()->m_rcChooser;
  MoveWindow(rc.left, rc.top, rc.right - rc.left, rc.bottom - rc.top, TRUE);
  return FALSE;
}

void CEULADlg::Relabel() {
  SetWindowText(AfxLoadString(IDS_EULA_CAPTION).c_str());
  ::SetWindowTextW(GetDlgItem(IDC_EULA_MESSAGE), AfxLoadString(IDS_EULA_MESSAGE).c_str());
  ::SetWindowTextW(GetDlgItem(IDOK), AfxLoadString(IDS_ACCEPT).c_str());
  ::SetWindowTextW(GetDlgItem(IDCANCEL), AfxLoadString(IDS_DECLINE).c_str());
}

// The file is UTF-16LE with CR LF line ends, with or without the byte
// order mark.
void CEULADlg::AppendLicenseText(CStdioFile& file) {
  unsigned char mark[2] = {};
  if (file.Read(mark, 2) != 2 || mark[0] != 0xFF || mark[1] != 0xFE) {
    file.Seek(0, CStdioFile::begin);
  }
  std::wstring line;
  while (file.ReadString(line)) AppendText(line + L'\n');
  file.Close();
}

void CEULADlg::AppendText(const std::wstring& text) {
  HWND hText = GetDlgItem(IDC_EULA_TEXT);
  const int length = ::GetWindowTextLengthW(hText);
  ::SendMessageW(hText, EM_SETSEL, length, length);
  ::SendMessageW(hText, EM_SCROLLCARET, 0, 0);
  ::SendMessageW(hText, EM_REPLACESEL, FALSE, reinterpret_cast<LPARAM>(text.c_str()));
}

// The read-only text box asks with CTLCOLOR_STATIC; the stock white brush
// needs no freeing.
HBRUSH CEULADlg::OnCtlColor(HDC hDC, HWND hWnd, UINT nCtlColor) {
  HBRUSH hBrush = CDialog::OnCtlColor(hDC, hWnd, nCtlColor);
  if (::GetDlgCtrlID(hWnd) == IDC_EULA_TEXT) {
    SetBkColor(hDC, RGB(255, 255, 255));
    return static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH));
  }
  return hBrush;
}
