#include "plugin_ui.h"

#include <new>

#include "document_pages.h"
#include "legacy_system.h"
#include "module_state.h"
#include "private_devmode.h"
#include "../ppd/common_ui_handler.h"
#include "../ppd/ppd_model.h"

namespace {

constexpr DWORD kPluginVersion = 2;
constexpr ULONG kColorProfileBytes = 32;
const WCHAR kColorProfileName[] = L"OEMPROFILE.icm";

HRESULT FailWithLastError(DWORD error) {
  SetLastError(error);
  return E_FAIL;
}

// The Windows version decides whether the driver keeps its own layout items.
// A failed query counts as a current system.
BOOL QueryLegacySystem() {
  OSVERSIONINFOEXW version;
  ZeroMemory(&version, sizeof version);
  version.dwOSVersionInfoSize = sizeof version;
  if (!GetVersionExW(reinterpret_cast<OSVERSIONINFOW*>(&version))) return FALSE;
  return IsLegacyWindowsVersion(version.dwMajorVersion, version.dwMinorVersion,
                                version.wServicePackMajor)
             ? TRUE
             : FALSE;
}

}  // namespace

PluginUI::PluginUI() : m_cRef(1), context() {
  InterlockedIncrement(&g_liveObjectCount);
}

PluginUI::~PluginUI() {
  if (context.pOemDriverUI != nullptr) {
    context.pOemDriverUI->Release();
    context.pOemDriverUI = nullptr;
  }
  if (context.pPpdModel != nullptr) {
    DestroyPpdModel(context.pPpdModel);
    context.pPpdModel = nullptr;
  }
  InterlockedDecrement(&g_liveObjectCount);
}

PluginUI* PluginUI::Create() { return new (std::nothrow) PluginUI(); }

HRESULT STDMETHODCALLTYPE PluginUI::QueryInterface(REFIID riid, void** ppvObj) {
  if (ppvObj == nullptr) return E_POINTER;
  if (IsEqualIID(riid, IID_IUnknown) || IsEqualIID(riid, IID_IPrintOemUI2)) {
    *ppvObj = static_cast<IPrintOemUI2*>(this);
    AddRef();
    return S_OK;
  }
  *ppvObj = nullptr;
  return E_NOINTERFACE;
}

ULONG STDMETHODCALLTYPE PluginUI::AddRef() { return InterlockedIncrement(&m_cRef); }

ULONG STDMETHODCALLTYPE PluginUI::Release() {
  const LONG count = InterlockedDecrement(&m_cRef);
  if (count == 0) {
    delete this;
    return 0;
  }
  return count;
}

HRESULT STDMETHODCALLTYPE PluginUI::GetInfo(DWORD dwMode, PVOID pBuffer, DWORD cbSize,
                                            PDWORD pcbNeeded) {
  if (pcbNeeded == nullptr) return FailWithLastError(ERROR_INVALID_PARAMETER);
  *pcbNeeded = sizeof(DWORD);
  if (cbSize < sizeof(DWORD) || pBuffer == nullptr)
    return FailWithLastError(ERROR_INSUFFICIENT_BUFFER);

  switch (dwMode) {
    case OEMGI_GETSIGNATURE:
      *static_cast<DWORD*>(pBuffer) = kPluginSignature;
      return S_OK;
    case OEMGI_GETVERSION:
      *static_cast<DWORD*>(pBuffer) = kPluginVersion;
      return S_OK;
    default:
      *pcbNeeded = 0;
      return FailWithLastError(ERROR_NOT_SUPPORTED);
  }
}

HRESULT STDMETHODCALLTYPE PluginUI::DevMode(DWORD dwMode, POEMDMPARAM pOemDMParam) {
  if (pOemDMParam == nullptr) return FailWithLastError(ERROR_INVALID_PARAMETER);
  switch (dwMode) {
    case OEMDM_SIZE:
      pOemDMParam->cbBufSize = kPrivateDevmodeSize;
      return S_OK;
    case OEMDM_DEFAULT:
      SetDefaultPrivateDevmode(static_cast<PrivateDevmode*>(pOemDMParam->pOEMDMOut));
      return S_OK;
    case OEMDM_CONVERT:
    case OEMDM_MERGE:
      // A null block leaves everything as it was; the driver is told success
      // either way.
      MergePrivateDevmode(static_cast<const PrivateDevmode*>(pOemDMParam->pOEMDMIn),
                          static_cast<PrivateDevmode*>(pOemDMParam->pOEMDMOut));
      return S_OK;
    default:
      return FailWithLastError(ERROR_INVALID_PARAMETER);
  }
}

HRESULT STDMETHODCALLTYPE PluginUI::PublishDriverInterface(IUnknown* pIUnknown) {
  if (context.pOemDriverUI != nullptr) return S_OK;
  if (pIUnknown == nullptr) return E_FAIL;

  void* driverUI = nullptr;
  if (FAILED(pIUnknown->QueryInterface(IID_IPrintOemDriverUI, &driverUI))) {
    context.pOemDriverUI = nullptr;
    return E_FAIL;
  }
  context.pOemDriverUI = static_cast<IPrintOemDriverUI*>(driverUI);
  return S_OK;
}

HRESULT STDMETHODCALLTYPE PluginUI::CommonUIProp(DWORD dwMode, POEMCUIPPARAM pOemCUIPParam) {
  context.pOemCUIPParam = pOemCUIPParam;
  context.bLegacySystem = QueryLegacySystem();
  return HandleCommonUIProp(dwMode, pOemCUIPParam, &context);
}

HRESULT STDMETHODCALLTYPE PluginUI::DocumentPropertySheets(PPROPSHEETUI_INFO pPSUIInfo,
                                                           LPARAM lParam) {
  return AddDocumentPages(pPSUIInfo, lParam, &context);
}

HRESULT STDMETHODCALLTYPE PluginUI::QueryColorProfile(HANDLE, POEMUIOBJ, PDEVMODEW, PVOID,
                                                      ULONG ulQueryMode, VOID* pvProfileData,
                                                      ULONG* pcbProfileData,
                                                      FLONG* pflProfileData) {
  if (ulQueryMode != QCP_DEVICEPROFILE) return E_FAIL;
  // The driver always passes both out-pointers; a caller that does not is
  // answered like GetInfo answers a missing size pointer.
  if (pcbProfileData == nullptr) return FailWithLastError(ERROR_INVALID_PARAMETER);
  if (pvProfileData == nullptr || *pcbProfileData < kColorProfileBytes) {
    *pcbProfileData = kColorProfileBytes;
    return FailWithLastError(ERROR_INSUFFICIENT_BUFFER);
  }
  if (pflProfileData == nullptr) return FailWithLastError(ERROR_INVALID_PARAMETER);

  lstrcpynW(static_cast<WCHAR*>(pvProfileData), kColorProfileName,
            kColorProfileBytes / sizeof(WCHAR));
  *pcbProfileData = kColorProfileBytes;
  *pflProfileData = QCP_PROFILEDISK;
  return S_OK;
}

// The rest of the interface is not offered: the driver keeps its own
// behaviour for each of these.
HRESULT STDMETHODCALLTYPE PluginUI::DevicePropertySheets(PPROPSHEETUI_INFO, LPARAM) {
  return E_NOTIMPL;
}
HRESULT STDMETHODCALLTYPE PluginUI::DevQueryPrintEx(POEMUIOBJ, PDEVQUERYPRINT_INFO, PDEVMODEW,
                                                    PVOID) {
  return E_NOTIMPL;
}
HRESULT STDMETHODCALLTYPE PluginUI::DeviceCapabilities(POEMUIOBJ, HANDLE, PWSTR, WORD, PVOID,
                                                       PDEVMODEW, PVOID, DWORD, DWORD*) {
  return E_NOTIMPL;
}
HRESULT STDMETHODCALLTYPE PluginUI::UpgradePrinter(DWORD, PBYTE) { return E_NOTIMPL; }
HRESULT STDMETHODCALLTYPE PluginUI::PrinterEvent(PWSTR, INT, DWORD, LPARAM) { return E_NOTIMPL; }
HRESULT STDMETHODCALLTYPE PluginUI::DriverEvent(DWORD, DWORD, LPBYTE, LPARAM) { return E_NOTIMPL; }
HRESULT STDMETHODCALLTYPE PluginUI::FontInstallerDlgProc(HWND, UINT, WPARAM, LPARAM) {
  return E_NOTIMPL;
}
HRESULT STDMETHODCALLTYPE PluginUI::UpdateExternalFonts(HANDLE, HANDLE, PWSTR) {
  return E_NOTIMPL;
}
HRESULT STDMETHODCALLTYPE PluginUI::QueryJobAttributes(HANDLE, PDEVMODEW, DWORD, LPBYTE) {
  return E_NOTIMPL;
}
HRESULT STDMETHODCALLTYPE PluginUI::HideStandardUI(DWORD) { return E_NOTIMPL; }
HRESULT STDMETHODCALLTYPE PluginUI::DocumentEvent(HANDLE, HDC, INT, ULONG, PVOID, ULONG, PVOID,
                                                  PINT) {
  return E_NOTIMPL;
}
