// The model chooser: the catalogue as large icons, the package version,
// and OK to hand the chosen model and the dialog's place to the flow.
#pragma once

#include "framework/AfxWin.h"

class CChooserDlg : public CDialog {
public:
  CChooserDlg();

protected:
  void DoDataExchange(CDataExchange* pDX) override;
  BOOL OnInitDialog() override;
  void OnOK() override;
  BOOL OnCommand(WPARAM wParam, LPARAM lParam) override;
  BOOL OnNotify(WPARAM wParam, LPARAM lParam, LRESULT* pResult) override;

private:
  void OnBnClickedOk();
  void OnClickModelList(NMHDR* pNMHDR, LRESULT* pResult);
  void SelectItem(int nItem);
  void ShowVersion();
  void FillModelList();

  int m_nLastItem;
  CImageList m_imageList;
  CListCtrl m_listModels;
};
