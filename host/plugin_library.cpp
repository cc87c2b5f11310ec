#include "plugin_library.h"

#include "import_patch.h"
#include "utf8_output.h"

namespace {

typedef HRESULT(STDAPICALLTYPE* DllGetClassObjectProc)(REFCLSID, REFIID, void**);
typedef HRESULT(STDAPICALLTYPE* DllCanUnloadNowProc)();

template <typename Proc>
Proc Export(HMODULE module, const char* name) {
  return reinterpret_cast<Proc>(reinterpret_cast<void (*)()>(GetProcAddress(module, name)));
}

// The Windows version the host reports to the plug-in instead of the real
// one; set before the plug-in's first CommonUIProp.
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

}  // namespace

const wchar_t* ResultText(HRESULT hr) {
  switch (hr) {
    case S_OK: return L"S_OK";
    case S_FALSE: return L"S_FALSE";
    case E_FAIL: return L"E_FAIL";
    case E_NOTIMPL: return L"E_NOTIMPL";
    case E_NOINTERFACE: return L"E_NOINTERFACE";
    default: return L"other";
  }
}

bool PluginLibrary::Load(const HostOptions& options, const LoadWatch* watch) {
  std::wstring problem;
  if (watch != nullptr && !watch->beforeLoad(options.plugin, &problem))
    return Fail(problem.c_str());
  module_ = LoadLibraryW(options.plugin.c_str());
  if (module_ == nullptr) return Fail(L"the plug-in cannot be loaded");
  if (options.overrideVersion) {
    g_reportedVersion.dwMajorVersion = options.major;
    g_reportedVersion.dwMinorVersion = options.minor;
    g_reportedVersion.wServicePackMajor = static_cast<WORD>(options.servicePack);
    if (ReplaceImport(module_, "kernel32.dll", "GetVersionExW",
                      reinterpret_cast<void*>(&ReportVersion)) == nullptr)
      return Fail(L"the plug-in does not ask for the Windows version");
  }
  if (watch != nullptr && !watch->afterLoad(module_, &problem))
    return Fail(problem.c_str());
  auto getClassObject = Export<DllGetClassObjectProc>(module_, "DllGetClassObject");
  if (getClassObject == nullptr ||
      FAILED(getClassObject(CLSID_PluginUI, IID_IClassFactory, reinterpret_cast<void**>(&factory_))))
    return Fail(L"the plug-in gives no class factory");
  return true;
}

HRESULT PluginLibrary::Unload() {
  if (module_ == nullptr) return S_OK;
  if (factory_ != nullptr) factory_->Release();
  factory_ = nullptr;
  auto canUnloadNow = Export<DllCanUnloadNowProc>(module_, "DllCanUnloadNow");
  const HRESULT answer = canUnloadNow != nullptr ? canUnloadNow() : E_NOTIMPL;
  FreeLibrary(module_);
  module_ = nullptr;
  return answer;
}
