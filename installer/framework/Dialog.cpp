#include "Dialog.h"

#include "WinApp.h"

void DDX_Control(CDataExchange* pDX, int nIDC, CWnd& rControl) {
  if (!rControl.m_hWnd) rControl.m_hWnd = pDX->m_pDlgWnd->GetDlgItem(nIDC);
}

CDialog::CDialog(UINT nIDTemplate, CWnd* pParentWnd)
    : m_nIDTemplate(nIDTemplate), m_pParentWnd(pParentWnd) {}

INT_PTR CDialog::DoModal() {
  HWND hOwner = m_pParentWnd ? m_pParentWnd->m_hWnd : AfxGetMainHwnd();
  const INT_PTR result =
      DialogBoxParamW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(m_nIDTemplate), hOwner,
                      DialogProc, reinterpret_cast<LPARAM>(this));
  m_hWnd = nullptr;
  return result;
}

void CDialog::EndDialog(int nResult) { ::EndDialog(m_hWnd, nResult); }

BOOL CDialog::UpdateData(BOOL bSaveAndValidate) {
  CDataExchange dx(this, bSaveAndValidate);
  DoDataExchange(&dx);
  return TRUE;
}

BOOL CDialog::OnInitDialog() {
  UpdateData(FALSE);
  return TRUE;
}

void CDialog::OnOK() {
  if (!UpdateData(TRUE)) return;
  EndDialog(IDOK);
}

void CDialog::OnCancel() { EndDialog(IDCANCEL); }

BOOL CDialog::OnCommand(WPARAM wParam, LPARAM) {
  if (HIWORD(wParam) != BN_CLICKED) return FALSE;
  switch (LOWORD(wParam)) {
    case IDOK:
      OnOK();
      return TRUE;
    case IDCANCEL:
      OnCancel();
      return TRUE;
  }
  return FALSE;
}

BOOL CDialog::OnNotify(WPARAM, LPARAM, LRESULT*) { return FALSE; }

HBRUSH CDialog::OnCtlColor(HDC, HWND, UINT) { return nullptr; }

// A dialog that OnInitDialog did not move is centred, as the framework's
// own placement; one that it moved keeps its place.
BOOL CDialog::HandleInitDialog() {
  RECT rcBefore;
  GetWindowRect(&rcBefore);
  const BOOL result = OnInitDialog();
  if (!m_hWnd || !::IsWindow(m_hWnd)) return result;
  RECT rcAfter;
  GetWindowRect(&rcAfter);
  if (EqualRect(&rcBefore, &rcAfter)) CenterWindow();
  return result;
}

INT_PTR CDialog::HandleMessage(UINT uMsg, WPARAM wParam, LPARAM lParam) {
  switch (uMsg) {
    case WM_INITDIALOG:
      return HandleInitDialog();
    case WM_COMMAND:
      return OnCommand(wParam, lParam);
    case WM_NOTIFY: {
      LRESULT result = 0;
      if (!OnNotify(wParam, lParam, &result)) return FALSE;
      SetWindowLongPtrW(m_hWnd, DWLP_MSGRESULT, result);
      return TRUE;
    }
    case WM_CTLCOLORMSGBOX:
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORLISTBOX:
    case WM_CTLCOLORBTN:
    case WM_CTLCOLORDLG:
    case WM_CTLCOLORSCROLLBAR:
    case WM_CTLCOLORSTATIC: {
      // The dialog manager takes the returned brush itself for these.
      HBRUSH hBrush = OnCtlColor(reinterpret_cast<HDC>(wParam), reinterpret_cast<HWND>(lParam),
                                 uMsg - WM_CTLCOLORMSGBOX);
      return reinterpret_cast<INT_PTR>(hBrush);
    }
  }
  return FALSE;
}

INT_PTR CALLBACK CDialog::DialogProc(HWND hDlg, UINT uMsg, WPARAM wParam, LPARAM lParam) {
  CDialog* pDlg;
  if (uMsg == WM_INITDIALOG) {
    pDlg = reinterpret_cast<CDialog*>(lParam);
    pDlg->m_hWnd = hDlg;
    SetWindowLongPtrW(hDlg, DWLP_USER, lParam);
  } else {
    pDlg = reinterpret_cast<CDialog*>(GetWindowLongPtrW(hDlg, DWLP_USER));
  }
  if (!pDlg) return FALSE;
  return pDlg->HandleMessage(uMsg, wParam, lParam);
}
