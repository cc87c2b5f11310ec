// drvhost: plays the part of the PostScript driver, the spooler and the
// common property sheet for the extension.
//
//   drvhost info LIBRARY...
// loads each library as the driver does, creates the plug-in object through
// its class factory, publishes a helper interface to it, and prints what the
// plug-in reports: signature, version, private block size and defaults, and
// the colour profile it names.
//
//   drvhost sheet --plugin LIBRARY --ppd FILE [--printer NAME]
//                 [--installed FEATURE=OPTION]... [--locked ITEM]...
//                 [--windows-version M.m.SP]
//                 [--script FILE [--screenshots FOLDER]]
//                 [--devmode-in FILE] [--devmode-out FILE]
// registers the printer with the spooler, builds the document settings
// tree with the options that the PPD's constraints rule out marked (and the
// named items disabled), opens its printing preferences
// with the plug-in's pages (driven by the script, or shown to a person),
// from a device mode stored earlier when one is named, prints the resulting
// state, stores the resulting device mode when asked to, and gives
// everything back.
//
//   drvhost soak --plugin LIBRARY --ppd FILE --count N [--script FILE]
//                [--openings-per-load M] [--driver-heap-left B]
// opens the printing preferences N times in one process, reloading the
// library every M openings (100 unless told), with the resource ledger
// counting what the plug-in takes and gives back (see soak_run.h).
// --memory-baseline BYTES judges its memory growth against the growth of a
// baseline run; --memory-unjudged yes makes it such a run. --driver-heap-left
// names the blocks the plug-in leaves on the driver's heap at each opening
// (0 unless told).
//
//   drvhost bench --plugin LIBRARY --ppd FILE --count N
//                 [--compare LABEL=LIBRARY]... [--script FILE]
// opens the printing preferences with each plug-in in turn, N times each,
// and prints the time of one opening of each, its phases and its paints
// (see bench_run.h).
//
// Every mode ends with the line "drvhost: all given back" once the object,
// the factory and the library have been released, and exits with 0 when
// all went well: a crash while tearing down shows as a missing line and
// another exit code.
#include <windows.h>

#include <cstdio>
#include <cwchar>

#include <commctrl.h>

#include "bench_run.h"
#include "driver_ui.h"
#include "oem_interfaces.h"
#include "plugin_library.h"
#include "sheet_session.h"
#include "soak_run.h"
#include "utf8_output.h"

namespace {

const wchar_t kAllGivenBack[] = L"drvhost: all given back";

typedef HRESULT(STDAPICALLTYPE* DllGetClassObjectProc)(REFCLSID, REFIID, void**);
typedef HRESULT(STDAPICALLTYPE* DllCanUnloadNowProc)();

template <typename Proc>
Proc Export(HMODULE module, const char* name) {
  return reinterpret_cast<Proc>(reinterpret_cast<void (*)()>(GetProcAddress(module, name)));
}

const char* ResultName(HRESULT hr) {
  switch (hr) {
    case S_OK: return "S_OK";
    case S_FALSE: return "S_FALSE";
    case E_FAIL: return "E_FAIL";
    case E_NOTIMPL: return "E_NOTIMPL";
    case E_NOINTERFACE: return "E_NOINTERFACE";
    default: return "other";
  }
}

void PrintText(const char* label, const char16_t* text, size_t units) {
  std::printf("    %-12s \"", label);
  for (size_t i = 0; i < units && text[i] != 0; ++i)
    std::printf(text[i] < 0x80 ? "%c" : "\\u%04X", static_cast<unsigned>(text[i]));
  std::printf("\"\n");
}

struct PrivateBlockView {  // the plug-in's block as it reports it
  DWORD dwSize, dwSignature, dwVersion, dwReserved1, dwReserved2, dwReserved3, dwJobType;
  char16_t szUserName[32], szJobName[32], szPassword[10];
};

void PrintPrivateBlock(IPrintOemUI2* plugin) {
  OEMDMPARAM param = {};
  param.cbSize = sizeof param;
  HRESULT hr = plugin->DevMode(OEMDM_SIZE, &param);
  std::printf("  private block  %lu bytes (%s)\n", param.cbBufSize, ResultName(hr));
  if (FAILED(hr) || param.cbBufSize < sizeof(PrivateBlockView)) return;

  BYTE* block = static_cast<BYTE*>(HeapAlloc(GetProcessHeap(), 0, param.cbBufSize));
  if (block == nullptr) return;
  FillMemory(block, param.cbBufSize, 0xCD);
  param.pOEMDMOut = block;
  hr = plugin->DevMode(OEMDM_DEFAULT, &param);
  const auto* view = reinterpret_cast<const PrivateBlockView*>(block);
  std::printf("  defaults (%s)\n", ResultName(hr));
  std::printf("    dwSize       %lu\n    dwSignature  0x%08lX\n    dwVersion    %lu\n",
              view->dwSize, view->dwSignature, view->dwVersion);
  std::printf("    dwReserved   %lu %lu %lu\n    dwJobType    %lu\n", view->dwReserved1,
              view->dwReserved2, view->dwReserved3, view->dwJobType);
  PrintText("szUserName", view->szUserName, 32);
  PrintText("szJobName", view->szJobName, 32);
  PrintText("szPassword", view->szPassword, 10);
  HeapFree(GetProcessHeap(), 0, block);
}

void PrintInfo(IPrintOemUI2* plugin) {
  DWORD value = 0;
  DWORD needed = 0;
  HRESULT hr = plugin->GetInfo(OEMGI_GETSIGNATURE, &value, sizeof value, &needed);
  const char letters[5] = {static_cast<char>(value >> 24), static_cast<char>(value >> 16),
                           static_cast<char>(value >> 8), static_cast<char>(value), 0};
  std::printf("  signature      0x%08lX \"%s\" (%s)\n", value, letters, ResultName(hr));
  hr = plugin->GetInfo(OEMGI_GETVERSION, &value, sizeof value, &needed);
  std::printf("  version        %lu (%s)\n", value, ResultName(hr));
  PrintPrivateBlock(plugin);

  WCHAR profile[16] = {};
  ULONG size = sizeof profile;
  FLONG flags = 0;
  hr = plugin->QueryColorProfile(nullptr, nullptr, nullptr, nullptr, QCP_DEVICEPROFILE, profile,
                                 &size, &flags);
  std::printf("  colour profile \"%ls\" (%lu bytes, flags %lu, %s)\n", profile, size, flags,
              ResultName(hr));
}

bool ShowLibrary(const wchar_t* path) {
  std::printf("%ls\n", path);
  HMODULE module = LoadLibraryW(path);
  if (module == nullptr) {
    std::printf("  cannot load (error %lu)\n", GetLastError());
    return false;
  }
  auto getClassObject = Export<DllGetClassObjectProc>(module, "DllGetClassObject");
  auto canUnloadNow = Export<DllCanUnloadNowProc>(module, "DllCanUnloadNow");
  bool shown = false;
  IClassFactory* factory = nullptr;
  IPrintOemUI2* plugin = nullptr;
  if (getClassObject != nullptr && canUnloadNow != nullptr &&
      SUCCEEDED(getClassObject(CLSID_PluginUI, IID_IClassFactory,
                               reinterpret_cast<void**>(&factory)))) {
    if (SUCCEEDED(factory->CreateInstance(nullptr, IID_IPrintOemUI2,
                                          reinterpret_cast<void**>(&plugin)))) {
      HostDriverUI driverUI;
      std::printf("  helper interface published (%s)\n",
                  ResultName(plugin->PublishDriverInterface(&driverUI)));
      PrintInfo(plugin);
      plugin->Release();
      std::printf("  helper references left after release: %ld\n", driverUI.References());
      shown = true;
    }
    factory->Release();
    std::printf("  DllCanUnloadNow: %s\n", ResultName(canUnloadNow()));
  }
  if (!shown) std::printf("  no plug-in object could be made\n");
  FreeLibrary(module);
  return shown;
}

int RunSheet(int argc, wchar_t** argv) {
  HostOptions options;
  if (!ParseHostOptions(argc, argv, &options)) return 2;
  INITCOMMONCONTROLSEX controls = {sizeof controls, ICC_WIN95_CLASSES | ICC_USEREX_CLASSES};
  InitCommonControlsEx(&controls);
  PluginLibrary library;
  if (!library.Load(options)) return 1;
  bool saved = false;
  {
    SheetSession session(options, &library);
    if (!session.Open()) return 1;
    session.Show();
    session.Report();
    saved = session.SaveDevmode();
  }
  PrintLine(std::wstring(L"DllCanUnloadNow: ") + ResultText(library.Unload()));
  PrintLine(kAllGivenBack);
  return saved ? 0 : 1;
}

int RunRepeated(int argc, wchar_t** argv, int (*run)(const HostOptions&)) {
  HostOptions options;
  if (!ParseHostOptions(argc, argv, &options)) return 2;
  INITCOMMONCONTROLSEX controls = {sizeof controls, ICC_WIN95_CLASSES | ICC_USEREX_CLASSES};
  InitCommonControlsEx(&controls);
  const int status = run(options);
  PrintLine(kAllGivenBack);
  return status;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  if (argc >= 2 && std::wcscmp(argv[1], L"sheet") == 0) return RunSheet(argc, argv);
  if (argc >= 2 && std::wcscmp(argv[1], L"soak") == 0) return RunRepeated(argc, argv, &RunSoak);
  if (argc >= 2 && std::wcscmp(argv[1], L"bench") == 0) return RunRepeated(argc, argv, &RunBench);
  if (argc < 3 || std::wcscmp(argv[1], L"info") != 0) {
    std::fprintf(stderr, "usage: drvhost info LIBRARY...\n"
                         "       drvhost sheet --plugin LIBRARY --ppd FILE [options]\n"
                         "       drvhost soak --plugin LIBRARY --ppd FILE --count N"
                         " [--script FILE]\n"
                         "                    [--openings-per-load M]\n"
                         "       drvhost bench --plugin LIBRARY --ppd FILE --count N"
                         " [--compare LABEL=LIBRARY]...\n");
    return 2;
  }
  int status = 0;
  for (int i = 2; i < argc; ++i) {
    if (!ShowLibrary(argv[i])) status = 1;
    std::printf("\n");
  }
  std::fflush(stdout);
  PrintLine(kAllGivenBack);
  return status;
}
