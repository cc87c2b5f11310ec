// The shipped Windows binaries: what they export, what they import, and the
// Windows version they declare. Wine provides every API, so only the import
// tables can show that an XP build would load on Windows XP.
#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <cstdlib>
#include <set>
#include <string>

#include "pe_image.h"

namespace {

struct ShippedBinary {
  const char* path;  // under the package folder
  uint16_t machine;
  uint16_t majorVersion;
  uint16_t minorVersion;
  bool forXp;
};

void PrintTo(const ShippedBinary& binary, std::ostream* os) { *os << binary.path; }

const ShippedBinary kBinaries[] = {
    {"x64/korvain.dll", kMachineX64, 6, 0, false},
    {"x86/korvain.dll", kMachineX86, 6, 0, false},
    {"x64-xp/korvain.dll", kMachineX64, 5, 2, true},
    {"x86-xp/korvain.dll", kMachineX86, 5, 1, true},
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

class ShippedBinaryTest : public ::testing::TestWithParam<ShippedBinary> {
 protected:
  void SetUp() override {
    const std::string path = PackageRoot() + "/" + GetParam().path;
    std::vector<uint8_t> bytes;
    ASSERT_TRUE(ReadFileBytes(path, &bytes)) << path << " is missing";
    std::string error;
    ASSERT_TRUE(ReadPeImage(bytes, &image_, &error)) << path << ": " << error;
  }

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

TEST_P(ShippedBinaryTest, XpBuildImportsNothingXpLacks) {
  if (!GetParam().forXp) return;  // the other builds may use what Vista brought
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

}  // namespace
