#include "ListCtrl.h"

CImageList::~CImageList() {
  if (m_hImageList) ImageList_Destroy(m_hImageList);
}

BOOL CImageList::Create(int cx, int cy, UINT nFlags, int nInitial, int nGrow) {
  if (m_hImageList) return FALSE;
  m_hImageList = ImageList_Create(cx, cy, nFlags, nInitial, nGrow);
  return m_hImageList != nullptr;
}

int CImageList::Add(HICON hIcon) {
  if (!m_hImageList || !hIcon) return -1;
  return ImageList_ReplaceIcon(m_hImageList, -1, hIcon);
}

int CImageList::GetImageCount() const {
  return m_hImageList ? ImageList_GetImageCount(m_hImageList) : 0;
}

int CListCtrl::InsertColumn(int nCol, const wchar_t* pszHeading, int nFormat, int nWidth,
                            int nSubItem) {
  LVCOLUMNW column = {};
  column.mask = LVCF_FMT | LVCF_TEXT | LVCF_WIDTH;
  column.fmt = nFormat;
  column.cx = nWidth;
  column.pszText = const_cast<wchar_t*>(pszHeading);
  if (nSubItem >= 0) {
    column.mask |= LVCF_SUBITEM;
    column.iSubItem = nSubItem;
  }
  return static_cast<int>(
      SendMessage(LVM_INSERTCOLUMNW, nCol, reinterpret_cast<LPARAM>(&column)));
}

int CListCtrl::InsertItem(const LVITEMW* pItem) {
  return static_cast<int>(SendMessage(LVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(pItem)));
}

BOOL CListCtrl::SetItemState(int nItem, UINT nState, UINT nMask) {
  LVITEMW item = {};
  item.stateMask = nMask;
  item.state = nState;
  return static_cast<BOOL>(SendMessage(LVM_SETITEMSTATE, nItem, reinterpret_cast<LPARAM>(&item)));
}

int CListCtrl::HitTest(POINT pt) const {
  LVHITTESTINFO info = {};
  info.pt = pt;
  return static_cast<int>(
      ::SendMessageW(m_hWnd, LVM_HITTEST, 0, reinterpret_cast<LPARAM>(&info)));
}

int CListCtrl::GetNextItem(int nItem, int nFlags) const {
  return static_cast<int>(::SendMessageW(m_hWnd, LVM_GETNEXTITEM, nItem, MAKELPARAM(nFlags, 0)));
}

int CListCtrl::GetItemCount() const {
  return static_cast<int>(::SendMessageW(m_hWnd, LVM_GETITEMCOUNT, 0, 0));
}

HIMAGELIST CListCtrl::SetImageList(CImageList* pImageList, int nImageListType) {
  return reinterpret_cast<HIMAGELIST>(
      SendMessage(LVM_SETIMAGELIST, nImageListType,
                  reinterpret_cast<LPARAM>(pImageList ? pImageList->m_hImageList : nullptr)));
}
