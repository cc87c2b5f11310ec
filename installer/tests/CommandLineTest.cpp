#include "InstallerPaths.h"
#include "TempFolder.h"

#include <gtest/gtest.h>

namespace {

TEST(CommandLineTest, QuotesSubInstallerAndInf) {
  EXPECT_EQ(L"\"C:\\P Q\\Res\\KRU_x64.exe\" \"C:\\P Q\\Drv\\M\\dalmont.inf\"",
            BuildSubInstallerCommandLine(L"C:\\P Q\\Res\\KRU_x64.exe",
                                         L"C:\\P Q\\Drv\\M\\dalmont.inf", true));
}

TEST(CommandLineTest, LeavesOutAMissingInf) {
  EXPECT_EQ(L"\"C:\\P\\Res\\KRU_x86.exe\"",
            BuildSubInstallerCommandLine(L"C:\\P\\Res\\KRU_x86.exe", L"C:\\P\\Drv\\M\\dalmont.inf",
                                         false));
}

TEST(CommandLineTest, JoinsWithSingleBackslashes) {
  EXPECT_EQ(L"C:\\dir\\Res\\setup.ini", JoinPath(L"C:\\dir", L"Res", L"setup.ini"));
}

TEST(CommandLineTest, OnlyFilesCountAsExisting) {
  TempFolder folder;
  folder.MakeFolder(L"sub");
  folder.WriteBytes(L"file", "x");
  EXPECT_TRUE(IsExistingFile(folder.Join(L"file")));
  EXPECT_FALSE(IsExistingFile(folder.Join(L"sub")));
  EXPECT_FALSE(IsExistingFile(folder.Join(L"missing")));
}

std::string ReadBytes(const std::wstring& path) {
  HANDLE hFile = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                             FILE_ATTRIBUTE_NORMAL, nullptr);
  if (hFile == INVALID_HANDLE_VALUE) return std::string();
  char buffer[256];
  DWORD read = 0;
  ReadFile(hFile, buffer, sizeof(buffer), &read, nullptr);
  CloseHandle(hFile);
  return std::string(buffer, read);
}

// The chosen model's INF in a chain of `depth` folders of one name. Wine
// takes paths beyond MAX_PATH without the extended-length prefix, so the
// test can make them plainly; names of eight units or less are their own
// short names, as on a volume that keeps none.
TEST(CommandLineTest, InfIsHandedOverByAPathThatFitsMaxPath) {
  enum InfOnMedium { kFile, kFolder, kNothing };
  struct Row {
    const char* what;
    const wchar_t* folderName;
    int depth;
    InfOnMedium inf;
    InfHandover::Kind expected;
  };
  const Row rows[] = {
      {"a path that fits", L"Model", 1, kFile, InfHandover::kPath},
      {"beyond MAX_PATH, short names fit", L"a folder name far longer than eight units", 6, kFile,
       InfHandover::kPath},
      {"beyond MAX_PATH, short names too", L"DEEPDIR", 36, kFile, InfHandover::kOutOfReach},
      {"beyond MAX_PATH, missing", L"a folder name far longer than eight units", 6, kNothing,
       InfHandover::kNoInf},
      {"beyond MAX_PATH, a folder", L"a folder name far longer than eight units", 6, kFolder,
       InfHandover::kNoInf},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.what);
    TempFolder folder;
    std::wstring relative;
    for (int i = 0; i < row.depth; ++i) {
      relative += (i ? L"\\" : L"") + std::wstring(row.folderName);
      folder.MakeFolder(relative);
    }
    const std::wstring infRelative = relative + L"\\dalmont.inf";
    if (row.inf == kFile) folder.WriteBytes(infRelative, "; the chosen model\r\n");
    if (row.inf == kFolder) folder.MakeFolder(infRelative);
    const std::wstring infPath = folder.Join(infRelative);
    ASSERT_EQ(row.depth > 1, infPath.size() >= MAX_PATH) << "the row's path length";

    const InfHandover handover = ChooseInfHandover(infPath);
    EXPECT_EQ(row.expected, handover.kind);
    if (handover.kind == InfHandover::kPath) {
      EXPECT_LT(handover.path.size(), size_t{MAX_PATH});
      if (row.depth == 1) {
        EXPECT_EQ(infPath, handover.path);
      }
      EXPECT_EQ("; the chosen model\r\n", ReadBytes(handover.path)) << "not the chosen INF";
    } else {
      EXPECT_TRUE(handover.path.empty());
    }
  }
}

TEST(CommandLineTest, InstallerDirectoryHoldsTheProgram) {
  const std::wstring directory = GetInstallerDirectory();
  ASSERT_FALSE(directory.empty());
  EXPECT_TRUE(IsExistingFile(JoinPath(directory, L"installer_core_tests.exe")));
}

// The tests run in a 64-bit prefix: the 32-bit build runs under WOW64 and
// the 64-bit build is a native program of it; both choose KRU_x64.exe.
TEST(CommandLineTest, SixtyFourBitWindowsOnA64BitPrefix) {
  EXPECT_EQ(TRUE, IsWow64());
}

}  // namespace
