#include "document_pages.h"

#include "../layout/layout_page.h"
#include "job_settings_page.h"
#include "load_res_string.h"
#include "module_state.h"
#include "page_activation_context.h"
#include "resource_ids.h"

namespace {

// The XP builds hand the property sheet the record that ends with hActCtx,
// which the common controls of XP know; the others the full record.
#ifdef KORVAIN_XP_VARIANT
typedef PROPSHEETPAGEW_V3 PageRecord;
#else
typedef PROPSHEETPAGEW_V4 PageRecord;
#endif

WCHAR kInfoHeaderTitle[] = L"OEM UI Page";

bool IsUsableActivationContext(HANDLE context) {
  return context != nullptr && context != INVALID_HANDLE_VALUE;
}

// Adds one page and returns the handle the sheet gave it (zero when it
// refused the page; that is stored as it came).
HANDLE AddPage(PPROPSHEETUI_INFO info, UiContext* context, WORD templateId, WORD titleId,
               DLGPROC dialogProc) {
  PageRecord page;
  ZeroMemory(&page, sizeof page);
  page.dwSize = sizeof page;
  page.dwFlags = PSP_USETITLE;
  page.hInstance = g_moduleInstance;
  page.pszTemplate = MAKEINTRESOURCEW(templateId);
  page.pfnDlgProc = dialogProc;
  page.lParam = reinterpret_cast<LPARAM>(context);
  page.hActCtx = GetPageActivationContext();
  if (IsUsableActivationContext(page.hActCtx)) page.dwFlags |= PSP_USEFUSIONCONTEXT;
  const OEMCUIPPARAM* param = context->pOemCUIPParam;
  if (param != nullptr)
    page.pszTitle = LoadResString(static_cast<HMODULE>(param->hModule), param->hOEMHeap, titleId);

  context->hComPropSheet = info->hComPropSheet;
  context->pfnComPropSheet = info->pfnComPropSheet;
  return reinterpret_cast<HANDLE>(info->pfnComPropSheet(
      info->hComPropSheet, CPSFUNC_ADD_PROPSHEETPAGEW, reinterpret_cast<LPARAM>(&page), 0));
}

void AddPages(PPROPSHEETUI_INFO info, UiContext* context) {
  if (!context->bLegacySystem)
    context->hLayoutPage =
        AddPage(info, context, IDD_LAYOUT, IDS_LAYOUT_TITLE, LayoutPageProc);
  context->hJobSettingsPage = AddPage(info, context, IDD_JOB_SETTINGS, IDS_JOB_SETTINGS_TITLE,
                                      JobSettingsPageProc);
  info->pfnComPropSheet(info->hComPropSheet, CPSFUNC_SET_HSTARTPAGE, 0, SSP_STDPAGE2);
  info->Result = 0;
}

HRESULT FailWithInvalidParameter() {
  SetLastError(ERROR_INVALID_PARAMETER);
  return E_FAIL;
}

}  // namespace

HRESULT AddDocumentPages(PPROPSHEETUI_INFO pPSUIInfo, LPARAM lParam, UiContext* context) {
  if (pPSUIInfo == nullptr || pPSUIInfo->Version != PROPSHEETUI_INFO_VERSION || context == nullptr)
    return FailWithInvalidParameter();

  switch (pPSUIInfo->Reason) {
    case PROPSHEETUI_REASON_INIT:
      // Without the sheet's service function no page can be added.
      if (pPSUIInfo->pfnComPropSheet == nullptr) return FailWithInvalidParameter();
      AddPages(pPSUIInfo, context);
      break;
    case PROPSHEETUI_REASON_GET_INFO_HEADER: {
      auto* header = reinterpret_cast<PPROPSHEETUI_INFO_HEADER>(lParam);
      if (header == nullptr) return FailWithInvalidParameter();
      header->pTitle = kInfoHeaderTitle;
      pPSUIInfo->Result = 1;
      break;
    }
    case PROPSHEETUI_REASON_DESTROY:
      pPSUIInfo->Result = 1;
      break;
    case PROPSHEETUI_REASON_SET_RESULT: {
      const auto* result = reinterpret_cast<const SETRESULT_INFO*>(lParam);
      if (result == nullptr) return FailWithInvalidParameter();
      pPSUIInfo->Result = result->Result;
      break;
    }
    default:
      pPSUIInfo->Result = 0;
      break;
  }
  return S_OK;
}
