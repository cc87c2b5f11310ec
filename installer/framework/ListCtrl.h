// List-view control and image list wrappers of the framework: just the
// calls the installer's chooser makes.
#pragma once

#include "Wnd.h"

#include <commctrl.h>

class CImageList {
public:
  CImageList() = default;
  CImageList(const CImageList&) = delete;
  CImageList& operator=(const CImageList&) = delete;
  ~CImageList();

  BOOL Create(int cx, int cy, UINT nFlags, int nInitial, int nGrow);
  // Appends a copy of hIcon; returns its image index or -1.
  int Add(HICON hIcon);
  int GetImageCount() const;

  HIMAGELIST m_hImageList = nullptr;
};

class CListCtrl : public CWnd {
public:
  int InsertColumn(int nCol, const wchar_t* pszHeading, int nFormat, int nWidth, int nSubItem);
  int InsertItem(const LVITEMW* pItem);
  BOOL SetItemState(int nItem, UINT nState, UINT nMask);
  int HitTest(POINT pt) const;
  // The next item after nItem (-1: from the start) with the given flags.
  int GetNextItem(int nItem, int nFlags) const;
  int GetItemCount() const;
  HIMAGELIST SetImageList(CImageList* pImageList, int nImageListType);
};
