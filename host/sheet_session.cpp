#include "sheet_session.h"

#include <commctrl.h>
#include <winspool.h>

#include <cstdio>

#include "driver_page.h"
#include "import_patch.h"
#include "ppd_model.h"
#include "script_runner.h"
#include "spooler_printer.h"
#include "utf8_output.h"

namespace {

typedef HRESULT(STDAPICALLTYPE* DllGetClassObjectProc)(REFCLSID, REFIID, void**);

const wchar_t kDriverName[] = L"ZQ PostScript";

// The Windows version the host reports to the plug-in instead of the real
// one; set once before the plug-in's first CommonUIProp.
OSVERSIONINFOEXW g_reportedVersion;

BOOL WINAPI ReportVersion(OSVERSIONINFOW* info) {
  auto* extended = reinterpret_cast<OSVERSIONINFOEXW*>(info);
  extended->dwMajorVersion = g_reportedVersion.dwMajorVersion;
  extended->dwMinorVersion = g_reportedVersion.dwMinorVersion;
  extended->wServicePackMajor = g_reportedVersion.wServicePackMajor;
  return TRUE;
}

bool Fail(const wchar_t* what) {
  PrintLine(std::wstring(L"drvhost: ") + what, stderr);
  return false;
}

int ReadFileByte(void* file) { return ReadPpdFileByte(file); }

}  // namespace

SheetSession::SheetSession(const HostOptions& options) : options_(options) {
  heap_ = HeapCreate(0, 0, 0);
}

SheetSession::~SheetSession() {
  if (sheet_ != nullptr) DestroyWindow(sheet_);
  if (plugin_ != nullptr) plugin_->Release();
  if (factory_ != nullptr) factory_->Release();
  if (module_ != nullptr) FreeLibrary(module_);
  if (printer_ != nullptr) ClosePrinter(printer_);
  DestroyPpdModel(model_);
  if (heap_ != nullptr) HeapDestroy(heap_);
}

bool SheetSession::Open() {
  // The spooler keeps a data file as written and takes only a full Windows
  // path for one: "Z:/a/b.ppd" would be read as a name in its own folder.
  wchar_t fullPath[MAX_PATH];
  const DWORD length = GetFullPathNameW(options_.ppd.c_str(), MAX_PATH, fullPath, nullptr);
  if (length == 0 || length >= MAX_PATH) return Fail(L"the PPD path is not usable");
  options_.ppd = fullPath;
  if (!RegisterAndOpenPrinter()) return false;
  FILE* file = _wfopen(options_.ppd.c_str(), L"r");
  model_ = BuildPpdModel(ReadFileByte, file);
  if (file != nullptr) fclose(file);
  if (model_ == nullptr) return Fail(L"the PPD model could not be made");
  driverUI_.model = model_;
  driverUI_.installed = options_.installed;
  tree_.Build(model_);
  deviceTree_.BuildDevice(model_);
  if (!LoadPlugin() || !PrepareDevmode()) return false;
  RunCommonUIProp();
  return AddPages();
}

bool SheetSession::RegisterAndOpenPrinter() {
  if (!RegisterPrinter(options_.printer, kDriverName, options_.ppd))
    return Fail(L"the printer could not be registered with the spooler");
  if (!OpenPrinterW(const_cast<LPWSTR>(options_.printer.c_str()), &printer_, nullptr))
    return Fail(L"the spooler does not open the printer");
  return true;
}

bool SheetSession::LoadPlugin() {
  module_ = LoadLibraryW(options_.plugin.c_str());
  if (module_ == nullptr) return Fail(L"the plug-in cannot be loaded");
  if (options_.overrideVersion) {
    g_reportedVersion.dwMajorVersion = options_.major;
    g_reportedVersion.dwMinorVersion = options_.minor;
    g_reportedVersion.wServicePackMajor = static_cast<WORD>(options_.servicePack);
    if (ReplaceImport(module_, "kernel32.dll", "GetVersionExW",
                      reinterpret_cast<void*>(&ReportVersion)) == nullptr)
      return Fail(L"the plug-in does not ask for the Windows version");
  }
  auto getClassObject = reinterpret_cast<DllGetClassObjectProc>(
      reinterpret_cast<void (*)()>(GetProcAddress(module_, "DllGetClassObject")));
  if (getClassObject == nullptr ||
      FAILED(getClassObject(CLSID_PluginUI, IID_IClassFactory, reinterpret_cast<void**>(&factory_))))
    return Fail(L"the plug-in gives no class factory");
  if (FAILED(factory_->CreateInstance(nullptr, IID_IPrintOemUI2,
                                      reinterpret_cast<void**>(&plugin_))))
    return Fail(L"the plug-in makes no object");
  if (FAILED(plugin_->PublishDriverInterface(&driverUI_)))
    return Fail(L"the plug-in refuses the driver's helper interface");
  return true;
}

// The public device mode with the plug-in's block behind it, sized,
// defaulted and merged by the plug-in as the driver has it done.
bool SheetSession::PrepareDevmode() {
  OEMDMPARAM dm = {};
  dm.cbSize = sizeof dm;
  dm.hPrinter = printer_;
  dm.hModule = module_;
  if (FAILED(plugin_->DevMode(OEMDM_SIZE, &dm))) return Fail(L"the plug-in gives no block size");
  const DWORD blockSize = dm.cbBufSize;
  devmode_.assign(sizeof(DEVMODEW) + blockSize, 0);
  std::vector<BYTE> defaults(blockSize, 0);
  auto* devmode = reinterpret_cast<DEVMODEW*>(devmode_.data());
  devmode->dmSize = sizeof(DEVMODEW);
  devmode->dmDriverExtra = static_cast<WORD>(blockSize);
  devmode->dmFields = DM_DUPLEX | DM_ORIENTATION;
  devmode->dmDuplex = DMDUP_SIMPLEX;
  lstrcpynW(devmode->dmDeviceName, options_.printer.c_str(), CCHDEVICENAME);

  dm.pPublicDMOut = devmode;
  dm.pOEMDMOut = defaults.data();
  plugin_->DevMode(OEMDM_DEFAULT, &dm);
  dm.pPublicDMIn = devmode;
  dm.pOEMDMIn = defaults.data();
  dm.pOEMDMOut = devmode_.data() + devmode->dmSize;
  plugin_->DevMode(OEMDM_MERGE, &dm);
  return true;
}

void SheetSession::RunCommonUIProp() {
  uiObject_.cbSize = sizeof uiObject_;
  param_.cbSize = sizeof param_;
  param_.poemuiobj = &uiObject_;
  param_.hPrinter = printer_;
  param_.pPrinterName = const_cast<PWSTR>(options_.printer.c_str());
  param_.hModule = module_;
  param_.hOEMHeap = heap_;
  param_.pPublicDM = reinterpret_cast<DEVMODEW*>(devmode_.data());
  param_.pOEMDM = devmode_.data() + sizeof(DEVMODEW);
  param_.pDrvOptItems = tree_.Items();
  param_.cDrvOptItems = tree_.Count();
  param_.pOEMOptItems = nullptr;
  plugin_->CommonUIProp(OEMCUIP_DOCPROP, &param_);
  // The plug-in adds no items; the driver's array then holds the whole tree.
  param_.pOEMOptItems = tree_.Items() + tree_.Count();
  plugin_->CommonUIProp(OEMCUIP_DOCPROP, &param_);

  RunDeviceTree();
}

// The printer's device settings belong to another opening of the driver's
// user interface, with a plug-in object of its own; the host runs it here
// so that one session shows both trees.
void SheetSession::RunDeviceTree() {
  IPrintOemUI2* devicePlugin = nullptr;
  if (FAILED(factory_->CreateInstance(nullptr, IID_IPrintOemUI2,
                                      reinterpret_cast<void**>(&devicePlugin))))
    return;
  devicePlugin->PublishDriverInterface(&driverUI_);
  deviceParam_ = param_;
  deviceParam_.pPublicDM = nullptr;
  deviceParam_.pOEMDM = nullptr;
  deviceParam_.pDrvOptItems = deviceTree_.Items();
  deviceParam_.cDrvOptItems = deviceTree_.Count();
  deviceParam_.pOEMOptItems = nullptr;
  deviceParam_.OEMCUIPCallback = nullptr;
  deviceParam_.pOEMUserData = nullptr;
  devicePlugin->CommonUIProp(OEMCUIP_PRNPROP, &deviceParam_);
  deviceParam_.pOEMOptItems = deviceTree_.Items() + deviceTree_.Count();
  devicePlugin->CommonUIProp(OEMCUIP_PRNPROP, &deviceParam_);
  devicePlugin->Release();
}

LONG_PTR CALLBACK SheetSession::ComPropSheet(HANDLE sheet, UINT function, LPARAM lParam1,
                                             LPARAM lParam2) {
  auto* self = reinterpret_cast<SheetSession*>(sheet);
  self->sheetCalls_.push_back(L"pfnComPropSheet(" + std::to_wstring(function) + L", " +
                              std::to_wstring(lParam2) + L")");
  if (function != CPSFUNC_ADD_PROPSHEETPAGEW || lParam1 == 0) return 1;
  HPROPSHEETPAGE page = CreatePropertySheetPageW(reinterpret_cast<LPCPROPSHEETPAGEW>(lParam1));
  if (page != nullptr) self->pages_.push_back(page);
  return reinterpret_cast<LONG_PTR>(page);
}

bool SheetSession::AddPages() {
  pages_.push_back(CreateDriverPage(this));
  info_.cbSize = sizeof info_;
  info_.Version = PROPSHEETUI_INFO_VERSION;
  info_.Reason = PROPSHEETUI_REASON_INIT;
  info_.hComPropSheet = reinterpret_cast<HANDLE>(this);
  info_.pfnComPropSheet = &SheetSession::ComPropSheet;
  if (FAILED(plugin_->DocumentPropertySheets(&info_, 0)))
    return Fail(L"the plug-in refuses the property sheet");
  return true;
}

int SheetSession::Show() {
  PROPSHEETHEADERW header = {};
  header.dwSize = sizeof header;
  header.dwFlags = options_.script.empty() ? 0 : PSH_MODELESS;
  header.pszCaption = L"Printing Preferences";
  header.nPages = static_cast<UINT>(pages_.size());
  header.phpage = pages_.data();
  if (options_.script.empty()) {
    result_ = static_cast<int>(PropertySheetW(&header));
  } else {
    sheet_ = reinterpret_cast<HWND>(PropertySheetW(&header));
    if (sheet_ == nullptr) return -1;
    result_ = RunScript(this, options_.script) ? 1 : 0;
  }
  info_.Reason = PROPSHEETUI_REASON_DESTROY;
  plugin_->DocumentPropertySheets(&info_, 0);
  return result_;
}

void SheetSession::ApplyToDriver() {
  if (param_.OEMCUIPCallback == nullptr) return;
  CPSUICBPARAM callback = {};
  callback.cbSize = sizeof callback;
  callback.Reason = CPSUICB_REASON_APPLYNOW;
  callback.pOptItem = tree_.Items();
  callback.cOptItem = static_cast<WORD>(tree_.Count());
  param_.OEMCUIPCallback(&callback, &param_);
}

void SheetSession::ChangeItem(OPTITEM* item, LONG selection) {
  const LONG previous = item->Sel;
  item->Sel = selection;
  item->Flags |= OPTIF_CHANGEONCE;
  if (param_.OEMCUIPCallback == nullptr) return;
  CPSUICBPARAM callback = {};
  callback.cbSize = sizeof callback;
  callback.Reason = CPSUICB_REASON_SEL_CHANGED;
  callback.pOptItem = tree_.Items();
  callback.cOptItem = static_cast<WORD>(tree_.Count());
  callback.pCurItem = item;
  callback.OldSel = previous;
  param_.OEMCUIPCallback(&callback, &param_);
}
