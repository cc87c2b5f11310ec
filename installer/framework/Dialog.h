// Modal dialogs from templates: the framework runs OnInitDialog, routes
// OK and Cancel (button, Enter, Esc, close box) to OnOK and OnCancel, and
// binds controls in DoDataExchange.
#pragma once

#include "Wnd.h"

class CDataExchange {
public:
  CDataExchange(CWnd* pDlgWnd, BOOL bSaveAndValidate)
      : m_pDlgWnd(pDlgWnd), m_bSaveAndValidate(bSaveAndValidate) {}
  CWnd* m_pDlgWnd;
  BOOL m_bSaveAndValidate;
};

// Binds control nIDC of the dialog to rControl (its window handle).
void DDX_Control(CDataExchange* pDX, int nIDC, CWnd& rControl);

class CDialog : public CWnd {
public:
  // pParentWnd null: the application's main window owns the dialog.
  explicit CDialog(UINT nIDTemplate, CWnd* pParentWnd = nullptr);

  // IDOK or IDCANCEL as the dialog ended, what EndDialog was given, or -1
  // when the dialog could not be created.
  virtual INT_PTR DoModal();
  void EndDialog(int nResult);
  BOOL UpdateData(BOOL bSaveAndValidate = TRUE);

protected:
  // Binds the controls; returns TRUE to let the system set the focus.
  virtual BOOL OnInitDialog();
  virtual void DoDataExchange(CDataExchange*) {}
  virtual void OnOK();
  virtual void OnCancel();
  // WM_COMMAND: IDOK goes to OnOK, IDCANCEL to OnCancel. TRUE when handled.
  virtual BOOL OnCommand(WPARAM wParam, LPARAM lParam);
  // WM_NOTIFY: TRUE when handled, with *pResult as the answer.
  virtual BOOL OnNotify(WPARAM wParam, LPARAM lParam, LRESULT* pResult);
  // WM_CTLCOLOR*: a brush, or null for the system's default colours.
  virtual HBRUSH OnCtlColor(HDC hDC, HWND hWnd, UINT nCtlColor);

  UINT m_nIDTemplate;
  CWnd* m_pParentWnd;

private:
  INT_PTR HandleMessage(UINT uMsg, WPARAM wParam, LPARAM lParam);
  BOOL HandleInitDialog();
  static INT_PTR CALLBACK DialogProc(HWND hDlg, UINT uMsg, WPARAM wParam, LPARAM lParam);
};

#define CTLCOLOR_MSGBOX 0
#define CTLCOLOR_EDIT 1
#define CTLCOLOR_LISTBOX 2
#define CTLCOLOR_BTN 3
#define CTLCOLOR_DLG 4
#define CTLCOLOR_SCROLLBAR 5
#define CTLCOLOR_STATIC 6
