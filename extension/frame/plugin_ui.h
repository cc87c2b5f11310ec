// The plug-in object the driver talks to: IPrintOemUI2 with an embedded
// context record.
#pragma once

#include "ui_context.h"

class PluginUI final : public IPrintOemUI2 {
 public:
  // Creates an object with one reference and counts it as alive; null when
  // memory runs out.
  static PluginUI* Create();

  // IUnknown
  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** ppvObj) override;
  ULONG STDMETHODCALLTYPE AddRef() override;
  ULONG STDMETHODCALLTYPE Release() override;

  // IPrintOemUI
  HRESULT STDMETHODCALLTYPE GetInfo(DWORD dwMode, PVOID pBuffer, DWORD cbSize,
                                    PDWORD pcbNeeded) override;
  HRESULT STDMETHODCALLTYPE DevMode(DWORD dwMode, POEMDMPARAM pOemDMParam) override;
  HRESULT STDMETHODCALLTYPE PublishDriverInterface(IUnknown* pIUnknown) override;
  HRESULT STDMETHODCALLTYPE CommonUIProp(DWORD dwMode, POEMCUIPPARAM pOemCUIPParam) override;
  HRESULT STDMETHODCALLTYPE DocumentPropertySheets(PPROPSHEETUI_INFO pPSUIInfo,
                                                   LPARAM lParam) override;
  HRESULT STDMETHODCALLTYPE DevicePropertySheets(PPROPSHEETUI_INFO pPSUIInfo,
                                                 LPARAM lParam) override;
  HRESULT STDMETHODCALLTYPE DevQueryPrintEx(POEMUIOBJ poemuiobj, PDEVQUERYPRINT_INFO pDQPInfo,
                                            PDEVMODEW pPublicDM, PVOID pOEMDM) override;
  HRESULT STDMETHODCALLTYPE DeviceCapabilities(POEMUIOBJ poemuiobj, HANDLE hPrinter,
                                               PWSTR pDeviceName, WORD wCapability,
                                               PVOID pOutput, PDEVMODEW pPublicDM, PVOID pOEMDM,
                                               DWORD dwOld, DWORD* dwResult) override;
  HRESULT STDMETHODCALLTYPE UpgradePrinter(DWORD dwLevel, PBYTE pDriverUpgradeInfo) override;
  HRESULT STDMETHODCALLTYPE PrinterEvent(PWSTR pPrinterName, INT iDriverEvent, DWORD dwFlags,
                                         LPARAM lParam) override;
  HRESULT STDMETHODCALLTYPE DriverEvent(DWORD dwDriverEvent, DWORD dwLevel, LPBYTE pDriverInfo,
                                        LPARAM lParam) override;
  HRESULT STDMETHODCALLTYPE QueryColorProfile(HANDLE hPrinter, POEMUIOBJ poemuiobj,
                                              PDEVMODEW pPublicDM, PVOID pOEMDM,
                                              ULONG ulQueryMode, VOID* pvProfileData,
                                              ULONG* pcbProfileData,
                                              FLONG* pflProfileData) override;
  HRESULT STDMETHODCALLTYPE FontInstallerDlgProc(HWND hWnd, UINT usMsg, WPARAM wParam,
                                                 LPARAM lParam) override;
  HRESULT STDMETHODCALLTYPE UpdateExternalFonts(HANDLE hPrinter, HANDLE hHeap,
                                                PWSTR pwstrCartridges) override;

  // IPrintOemUI2
  HRESULT STDMETHODCALLTYPE QueryJobAttributes(HANDLE hPrinter, PDEVMODEW pDevmode, DWORD dwLevel,
                                               LPBYTE lpAttributeInfo) override;
  HRESULT STDMETHODCALLTYPE HideStandardUI(DWORD dwMode) override;
  HRESULT STDMETHODCALLTYPE DocumentEvent(HANDLE hPrinter, HDC hdc, INT iEsc, ULONG cbIn,
                                          PVOID pvIn, ULONG cbOut, PVOID pvOut,
                                          PINT piResult) override;

  LONG m_cRef;
  UiContext context;

 private:
  PluginUI();
  ~PluginUI();
};

// The context record of an object that the factory made; tests that load
// the library read it to see what the methods decided.
inline UiContext* ContextOfPluginUI(IPrintOemUI2* object) {
  return &static_cast<PluginUI*>(object)->context;
}
