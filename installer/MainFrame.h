// The installer's hidden main frame and its view: the owner of every
// message box and dialog; closing it ends the program.
#pragma once

#include "framework/AfxWin.h"

class CChildView : public CChildWnd {};

class CMainFrame : public CFrameWnd {
protected:
  BOOL OnCreateClient() override;

private:
  CChildView m_wndView;
};
