#include "same_controls_pages.h"

#include <commctrl.h>
#include <prsht.h>

#include <initializer_list>

#include "resource_ids.h"

namespace {

HMODULE g_module;
HANDLE g_context = INVALID_HANDLE_VALUE;
bool g_contextMade = false;

// The common controls' functions as the plug-in takes them: from the
// library loaded in the pages' activation context, kept for the load.
struct ImageListProcs {
  HIMAGELIST(WINAPI* create)(int, int, UINT, int, int);
  int(WINAPI* replaceIcon)(HIMAGELIST, int, HICON);
  BOOL(WINAPI* destroy)(HIMAGELIST);
};
ImageListProcs g_imageLists;
bool g_imageListsBound = false;

template <typename Proc>
Proc ProcOf(HMODULE module, const char* name) {
  return reinterpret_cast<Proc>(reinterpret_cast<void (*)()>(GetProcAddress(module, name)));
}

HANDLE PagesContext() {
  if (g_contextMade) return g_context;
  g_contextMade = true;
  wchar_t path[MAX_PATH];
  if (GetModuleFileNameW(g_module, path, MAX_PATH) == 0) return g_context;
  ACTCTXW request = {};
  request.cbSize = sizeof request;
  request.dwFlags = ACTCTX_FLAG_RESOURCE_NAME_VALID;
  request.lpSource = path;
  request.lpResourceName = MAKEINTRESOURCEW(2);
  g_context = CreateActCtxW(&request);
  return g_context;
}

const ImageListProcs* BoundImageLists() {
  if (g_imageListsBound) return &g_imageLists;
  ULONG_PTR cookie = 0;
  const bool active = PagesContext() != INVALID_HANDLE_VALUE && ActivateActCtx(g_context, &cookie);
  HMODULE library = LoadLibraryW(L"comctl32.dll");
  if (active) DeactivateActCtx(0, cookie);
  if (library == nullptr) return nullptr;
  ProcOf<void(WINAPI*)()>(library, "InitCommonControls")();
  g_imageLists.create =
      ProcOf<HIMAGELIST(WINAPI*)(int, int, UINT, int, int)>(library, "ImageList_Create");
  g_imageLists.replaceIcon =
      ProcOf<int(WINAPI*)(HIMAGELIST, int, HICON)>(library, "ImageList_ReplaceIcon");
  g_imageLists.destroy = ProcOf<BOOL(WINAPI*)(HIMAGELIST)>(library, "ImageList_Destroy");
  g_imageListsBound = true;
  return &g_imageLists;
}

void SetLabel(HWND page, int control, UINT text) {
  wchar_t buffer[256];
  if (LoadStringW(g_module, text, buffer, 256) > 0)
    SendDlgItemMessageW(page, control, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(buffer));
}

// The image list of the plug-in's picture lists, in its order.
const WORD kIcons[] = {12011, 12012, 12013, 12014, 12015, 12016, 12021, 12022, 12023,
                       12024, 12025, 12026, 12027, 12028, 12029, 12030, 12001};
const int kPictureLists[] = {IDC_ORIENTATION, IDC_TWO_SIDED, IDC_PAGE_ORDER};
constexpr int kNoImage = -1;
constexpr int kBlankImage = 17;

// What the plug-in lists for a printer that offers every choice: the
// first text of each list and the image of each entry.
struct ListFill {
  int control;
  int firstText;
  int images[6];
  int count;
};
const ListFill kLists[] = {
    {IDC_ORIENTATION, 11060, {0, 2}, 2},
    {IDC_TWO_SIDED, 11065, {6, 8, 10}, 3},
    {IDC_PAGE_ORDER, 11070, {kBlankImage, kBlankImage}, 2},
    {IDC_PAGES_PER_SHEET, 11080, {kNoImage, kNoImage, kNoImage, kNoImage, kNoImage, kNoImage}, 6},
    {IDC_ARRANGEMENT, 11090, {kNoImage, kNoImage, kNoImage, kNoImage}, 4},
    {IDC_BINDING_EDGE, 11095, {kNoImage, kNoImage}, 2},
};

void AppendEntry(HWND page, const ListFill& list, int entry) {
  wchar_t text[128];
  if (LoadStringW(g_module, static_cast<UINT>(list.firstText + entry), text, 128) <= 0) return;
  if (list.images[entry] == kNoImage) {
    const LRESULT at = SendDlgItemMessageW(page, list.control, CB_INSERTSTRING,
                                           static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(text));
    if (at >= 0) SendDlgItemMessageW(page, list.control, CB_SETITEMDATA, at, entry);
    return;
  }
  COMBOBOXEXITEMW item = {};
  item.mask = CBEIF_TEXT | CBEIF_IMAGE | CBEIF_SELECTEDIMAGE | CBEIF_INDENT | CBEIF_LPARAM;
  item.iItem = -1;
  item.pszText = text;
  item.iImage = list.images[entry];
  item.iSelectedImage = list.images[entry];
  item.lParam = entry;
  SendDlgItemMessageW(page, list.control, CBEM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&item));
}

void FillLists(HWND page) {
  for (const ListFill& list : kLists) {
    for (int entry = 0; entry < list.count; ++entry) AppendEntry(page, list, entry);
    SendDlgItemMessageW(page, list.control, CB_SETCURSEL, 0, 0);
  }
  CheckDlgButton(page, IDC_PAGES_PER_SHEET_BUTTON, BST_CHECKED);
}

void AttachImageList(HWND page) {
  const ImageListProcs* procs = BoundImageLists();
  if (procs == nullptr) return;
  HIMAGELIST list = procs->create(20, 20, ILC_COLOR32 | ILC_MASK, 13, 0);
  if (list == nullptr) return;
  for (WORD id : kIcons) {
    HICON icon = static_cast<HICON>(
        LoadImageW(g_module, MAKEINTRESOURCEW(id), IMAGE_ICON, 0, 0, LR_DEFAULTCOLOR));
    if (icon == nullptr) continue;
    procs->replaceIcon(list, -1, icon);
    DestroyIcon(icon);
  }
  for (int control : kPictureLists)
    SendDlgItemMessageW(page, control, CBEM_SETIMAGELIST, 0, reinterpret_cast<LPARAM>(list));
}

void DetachImageList(HWND page) {
  auto list = reinterpret_cast<HIMAGELIST>(
      SendDlgItemMessageW(page, IDC_ORIENTATION, CBEM_GETIMAGELIST, 0, 0));
  if (list == nullptr || !g_imageListsBound) return;
  for (int control : kPictureLists) SendDlgItemMessageW(page, control, CBEM_SETIMAGELIST, 0, 0);
  g_imageLists.destroy(list);
}

// Every notice is answered as the plug-in answers it: leaving and applying
// are allowed.
INT_PTR Notice(HWND page) {
  SetWindowLongPtrW(page, DWLP_MSGRESULT, PSNRET_NOERROR);
  return TRUE;
}

struct Label {
  int control;
  UINT text;
};
const Label kLayoutLabels[] = {
    {IDC_ORIENTATION_LABEL, IDS_ORIENTATION_LABEL}, {IDC_TWO_SIDED_LABEL, IDS_TWO_SIDED_LABEL},
    {IDC_PAGE_ORDER_LABEL, IDS_PAGE_ORDER_LABEL},   {IDC_PAGE_FORMAT_GROUP, IDS_PAGE_FORMAT},
    {IDC_PAGES_PER_SHEET_BUTTON, IDS_PAGES_PER_SHEET}, {IDC_BOOKLET_BUTTON, IDS_BOOKLET},
    {IDC_ARRANGEMENT_LABEL, IDS_ARRANGEMENT_LABEL}, {IDC_BINDING_EDGE_LABEL, IDS_BINDING_EDGE_LABEL},
    {IDC_DRAW_BORDERS, IDS_DRAW_BORDERS}};

INT_PTR CALLBACK LayoutProc(HWND page, UINT message, WPARAM wParam, LPARAM) {
  switch (message) {
    case WM_INITDIALOG:
      for (const Label& label : kLayoutLabels) SetLabel(page, label.control, label.text);
      AttachImageList(page);
      return FALSE;
    case WM_SHOWWINDOW:
      if (wParam && SendDlgItemMessageW(page, IDC_ORIENTATION, CB_GETCOUNT, 0, 0) == 0)
        FillLists(page);
      return FALSE;
    case WM_NOTIFY: return Notice(page);
    case WM_DESTROY: DetachImageList(page); return FALSE;
    default: return FALSE;
  }
}

INT_PTR CALLBACK JobSettingsProc(HWND page, UINT message, WPARAM, LPARAM) {
  switch (message) {
    case WM_INITDIALOG:
      SetLabel(page, IDC_PASSWORD_PRINTING, IDS_PASSWORD_PRINTING);
      SetLabel(page, IDC_USER_NAME_LABEL, IDS_USER_NAME);
      SetLabel(page, IDC_JOB_NAME_LABEL, IDS_JOB_NAME);
      SetLabel(page, IDC_PASSWORD_LABEL, IDS_PASSWORD);
      SetLabel(page, IDC_JOB_SETTINGS_GROUP, IDS_CONFIDENTIAL_JOB);
      for (int field : {IDC_USER_NAME, IDC_JOB_NAME, IDC_PASSWORD}) {
        SendDlgItemMessageW(page, field, EM_LIMITTEXT, field == IDC_PASSWORD ? 4 : 14, 0);
        SetDlgItemTextW(page, field, L"");
      }
      CheckDlgButton(page, IDC_PASSWORD_PRINTING, BST_UNCHECKED);
      return FALSE;
    case WM_NOTIFY: return Notice(page);
    default: return FALSE;
  }
}

void AddPage(PPROPSHEETUI_INFO info, WORD templateId, UINT titleId, DLGPROC proc) {
  wchar_t title[128] = L"";
  LoadStringW(g_module, titleId, title, 128);
  PROPSHEETPAGEW page = {};
  page.dwSize = sizeof page;
  page.dwFlags = PSP_USETITLE;
  page.hInstance = g_module;
  page.pszTemplate = MAKEINTRESOURCEW(templateId);
  page.pfnDlgProc = proc;
  page.pszTitle = title;
  page.hActCtx = PagesContext();
  if (page.hActCtx != INVALID_HANDLE_VALUE) page.dwFlags |= PSP_USEFUSIONCONTEXT;
  info->pfnComPropSheet(info->hComPropSheet, CPSFUNC_ADD_PROPSHEETPAGEW,
                        reinterpret_cast<LPARAM>(&page), 0);
}

}  // namespace

void AddSameControlsPages(PPROPSHEETUI_INFO info, HMODULE module) {
  g_module = module;
  if (info->pfnComPropSheet == nullptr) return;
  AddPage(info, IDD_LAYOUT, IDS_LAYOUT_TITLE, LayoutProc);
  AddPage(info, IDD_JOB_SETTINGS, IDS_JOB_SETTINGS_TITLE, JobSettingsProc);
}

void ReleaseSameControlsContext() {
  if (g_context != INVALID_HANDLE_VALUE) ReleaseActCtx(g_context);
  g_context = INVALID_HANDLE_VALUE;
  g_contextMade = false;
}
