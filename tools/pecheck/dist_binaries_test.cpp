// The shipped Windows binaries: what they export, what they import, and the
// Windows version they declare. Wine provides every API, so only the import
// tables can show that an XP build would load on Windows XP.
#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <cstdlib>
#include <map>
#include <regex>
#include <set>
#include <string>

#include "pe_image.h"

namespace {

struct ShippedBinary {
  const char* path;  // under the package folder
  uint16_t machine;
  uint16_t majorVersion;
  uint16_t minorVersion;
};

void PrintTo(const ShippedBinary& binary, std::ostream* os) { *os << binary.path; }

const ShippedBinary kXpBinaries[] = {
    {"x64-xp/korvain.dll", kMachineX64, 5, 2},
    {"x86-xp/korvain.dll", kMachineX86, 5, 1},
};
const ShippedBinary kBinaries[] = {
    {"x64/korvain.dll", kMachineX64, 6, 0},
    {"x86/korvain.dll", kMachineX86, 6, 0},
    kXpBinaries[0],
    kXpBinaries[1],
};

// What the installer may import: functions that Windows 2000 SP3, the
// oldest system it starts on, has in these libraries. A new import fails
// here until someone has checked it against that system and listed it.
// IsWow64Process is not here: Windows 2000 lacks it, so it is looked up
// at run time.
const std::map<std::string, std::set<std::string>> kWindows2000Sp3 = {
    {"comctl32.dll",
     {"ImageList_Create", "ImageList_Destroy", "ImageList_GetImageCount", "ImageList_ReplaceIcon",
      "InitCommonControlsEx"}},
    {"gdi32.dll", {"GetStockObject", "SetBkColor"}},
    {"kernel32.dll",
     {"CloseHandle", "CreateFileW", "CreateMutexW", "CreateSemaphoreW", "DeleteCriticalSection",
      "EnterCriticalSection", "FindClose", "FindFirstFileW", "FindNextFileW", "FindResourceExW",
      "FreeLibrary", "GetCurrentProcess", "GetCurrentThreadId", "GetFileAttributesW",
      "GetLastError", "GetModuleFileNameW", "GetModuleHandleA", "GetModuleHandleW",
      "GetPrivateProfileStringW", "GetProcAddress", "GetShortPathNameW", "GetStartupInfoW",
      "GetUserDefaultUILanguage", "GetVersionExW", "InitializeCriticalSection",
      "IsDBCSLeadByteEx", "LeaveCriticalSection", "LoadLibraryA", "LoadLibraryW", "LoadResource",
      "LockResource", "MultiByteToWideChar", "ReadFile", "ReleaseSemaphore", "SetFilePointer",
      "SetLastError", "SetUnhandledExceptionFilter", "SizeofResource", "Sleep", "TlsAlloc",
      "TlsFree", "TlsGetValue", "TlsSetValue", "VirtualProtect", "VirtualQuery",
      "WaitForSingleObject", "WideCharToMultiByte"}},
    {"msvcrt.dll",
     {"__mb_cur_max", "__p__commode", "__p__fmode", "__p__wcmdln", "__set_app_type",
      "__setusermatherr", "__wgetmainargs", "__winitenv", "_amsg_exit", "_cexit", "_close",
      "_errno", "_initterm", "_iob", "_onexit", "_read", "_wspawnl", "abort", "atoi", "calloc",
      "exit", "fprintf", "fputc", "fputs", "free", "fwrite", "localeconv", "malloc", "memchr",
      "memcmp", "memcpy", "memmove", "memset", "realloc", "setlocale", "signal", "strchr",
      "strcmp", "strerror", "strlen", "strncmp", "vfprintf", "wcscmp", "wcscpy", "wcslen"}},
    {"ole32.dll", {"OleInitialize", "OleUninitialize"}},
    {"shell32.dll", {"ExtractIconExW"}},
    {"shlwapi.dll", {"PathRemoveFileSpecW"}},
    {"user32.dll",
     {"CreateWindowExW", "DefWindowProcW", "DestroyIcon", "DestroyMenu", "DestroyWindow",
      "DialogBoxParamW", "DispatchMessageW", "EndDialog", "EqualRect", "FindWindowW",
      "GetClassInfoExW", "GetClientRect", "GetDlgCtrlID", "GetDlgItem", "GetForegroundWindow",
      "GetLastActivePopup", "GetMessagePos", "GetMessageW", "GetMonitorInfoW", "GetWindow",
      "GetWindowLongW", "GetWindowRect", "GetWindowTextLengthW", "IsIconic", "IsWindow",
      "IsWindowVisible", "LoadAcceleratorsW", "LoadCursorW", "LoadMenuW", "LoadStringW",
      "MessageBoxW", "MonitorFromWindow", "MoveWindow", "MsgWaitForMultipleObjects",
      "PeekMessageW", "PostMessageW", "PostQuitMessage", "RegisterClassExW", "ScreenToClient",
      "SendMessageW", "SetFocus", "SetForegroundWindow", "SetWindowLongW", "SetWindowPos",
      "SetWindowTextW", "ShowWindow", "TranslateAcceleratorW", "TranslateMessage",
      "UpdateWindow"}},
};

const std::set<std::string> kSystemLibraries = {
    "kernel32.dll", "user32.dll",   "gdi32.dll",   "comctl32.dll", "winspool.drv",
    "advapi32.dll", "msvcrt.dll",   "ole32.dll",   "oleaut32.dll", "shell32.dll",
    "shlwapi.dll",  "comdlg32.dll", "msimg32.dll", "version.dll",
};

// Functions Windows XP (x86 SP3, x64 SP2) does not have.
const std::set<std::string> kNewerThanXp = {
    "GetTickCount64", "InitializeSRWLock", "AcquireSRWLockExclusive", "AcquireSRWLockShared",
    "ReleaseSRWLockExclusive", "ReleaseSRWLockShared", "TryAcquireSRWLockExclusive",
    "TryAcquireSRWLockShared", "InitializeConditionVariable", "SleepConditionVariableCS",
    "SleepConditionVariableSRW", "WakeConditionVariable", "WakeAllConditionVariable",
    "InitOnceExecuteOnce", "InitOnceBeginInitialize", "InitOnceComplete", "InitOnceInitialize",
    "FlsAlloc", "FlsFree", "FlsGetValue", "FlsSetValue", "GetLocaleInfoEx", "LCMapStringEx",
    "CompareStringEx", "GetUserDefaultLocaleName", "LocaleNameToLCID", "LCIDToLocaleName",
    "GetDateFormatEx", "GetTimeFormatEx", "GetNumberFormatEx", "CreateEventExW",
    "CreateEventExA", "CreateMutexExW", "CreateSemaphoreExW", "CreateWaitableTimerExW",
    "InitializeCriticalSectionEx", "GetFileInformationByHandleEx", "SetFileInformationByHandle",
    "GetFinalPathNameByHandleW", "CreateSymbolicLinkW", "QueryFullProcessImageNameW",
    "CancelIoEx", "GetQueuedCompletionStatusEx", "GetCurrentProcessorNumber",
    "FlushProcessWriteBuffers", "GetSystemTimePreciseAsFileTime", "IsWow64Process2",
    "TaskDialog", "TaskDialogIndirect", "RegGetValueW", "RegGetValueA", "RegDeleteTreeW",
    "RegSetKeyValueW", "GetErrorMode", "SetThreadErrorMode", "GetThreadErrorMode",
    "CreateThreadpoolWork", "SubmitThreadpoolWork", "CloseThreadpoolWork",
    "GetLogicalProcessorInformationEx", "SetDefaultDllDirectories", "AddDllDirectory",
    "LoadPackagedLibrary", "GetCurrentPackageId", "GetSystemDefaultLocaleName",
    "GetUserPreferredUILanguages", "GetThreadPreferredUILanguages",
    "SetThreadPreferredUILanguages", "GetFileMUIPath", "LoadIconMetric",
    "LoadIconWithScaleDown", "SetProcessDPIAware", "ChangeWindowMessageFilter",
};

std::string PackageRoot() {
  const char* root = std::getenv("KORVAIN_DIST_ROOT");
  return root != nullptr ? root : "dist";
}

std::string BuildRoot() { return KORVAIN_BUILD_ROOT; }

// Reads `path` into `image`; a fatal failure of the calling test when it
// cannot.
void ReadImage(const std::string& path, PeImage* image) {
  std::vector<uint8_t> bytes;
  ASSERT_TRUE(ReadFileBytes(path, &bytes)) << path << " is missing";
  std::string error;
  ASSERT_TRUE(ReadPeImage(bytes, image, &error)) << path << ": " << error;
}

// Every processor architecture the manifest names. The program's own
// identity and its common-controls dependency must both name the width of
// the binary (or "*"): Windows binds a 64-bit program that asks for the x86
// common controls to them and fails to start it.
std::vector<std::string> ManifestArchitectures(const std::string& manifest) {
  static const std::regex kArchitecture("processorArchitecture\\s*=\\s*\"([^\"]*)\"");
  std::vector<std::string> found;
  for (std::sregex_iterator it(manifest.begin(), manifest.end(), kArchitecture), end; it != end;
       ++it)
    found.push_back((*it)[1]);
  return found;
}

std::string ManifestArchitecture(uint16_t machine) {
  return machine == kMachineX64 ? "amd64" : "x86";
}

void ExpectManifestForMachine(const PeImage& image, const std::string& path) {
  EXPECT_NE(image.manifest.find("Microsoft.Windows.Common-Controls"), std::string::npos)
      << path << " asks for no common controls:\n" << image.manifest;
  const std::vector<std::string> architectures = ManifestArchitectures(image.manifest);
  EXPECT_EQ(architectures.size(), 2u) << path << ":\n" << image.manifest;
  for (const std::string& architecture : architectures) {
    if (architecture == "*") continue;
    EXPECT_EQ(architecture, ManifestArchitecture(image.machine)) << path;
  }
}

class ShippedBinaryTest : public ::testing::TestWithParam<ShippedBinary> {
 protected:
  void SetUp() override { ReadImage(PackageRoot() + "/" + GetParam().path, &image_); }

  PeImage image_;
};

TEST_P(ShippedBinaryTest, IsBuiltForItsProcessorAndWindowsVersion) {
  EXPECT_EQ(image_.machine, GetParam().machine);
  EXPECT_EQ(image_.majorSubsystemVersion, GetParam().majorVersion);
  EXPECT_EQ(image_.minorSubsystemVersion, GetParam().minorVersion);
}

TEST_P(ShippedBinaryTest, PluginExportsExactlyTheTwoEntryPointsUndecorated) {
  std::vector<std::string> exports = image_.exports;
  std::sort(exports.begin(), exports.end());
  EXPECT_EQ(exports, (std::vector<std::string>{"DllCanUnloadNow", "DllGetClassObject"}));
}

TEST_P(ShippedBinaryTest, ImportsSystemLibrariesOnly) {
  EXPECT_FALSE(image_.imports.empty());
  for (const auto& dll : image_.imports) {
    EXPECT_TRUE(kSystemLibraries.count(dll.first)) << "imports " << dll.first;
  }
}

TEST_P(ShippedBinaryTest, ManifestNamesItsOwnProcessor) {
  ExpectManifestForMachine(image_, GetParam().path);
}

// The builds for Vista and later may use what Vista brought.
using ShippedXpBinaryTest = ShippedBinaryTest;

TEST_P(ShippedXpBinaryTest, ImportsNothingXpLacks) {
  for (const auto& dll : image_.imports) {
    for (const std::string& function : dll.second) {
      EXPECT_FALSE(kNewerThanXp.count(function)) << dll.first << "!" << function;
      EXPECT_NE(function.rfind("K32", 0), 0u) << dll.first << "!" << function;
    }
  }
}

std::string BinaryName(const ::testing::TestParamInfo<ShippedBinary>& info) {
  std::string name = info.param.path;
  std::replace_if(
      name.begin(), name.end(), [](char c) { return !std::isalnum(static_cast<unsigned char>(c)); },
      '_');
  return name;
}

INSTANTIATE_TEST_SUITE_P(Package, ShippedBinaryTest, ::testing::ValuesIn(kBinaries), BinaryName);
INSTANTIATE_TEST_SUITE_P(Package, ShippedXpBinaryTest, ::testing::ValuesIn(kXpBinaries),
                         BinaryName);

TEST(ShippedInstaller, Is32BitGuiProgramForWindows2000WithItsOwnManifest) {
  const std::string path = PackageRoot() + "/Kestrup.exe";
  PeImage image;
  ASSERT_NO_FATAL_FAILURE(ReadImage(path, &image));
  EXPECT_EQ(image.machine, kMachineX86);
  EXPECT_EQ(image.subsystem, 2) << "not a GUI program";
  EXPECT_LE(image.majorSubsystemVersion * 100 + image.minorSubsystemVersion, 500)
      << "declares Windows " << image.majorSubsystemVersion << "."
      << image.minorSubsystemVersion;
  ExpectManifestForMachine(image, path);
}

TEST(ShippedInstaller, ImportsOnlyWhatWindows2000Sp3Has) {
  PeImage image;
  ASSERT_NO_FATAL_FAILURE(ReadImage(PackageRoot() + "/Kestrup.exe", &image));
  EXPECT_FALSE(image.imports.empty());
  for (const auto& dll : image.imports) {
    const auto known = kWindows2000Sp3.find(dll.first);
    for (const std::string& function : dll.second) {
      EXPECT_NE(function, "IsWow64Process") << "must be looked up at run time";
      EXPECT_TRUE(known != kWindows2000Sp3.end() && known->second.count(function))
          << dll.first << "!" << function << " is not known to be in Windows 2000 SP3";
    }
  }
}

// The 64-bit test build of the installer is the shipped program at another
// width: its manifest must name its own processor too, or its tests run
// without the common controls the shipped program gets.
TEST(InstallerTestBuild, ManifestNamesItsOwnProcessor) {
  const std::string path = BuildRoot() + "/installer-x64/installer/Kestrup.exe";
  PeImage image;
  ASSERT_NO_FATAL_FAILURE(ReadImage(path, &image));
  EXPECT_EQ(image.machine, kMachineX64);
  ExpectManifestForMachine(image, path);
}

}  // namespace
