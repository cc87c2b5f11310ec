#include "job_settings_page.h"

#include <commctrl.h>
#include <prsht.h>

#include "job_settings_edit_filters.h"
#include "job_settings_fields.h"
#include "load_res_string.h"
#include "page_controls.h"
#include "private_devmode.h"
#include "resource_ids.h"

namespace {

constexpr int kNameLimit = 14;
constexpr int kPasswordLimit = 4;
constexpr int kMinPasswordLength = 4;

const int kFieldsAndLabels[] = {IDC_USER_NAME,       IDC_JOB_NAME,       IDC_PASSWORD,
                                IDC_USER_NAME_LABEL, IDC_JOB_NAME_LABEL, IDC_PASSWORD_LABEL};

UiContext* ContextOf(HWND page) {
  return reinterpret_cast<UiContext*>(GetWindowLongPtrW(page, DWLP_USER));
}

PrivateDevmode* PrivateBlockOf(const UiContext* context) {
  return static_cast<PrivateDevmode*>(context->pOemCUIPParam->pOEMDM);
}

// The page's texts are UTF-16 on both sides of this seam.
static_assert(sizeof(WCHAR) == sizeof(char16_t), "WCHAR is a UTF-16 unit");

const WCHAR* Wide(const char16_t* text) { return reinterpret_cast<const WCHAR*>(text); }

void LoadControls(HWND page, const PrivateDevmode* block) {
  JobSettingsFields fields;
  LoadJobSettingsFields(block, &fields);
  CheckControl(page, IDC_PASSWORD_PRINTING, fields.confidential ? BST_CHECKED : BST_UNCHECKED);
  SetControlText(page, IDC_USER_NAME, Wide(fields.userName));
  SetControlText(page, IDC_JOB_NAME, Wide(fields.jobName));
  SetControlText(page, IDC_PASSWORD, Wide(fields.password));
}

// At most 14 characters of an edit field (fewer where the text holds
// less), terminated.
template <size_t Units>
void ReadEditText(HWND page, int control, char16_t (&text)[Units]) {
  const size_t units = Units < kEditReadUnits ? Units : kEditReadUnits;
  text[0] = 0;
  ControlText(page, control, reinterpret_cast<WCHAR*>(text), static_cast<int>(units));
}

void StoreControls(HWND page, PrivateDevmode* block) {
  JobSettingsFields fields;
  fields.confidential = ControlCheckState(page, IDC_PASSWORD_PRINTING) == BST_CHECKED;
  ReadEditText(page, IDC_USER_NAME, fields.userName);
  ReadEditText(page, IDC_JOB_NAME, fields.jobName);
  ReadEditText(page, IDC_PASSWORD, fields.password);
  StoreJobSettingsFields(fields, block);
}

void SetLocalizedText(HWND page, int control, WORD stringId, const OEMCUIPPARAM* param) {
  // The strings stay on the driver's heap, which outlives the page.
  const WCHAR* text = LoadResString(static_cast<HMODULE>(param->hModule), param->hOEMHeap, stringId);
  if (text != nullptr) SetControlText(page, control, text);
}

void PrepareFields(HWND page, const UiContext* context) {
  const OEMCUIPPARAM* param = context->pOemCUIPParam;
  SetLocalizedText(page, IDC_PASSWORD_PRINTING, IDS_PASSWORD_PRINTING, param);
  SetLocalizedText(page, IDC_USER_NAME_LABEL, IDS_USER_NAME, param);
  SetLocalizedText(page, IDC_JOB_NAME_LABEL, IDS_JOB_NAME, param);
  SetLocalizedText(page, IDC_PASSWORD_LABEL, IDS_PASSWORD, param);
  SetLocalizedText(page, IDC_JOB_SETTINGS_GROUP, IDS_CONFIDENTIAL_JOB, param);

  SendToControl(page, IDC_USER_NAME, EM_LIMITTEXT, kNameLimit, 0);
  SendToControl(page, IDC_JOB_NAME, EM_LIMITTEXT, kNameLimit, 0);
  SendToControl(page, IDC_PASSWORD, EM_LIMITTEXT, kPasswordLimit, 0);
  InstallEditFilter(PageControl(page, IDC_USER_NAME), NameEditProc);
  InstallEditFilter(PageControl(page, IDC_JOB_NAME), NameEditProc);
  InstallEditFilter(PageControl(page, IDC_PASSWORD), PasswordEditProc);

  LoadControls(page, PrivateBlockOf(context));
  UpdateJobSettingsControls(page);
}

// The context reaches the page's slot only once the fields are loaded:
// loading them sends EN_CHANGE, and with no context yet those notices mark
// nothing changed, so merely looking at the page leaves Apply off.
void OnInitDialog(HWND page, const PROPSHEETPAGEW* record) {
  UiContext* context = record != nullptr ? reinterpret_cast<UiContext*>(record->lParam) : nullptr;
  RememberEditClassProc(PageControl(page, IDC_USER_NAME));
  if (context != nullptr && context->pOemCUIPParam != nullptr &&
      context->pOemCUIPParam->pOEMDM != nullptr)
    PrepareFields(page, context);
  SetWindowLongPtrW(page, DWLP_USER, reinterpret_cast<LONG_PTR>(context));
}

void MarkSheetChanged(HWND page) { PropSheet_Changed(GetParent(page), page); }

void OnCommand(HWND page, WORD control, WORD code) {
  if (control == IDC_PASSWORD_PRINTING && code == BN_CLICKED) {
    MarkSheetChanged(page);
    UpdateJobSettingsControls(page);
  } else if ((control == IDC_USER_NAME || control == IDC_JOB_NAME || control == IDC_PASSWORD) &&
             code == EN_CHANGE) {
    MarkSheetChanged(page);
  }
}

// Leaving the page and applying it are alike: valid entries are stored,
// invalid ones keep the page in front and refuse the apply.
INT_PTR OnLeaveOrApply(HWND page, UiContext* context) {
  if (!ValidateJobSettings(page, context)) {
    SetWindowLongPtrW(page, DWLP_MSGRESULT, PSNRET_INVALID_NOCHANGEPAGE);
    return TRUE;
  }
  if (context->pfnComPropSheet != nullptr)
    context->pfnComPropSheet(context->hComPropSheet, CPSFUNC_SET_RESULT,
                             reinterpret_cast<LPARAM>(context->hJobSettingsPage), CPSUI_OK);
  PropSheet_UnChanged(GetParent(page), page);
  SetWindowLongPtrW(page, DWLP_MSGRESULT, PSNRET_NOERROR);
  PrivateDevmode* block = PrivateBlockOf(context);
  if (block != nullptr) StoreControls(page, block);
  return TRUE;
}

INT_PTR OnNotify(HWND page, UiContext* context, const NMHDR* header) {
  if (header == nullptr) return FALSE;
  switch (header->code) {
    case PSN_RESET:
      return FALSE;
    case PSN_APPLY:
    case PSN_KILLACTIVE:
      return OnLeaveOrApply(page, context);
    default:
      return TRUE;
  }
}

void Warn(HWND page, const UiContext* context, WORD messageId) {
  const OEMCUIPPARAM* param = context->pOemCUIPParam;
  const HMODULE module = static_cast<HMODULE>(param->hModule);
  WCHAR* caption = LoadResString(module, param->hOEMHeap, IDS_PASSWORD_ERROR_CAPTION);
  WCHAR* text = LoadResString(module, param->hOEMHeap, messageId);
  MessageBoxW(page, text != nullptr ? text : L"", caption, MB_OK | MB_ICONWARNING);
  if (caption != nullptr) HeapFree(param->hOEMHeap, 0, caption);
  if (text != nullptr) HeapFree(param->hOEMHeap, 0, text);
}

int EditTextLength(HWND page, int control) {
  WCHAR text[kEditReadUnits] = {};
  return ControlText(page, control, text, kEditReadUnits);
}

// The typing filter keeps letters out of the field, but text also arrives
// by routes it never sees (the edit control's own paste on Shift+Insert,
// WM_SETTEXT, WM_UNICHAR): the printer's keypad takes digits only.
bool IsValidPassword(HWND page) {
  WCHAR text[kEditReadUnits] = {};
  const int length = ControlText(page, IDC_PASSWORD, text, kEditReadUnits);
  if (length < kMinPasswordLength) return false;
  for (int i = 0; i < length; ++i) {
    if (text[i] < L'0' || text[i] > L'9') return false;
  }
  return true;
}

}  // namespace

INT_PTR CALLBACK JobSettingsPageProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_INITDIALOG) {
    OnInitDialog(hwnd, reinterpret_cast<const PROPSHEETPAGEW*>(lParam));
    return FALSE;
  }
  if (message == WM_DESTROY) ForgetPageControls(hwnd);
  UiContext* context = ContextOf(hwnd);
  if (context == nullptr || context->pOemCUIPParam == nullptr) return FALSE;

  switch (message) {
    case WM_COMMAND:
      OnCommand(hwnd, LOWORD(wParam), HIWORD(wParam));
      return FALSE;
    case WM_NOTIFY:
      return OnNotify(hwnd, context, reinterpret_cast<const NMHDR*>(lParam));
    default:
      return FALSE;
  }
}

bool ValidateJobSettings(HWND page, const UiContext* context) {
  if (ControlCheckState(page, IDC_PASSWORD_PRINTING) != BST_CHECKED) return true;
  if (EditTextLength(page, IDC_USER_NAME) == 0 || EditTextLength(page, IDC_JOB_NAME) == 0) {
    Warn(page, context, IDS_ENTER_USER_AND_JOB_NAME);
    return false;
  }
  if (IsValidPassword(page)) return true;
  Warn(page, context, IDS_PASSWORD_TOO_SHORT);
  return false;
}

void UpdateJobSettingsControls(HWND page) {
  const bool on = ControlCheckState(page, IDC_PASSWORD_PRINTING) != BST_UNCHECKED;
  if (!on) SendToControl(page, IDC_PASSWORD_PRINTING, WM_SETFOCUS, 0, 0);
  for (int control : kFieldsAndLabels) EnableWindow(PageControl(page, control), on ? TRUE : FALSE);
}
