#include "sheet_session.h"

#include <commctrl.h>
#include <winspool.h>

#include <algorithm>
#include <cstddef>
#include <cstdio>
#include <cstring>

#include "driver_page.h"
#include "opening_probe.h"
#include "ppd_file_bytes.h"
#include "ppd_model.h"
#include "script_runner.h"
#include "spooler_printer.h"
#include "utf8_output.h"

namespace {

const wchar_t kDriverName[] = L"ZQ PostScript";

bool Fail(const wchar_t* what) {
  PrintLine(std::wstring(L"drvhost: ") + what, stderr);
  return false;
}

bool ReadWholeFile(const std::wstring& path, std::vector<BYTE>* bytes) {
  FILE* file = _wfopen(path.c_str(), L"rb");
  if (file == nullptr) return false;
  BYTE buffer[4096];
  size_t count;
  while ((count = fread(buffer, 1, sizeof buffer, file)) > 0)
    bytes->insert(bytes->end(), buffer, buffer + count);
  fclose(file);
  return true;
}

// The public part of a stored device mode reaches up to dmDriverExtra at
// least; older systems wrote shorter ones than ours.
constexpr size_t kShortestPublicPart = offsetof(DEVMODEW, dmDriverExtra) + sizeof(WORD);

}  // namespace

SheetSession::SheetSession(const HostOptions& options, PluginLibrary* library)
    : options_(options), library_(library), module_(library->Module()) {
  heap_ = HeapCreate(0, 0, 0);
}

void SheetSession::Close(void (*beforeHeapDestroyed)()) {
  PhaseTimer timer(OpeningPhase::kRelease);
  if (sheet_ != nullptr) DestroyWindow(sheet_);
  sheet_ = nullptr;
  if (plugin_ != nullptr) plugin_->Release();
  plugin_ = nullptr;
  if (printer_ != nullptr) ClosePrinter(printer_);
  printer_ = nullptr;
  DestroyPpdModel(model_);
  model_ = nullptr;
  if (heap_ == nullptr) return;
  if (beforeHeapDestroyed != nullptr) beforeHeapDestroyed();
  HeapDestroy(heap_);
  heap_ = nullptr;
}

bool SheetSession::Open() {
  // The spooler keeps a data file as written and takes only a full Windows
  // path for one: "Z:/a/b.ppd" would be read as a name in its own folder.
  wchar_t fullPath[MAX_PATH];
  const DWORD length = GetFullPathNameW(options_.ppd.c_str(), MAX_PATH, fullPath, nullptr);
  if (length == 0 || length >= MAX_PATH) return Fail(L"the PPD path is not usable");
  options_.ppd = fullPath;
  if (!RegisterAndOpenPrinter()) return false;
  if (!ReadPrinterPpd()) return false;
  if (!LockItems()) return false;
  driverUI_.MarkConflicts();
  {
    PhaseTimer timer(OpeningPhase::kObjectAndBlock);
    if (!CreatePlugin() || !PrepareDevmode()) return false;
  }
  RunCommonUIProp();
  return AddPages();
}

// The driver's own reading of the PPD: its model read in blocks through the
// same reader as the plug-in's, and its constraints from the file's bytes
// taken in one piece.
bool SheetSession::ReadPrinterPpd() {
  {
    PhaseTimer timer(OpeningPhase::kHostModel);
    FILE* file = _wfopen(options_.ppd.c_str(), L"r");
    if (file == nullptr) return Fail(L"the PPD cannot be read");
    model_ = BuildPpdModel(ReadPpdFileByte, file);
    fclose(file);
  }
  if (model_ == nullptr) return Fail(L"the PPD model could not be made");
  PhaseTimer timer(OpeningPhase::kHostTree);
  std::vector<char> ppd;
  if (!ReadPpdFileBytes(options_.ppd, &ppd)) return Fail(L"the PPD cannot be read");
  driverUI_.model = model_;
  driverUI_.installed = options_.installed;
  tree_.Build(model_);
  driverUI_.tree = &tree_;
  driverUI_.constraints = ReadUiConstraints(ppd);
  return true;
}

// The driver disables items that its own settings lock, as a printer
// administrator's policy may.
bool SheetSession::LockItems() {
  for (const std::wstring& name : options_.locked) {
    OPTITEM* item = tree_.Find(name);
    if (item == nullptr) return Fail((L"no item to lock is named " + name).c_str());
    item->Flags |= OPTIF_DISABLED;
  }
  return true;
}

bool SheetSession::RegisterAndOpenPrinter() {
  if (!RegisterPrinter(options_.printer, kDriverName, options_.ppd))
    return Fail(L"the printer could not be registered with the spooler");
  if (!OpenPrinterW(const_cast<LPWSTR>(options_.printer.c_str()), &printer_, nullptr))
    return Fail(L"the spooler does not open the printer");
  return true;
}

// The object, told about the driver's helper interface, and asked for its
// signature and version before its block is sized, as the driver does.
bool SheetSession::CreatePlugin() {
  if (module_ == nullptr || library_->Factory() == nullptr)
    return Fail(L"the plug-in is not loaded");
  if (FAILED(library_->Factory()->CreateInstance(nullptr, IID_IPrintOemUI2,
                                                 reinterpret_cast<void**>(&plugin_))))
    return Fail(L"the plug-in makes no object");
  if (FAILED(plugin_->PublishDriverInterface(&driverUI_)))
    return Fail(L"the plug-in refuses the driver's helper interface");
  const struct {
    DWORD mode;
    const wchar_t* name;
  } queries[] = {{OEMGI_GETSIGNATURE, L"signature"}, {OEMGI_GETVERSION, L"version"}};
  for (const auto& query : queries) {
    DWORD value = 0;
    DWORD needed = 0;
    const HRESULT hr = plugin_->GetInfo(query.mode, &value, sizeof value, &needed);
    driverUI_.calls.push_back(Format(L"GetInfo(%ls) -> 0x%08lX (%ls)", query.name, value,
                                     ResultText(hr)));
    if (FAILED(hr)) return Fail(L"the plug-in does not tell its signature and version");
  }
  return true;
}

// A device mode stored by an earlier opening: its public part and its
// private block as they were written, whatever their sizes.
bool SheetSession::ReadDevmodeIn(std::vector<BYTE>* publicPart,
                                 std::vector<BYTE>* privateBlock) const {
  std::vector<BYTE> bytes;
  if (!ReadWholeFile(options_.devmodeIn, &bytes)) return Fail(L"the device mode cannot be read");
  if (bytes.size() < kShortestPublicPart) return Fail(L"the device mode is too short");
  DEVMODEW header = {};
  std::memcpy(&header, bytes.data(), kShortestPublicPart);
  if (header.dmSize < kShortestPublicPart ||
      static_cast<size_t>(header.dmSize) + header.dmDriverExtra > bytes.size())
    return Fail(L"the device mode's sizes do not fit the file");
  publicPart->assign(bytes.begin(), bytes.begin() + header.dmSize);
  privateBlock->assign(bytes.begin() + header.dmSize,
                       bytes.begin() + header.dmSize + header.dmDriverExtra);
  return true;
}

// The public device mode with the plug-in's block behind it, sized,
// defaulted and merged by the plug-in as the driver has it done: from the
// defaults, or from a device mode stored earlier.
bool SheetSession::PrepareDevmode() {
  OEMDMPARAM dm = {};
  dm.cbSize = sizeof dm;
  dm.hPrinter = printer_;
  dm.hModule = module_;
  if (FAILED(plugin_->DevMode(OEMDM_SIZE, &dm))) return Fail(L"the plug-in gives no block size");
  const DWORD blockSize = dm.cbBufSize;
  driverUI_.calls.push_back(Format(L"DevMode(size) -> %lu bytes", blockSize));
  devmode_.assign(sizeof(DEVMODEW) + blockSize, 0);
  auto* devmode = reinterpret_cast<DEVMODEW*>(devmode_.data());
  devmode->dmFields = DM_DUPLEX | DM_ORIENTATION;
  devmode->dmDuplex = DMDUP_SIMPLEX;
  lstrcpynW(devmode->dmDeviceName, options_.printer.c_str(), CCHDEVICENAME);

  std::vector<BYTE> storedPublic;
  std::vector<BYTE> stored;
  if (!options_.devmodeIn.empty() && !ReadDevmodeIn(&storedPublic, &stored)) return false;
  std::memcpy(devmode, storedPublic.data(), std::min(storedPublic.size(), sizeof(DEVMODEW)));
  devmode->dmSize = sizeof(DEVMODEW);
  devmode->dmDriverExtra = static_cast<WORD>(blockSize);

  // The source block of the merge is never shorter than the plug-in's own,
  // so that a short stored one reads as zeros past its end.
  std::vector<BYTE> source(std::max<size_t>(blockSize, stored.size()), 0);
  BYTE* block = devmode_.data() + devmode->dmSize;
  dm.pPublicDMOut = devmode;
  dm.pOEMDMOut = block;
  plugin_->DevMode(OEMDM_DEFAULT, &dm);
  if (stored.empty())
    std::memcpy(source.data(), block, blockSize);
  else
    std::memcpy(source.data(), stored.data(), stored.size());
  dm.pPublicDMIn = devmode;
  dm.pOEMDMIn = source.data();
  dm.pOEMDMOut = block;
  plugin_->DevMode(OEMDM_MERGE, &dm);
  driverUI_.calls.push_back(Format(L"DevMode(merge) from %ls", stored.empty()
                                                                ? L"the defaults"
                                                                : L"the stored device mode"));
  return true;
}

bool SheetSession::SaveDevmode() const {
  if (options_.devmodeOut.empty()) return true;
  FILE* file = _wfopen(options_.devmodeOut.c_str(), L"wb");
  if (file == nullptr) return Fail(L"the device mode cannot be written");
  const bool written = fwrite(devmode_.data(), 1, devmode_.size(), file) == devmode_.size();
  return fclose(file) == 0 && written ? true : Fail(L"the device mode cannot be written");
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
  {
    PhaseTimer timer(OpeningPhase::kModelBuild);
    plugin_->CommonUIProp(OEMCUIP_DOCPROP, &param_);
  }
  // The plug-in adds no items; the driver's array then holds the whole tree.
  param_.pOEMOptItems = tree_.Items() + tree_.Count();
  PhaseTimer timer(OpeningPhase::kHandler);
  plugin_->CommonUIProp(OEMCUIP_DOCPROP, &param_);
}

// The printer's device settings belong to another opening of the driver's
// user interface, with a plug-in object of its own: the driver builds them
// only when the printer's properties are opened, and the host when its
// script says so, so that one session can show both trees.
void SheetSession::OpenPrinterProperties() {
  if (deviceTreeShown_) return;
  deviceTreeShown_ = true;
  deviceTree_.BuildDevice(model_);
  RunDeviceTree();
}

void SheetSession::RunDeviceTree() {
  IPrintOemUI2* devicePlugin = nullptr;
  if (FAILED(library_->Factory()->CreateInstance(nullptr, IID_IPrintOemUI2,
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
  PhaseTimer timer(OpeningPhase::kPagesAdded);
  if (FAILED(plugin_->DocumentPropertySheets(&info_, 0)))
    return Fail(L"the plug-in refuses the property sheet");
  return true;
}

int SheetSession::Show() {
  PROPSHEETHEADERW header = {};
  header.dwSize = sizeof header;
  const bool scripted = !options_.script.empty() || !options_.scriptText.empty();
  header.dwFlags = scripted ? PSH_MODELESS : 0;
  header.pszCaption = L"Printing Preferences";
  header.nPages = static_cast<UINT>(pages_.size());
  header.phpage = pages_.data();
  if (!scripted) {
    result_ = static_cast<int>(PropertySheetW(&header));
  } else {
    {
      PhaseTimer timer(OpeningPhase::kSheetMade);
      sheet_ = reinterpret_cast<HWND>(PropertySheetW(&header));
    }
    if (sheet_ == nullptr) return -1;
    scriptEnd_ = options_.script.empty() ? RunScriptText(this, options_.scriptText)
                                         : RunScript(this, options_.script);
    result_ = scriptEnd_ == ScriptEnd::kClosedWithOk ? 1 : 0;
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
  driverUI_.MarkConflicts();
  if (param_.OEMCUIPCallback != nullptr) CallBackForChange(item, previous);
  if (driverPage_ != nullptr && IsWindow(driverPage_)) RelistDriverPage(driverPage_);
}

void SheetSession::CallBackForChange(OPTITEM* item, LONG previous) {
  CPSUICBPARAM callback = {};
  callback.cbSize = sizeof callback;
  callback.Reason = CPSUICB_REASON_SEL_CHANGED;
  callback.pOptItem = tree_.Items();
  callback.cOptItem = static_cast<WORD>(tree_.Count());
  callback.pCurItem = item;
  callback.OldSel = previous;
  param_.OEMCUIPCallback(&callback, &param_);
}
