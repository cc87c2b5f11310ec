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
