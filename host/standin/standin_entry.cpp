// A stand-in for the plug-in, for testing the resource ledger: it answers
// the plug-in interface as a plug-in that adds no page and changes no item
// would, and leaks the one kind of resource that KORVAIN_STANDIN_LEAK names
// (see standin_leaks.h). With nothing named it leaks nothing, and is the
// baseline of what an opening costs without the plug-in's own work.
// Built as the same-controls stand-in, it adds the plug-in's pages with the
// same controls and none of its logic (see same_controls_pages.h).
#include <windows.h>

#include <cstdlib>
#include <new>

#include "oem_interfaces.h"
#include "standin_leaks.h"
#include "standin_page.h"
#ifdef STANDIN_SAME_CONTROLS
#include "same_controls_pages.h"
#endif

namespace {

HMODULE g_module;
HANDLE g_driverHeap;  // the plug-in heap of the latest opening
LONG g_liveObjects;
LONG g_serverLocks;

constexpr DWORD kSignature = 0x53544E44;  // "STND"

// Objects come from malloc rather than operator new, which would bring in
// the C++ runtime's exception machinery and what it keeps for the life of
// the load (a pool, and at x86 the frame registration's lock): the stand-in
// takes nothing it does not choose to leak.
template <typename T>
T* Make() {
  void* memory = std::malloc(sizeof(T));
  return memory != nullptr ? new (memory) T() : nullptr;
}

template <typename T>
void Unmake(T* object) {
  object->~T();
  std::free(object);
}

// IUnknown for `Object`, which serves IUnknown and `served` through
// `Interface`, and is unmade at its last release.
template <typename Object, typename Interface, const IID& served>
class Counted : public Interface {
 public:
  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** ppv) override {
    if (ppv == nullptr) return E_POINTER;
    if (IsEqualIID(riid, IID_IUnknown) || IsEqualIID(riid, served)) {
      *ppv = static_cast<Interface*>(this);
      AddRef();
      return S_OK;
    }
    *ppv = nullptr;
    return E_NOINTERFACE;
  }
  ULONG STDMETHODCALLTYPE AddRef() override { return InterlockedIncrement(&references_); }
  ULONG STDMETHODCALLTYPE Release() override {
    const LONG count = InterlockedDecrement(&references_);
    if (count == 0) Unmake(static_cast<Object*>(this));
    return count;
  }

 private:
  LONG references_ = 1;
};

class StandIn : public Counted<StandIn, IPrintOemUI2, IID_IPrintOemUI2> {
 public:
  StandIn() { InterlockedIncrement(&g_liveObjects); }
  ~StandIn() { InterlockedDecrement(&g_liveObjects); }

  HRESULT STDMETHODCALLTYPE GetInfo(DWORD mode, PVOID buffer, DWORD size, PDWORD needed) override {
    if (needed == nullptr) return E_FAIL;
    *needed = sizeof(DWORD);
    if (buffer == nullptr || size < sizeof(DWORD)) return E_FAIL;
    if (mode == OEMGI_GETSIGNATURE) *static_cast<DWORD*>(buffer) = kSignature;
    else if (mode == OEMGI_GETVERSION) *static_cast<DWORD*>(buffer) = 1;
    else return E_FAIL;
    return S_OK;
  }
  // No private block.
  HRESULT STDMETHODCALLTYPE DevMode(DWORD mode, POEMDMPARAM param) override {
    if (param == nullptr) return E_FAIL;
    if (mode == OEMDM_SIZE) param->cbBufSize = 0;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE PublishDriverInterface(IUnknown* helper) override {
    LeakSite site = {};
    site.module = g_module;
    site.helper = helper;
    LeakAtMoment(LeakMoment::kPublish, site);
    return S_OK;
  }
  // No items of its own; the driver's are left as they are.
  HRESULT STDMETHODCALLTYPE CommonUIProp(DWORD, POEMCUIPPARAM param) override {
    if (param != nullptr && param->pOEMOptItems == nullptr) param->cOEMOptItems = 0;
    if (param != nullptr) g_driverHeap = param->hOEMHeap;
    return S_OK;
  }
  // No page (or the same-controls pages); each opening of the sheet is
  // where the chosen leak happens.
  HRESULT STDMETHODCALLTYPE DocumentPropertySheets(PPROPSHEETUI_INFO info, LPARAM) override {
    if (info == nullptr) return E_FAIL;
    if (info->Reason == PROPSHEETUI_REASON_INIT) LeakAtOpening(g_module);
    if (info->Reason == PROPSHEETUI_REASON_INIT && LeakNeedsPage())
      AddStandInPage(info, g_module, g_driverHeap);
#ifdef STANDIN_SAME_CONTROLS
    if (info->Reason == PROPSHEETUI_REASON_INIT) AddSameControlsPages(info, g_module);
#endif
    info->Result = info->Reason == PROPSHEETUI_REASON_DESTROY ? 1 : 0;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE DevicePropertySheets(PPROPSHEETUI_INFO, LPARAM) override {
    return E_NOTIMPL;
  }
  HRESULT STDMETHODCALLTYPE DevQueryPrintEx(POEMUIOBJ, PDEVQUERYPRINT_INFO, PDEVMODEW,
                                            PVOID) override {
    return E_NOTIMPL;
  }
  HRESULT STDMETHODCALLTYPE DeviceCapabilities(POEMUIOBJ, HANDLE, PWSTR, WORD, PVOID, PDEVMODEW,
                                               PVOID, DWORD, DWORD*) override {
    return E_NOTIMPL;
  }
  HRESULT STDMETHODCALLTYPE UpgradePrinter(DWORD, PBYTE) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE PrinterEvent(PWSTR, INT, DWORD, LPARAM) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE DriverEvent(DWORD, DWORD, LPBYTE, LPARAM) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE QueryColorProfile(HANDLE, POEMUIOBJ, PDEVMODEW, PVOID, ULONG, VOID*,
                                              ULONG*, FLONG*) override {
    return E_FAIL;
  }
  HRESULT STDMETHODCALLTYPE FontInstallerDlgProc(HWND, UINT, WPARAM, LPARAM) override {
    return E_NOTIMPL;
  }
  HRESULT STDMETHODCALLTYPE UpdateExternalFonts(HANDLE, HANDLE, PWSTR) override {
    return E_NOTIMPL;
  }
  HRESULT STDMETHODCALLTYPE QueryJobAttributes(HANDLE, PDEVMODEW, DWORD, LPBYTE) override {
    return E_NOTIMPL;
  }
  HRESULT STDMETHODCALLTYPE HideStandardUI(DWORD) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE DocumentEvent(HANDLE, HDC, INT, ULONG, PVOID, ULONG, PVOID,
                                          PINT) override {
    return E_NOTIMPL;
  }
};

class StandInFactory : public Counted<StandInFactory, IClassFactory, IID_IClassFactory> {
 public:
  HRESULT STDMETHODCALLTYPE CreateInstance(IUnknown* outer, REFIID riid, void** ppv) override {
    if (ppv == nullptr) return E_POINTER;
    *ppv = nullptr;
    if (outer != nullptr) return CLASS_E_NOAGGREGATION;
    StandIn* object = Make<StandIn>();
    if (object == nullptr) return E_OUTOFMEMORY;
    const HRESULT hr = object->QueryInterface(riid, ppv);
    object->Release();
    return hr;
  }
  HRESULT STDMETHODCALLTYPE LockServer(BOOL lock) override {
    if (lock) InterlockedIncrement(&g_serverLocks);
    else InterlockedDecrement(&g_serverLocks);
    return S_OK;
  }
};

}  // namespace

extern "C" BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID) {
  if (reason == DLL_PROCESS_ATTACH) {
    g_module = instance;
    return LeakAtLoad(instance) ? TRUE : FALSE;
  }
#ifdef STANDIN_SAME_CONTROLS
  if (reason == DLL_PROCESS_DETACH) ReleaseSameControlsContext();
#endif
  if (reason == DLL_PROCESS_DETACH) LeakAtUnload();
  return TRUE;
}

extern "C" HRESULT STDAPICALLTYPE DllGetClassObject(REFCLSID rclsid, REFIID riid, void** ppv) {
  if (!IsEqualCLSID(rclsid, CLSID_PluginUI)) return CLASS_E_CLASSNOTAVAILABLE;
  if (ppv == nullptr) return E_POINTER;
  StandInFactory* factory = Make<StandInFactory>();
  if (factory == nullptr) return E_OUTOFMEMORY;
  const HRESULT hr = factory->QueryInterface(riid, ppv);
  factory->Release();
  return hr;
}

extern "C" HRESULT STDAPICALLTYPE DllCanUnloadNow() {
  return g_liveObjects == 0 && g_serverLocks == 0 ? S_OK : S_FALSE;
}
