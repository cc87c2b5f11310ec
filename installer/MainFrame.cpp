#include "MainFrame.h"

BOOL CMainFrame::OnCreateClient() {
  if (!m_wndView.CreateChild(m_hWnd, AFX_IDW_PANE_FIRST)) return FALSE;
  m_pViewActive = &m_wndView;
  return TRUE;
}
