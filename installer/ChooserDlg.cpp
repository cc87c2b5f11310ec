#include "ChooserDlg.h"

#include "InstallerPaths.h"
#include "KestrupApp.h"
#include "resources/resource.h"

#include <shellapi.h>
#include <windowsx.h>

CChooserDlg::CChooserDlg() : CDialog(IDD_CHOOSER), m_nLastItem(0) {}

void CChooserDlg::DoDataExchange(CDataExchange* pDX) {
  CDialog::DoDataExchange(pDX);
  DDX_Control(pDX, IDC_MODEL_LIST, m_listModels);
}

BOOL CChooserDlg::OnInitDialog() {
  CDialog::OnInitDialog();
  m_nLastItem = 0;
  ShowVersion();
  SetWindowText(AfxLoadString(IDS_CHOOSER_CAPTION).c_str());
  ::SetWindowTextW(GetDlgItem(IDCANCEL), AfxLoadString(IDS_CANCEL).c_str());
  FillModelList();
  m_listModels.SetFocus();
  SelectItem(m_nLastItem);
  return FALSE;
}

void CChooserDlg::ShowVersion() {
  const std::wstring settingsPath = JoinPath(GetInstallerDirectory(), L"Res", L"setup.ini");
  wchar_t szVersion[32] = {};
  GetPrivateProfileStringW(L"Info", L"version", L"1.0.0", szVersion, 32, settingsPath.c_str());
  const std::wstring line = AfxLoadString(IDS_VERSION_LABEL) + szVersion;
  ::SetWindowTextW(GetDlgItem(IDC_VERSION), line.c_str());
}

void CChooserDlg::FillModelList() {
  m_imageList.Create(32, 32, ILC_COLOR32 | ILC_MASK, 1, 0);
  HICON hLargeIcon = nullptr;
  ExtractIconExW(L"Shell32.dll", 16, &hLargeIcon, nullptr, 1);
  if (hLargeIcon) {
    // The image list keeps its own copy of the icon.
    m_imageList.Add(hLargeIcon);
    DestroyIcon(hLargeIcon);
  }

  RECT rcList;
  m_listModels.GetClientRect(&rcList);
  m_listModels.InsertColumn(0, L"", LVCFMT_LEFT, rcList.right - rcList.left, -1);
  m_listModels.SetImageList(&m_imageList, LVSIL_NORMAL);

  const CKestrupApp* pApp = GetKestrupApp();
  for (int i = 0; i < pApp->m_nPackageCount; ++i) {
    LVITEMW item = {};
    item.mask = LVIF_TEXT | LVIF_IMAGE;
    item.iItem = i;
    item.pszText = const_cast<wchar_t*>(pApp->m_apPackages[i]->szDisplayName);
    item.iImage = 0;
    m_listModels.InsertItem(&item);
  }
}

void CChooserDlg::SelectItem(int nItem) {
  const UINT state = LVIS_SELECTED | LVIS_FOCUSED;
  m_listModels.SetItemState(nItem, state, state);
}

BOOL CChooserDlg::OnCommand(WPARAM wParam, LPARAM lParam) {
  if (LOWORD(wParam) == IDOK && HIWORD(wParam) == BN_CLICKED) {
    OnBnClickedOk();
    return TRUE;
  }
  return CDialog::OnCommand(wParam, lParam);
}

BOOL CChooserDlg::OnNotify(WPARAM wParam, LPARAM lParam, LRESULT* pResult) {
  auto* pNMHDR = reinterpret_cast<NMHDR*>(lParam);
  if (pNMHDR->idFrom == IDC_MODEL_LIST &&
      (pNMHDR->code == static_cast<UINT>(NM_CLICK) || pNMHDR->code == static_cast<UINT>(NM_DBLCLK))) {
    OnClickModelList(pNMHDR, pResult);
    return TRUE;
  }
  return CDialog::OnNotify(wParam, lParam, pResult);
}

// A click into empty space clears the list's selection; the last clicked
// model is selected again so that one model is always chosen.
void CChooserDlg::OnClickModelList(NMHDR*, LRESULT* pResult) {
  const DWORD messagePos = GetMessagePos();
  POINT pt = {GET_X_LPARAM(messagePos), GET_Y_LPARAM(messagePos)};
  m_listModels.ScreenToClient(&pt);
  const int nHit = m_listModels.HitTest(pt);
  if (nHit < 0) {
    SelectItem(m_nLastItem);
  } else {
    m_nLastItem = nHit;
  }
  *pResult = 0;
}

// With no model selected (Ctrl+click can clear it) the dialog stays open
// with the last clicked model selected again, so the flow never receives
// an index that names no catalogue entry.
void CChooserDlg::OnBnClickedOk() {
  CKestrupApp* pApp = GetKestrupApp();
  const int nSelected = m_listModels.GetNextItem(-1, LVNI_SELECTED);
  if (nSelected < 0 || nSelected >= pApp->m_nPackageCount) {
    SelectItem(m_nLastItem);
    m_listModels.SetFocus();
    return;
  }
  pApp->m_nSelectedPackage = nSelected;
  OnOK();
}

void CChooserDlg::OnOK() {
  GetWindowRect(&GetKestrupApp()->m_rcChooser);
  CDialog::OnOK();
}
