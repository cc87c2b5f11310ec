#include "framework/StdioFile.h"
#include "TempFolder.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

std::string Utf16(const std::wstring& text) {
  std::string bytes;
  for (wchar_t ch : text) {
    bytes.push_back(static_cast<char>(ch & 0xFF));
    bytes.push_back(static_cast<char>(ch >> 8));
  }
  return bytes;
}

std::vector<std::wstring> ReadAllLines(const std::string& bytes) {
  TempFolder folder;
  folder.WriteBytes(L"text", bytes);
  CStdioFile file;
  EXPECT_TRUE(file.Open(folder.Join(L"text").c_str(), CStdioFile::modeRead |
                                                          CStdioFile::shareDenyNone |
                                                          CStdioFile::typeBinary));
  std::vector<std::wstring> lines;
  std::wstring line;
  while (file.ReadString(line)) lines.push_back(line);
  return lines;
}

TEST(StdioFileTest, DropsTheLineFeedAndKeepsTheCarriageReturn) {
  EXPECT_EQ((std::vector<std::wstring>{L"one\r", L"two\r"}),
            ReadAllLines(Utf16(L"one\r\ntwo\r\n")));
}

TEST(StdioFileTest, LastLineWithoutLineFeedIsRead) {
  EXPECT_EQ((std::vector<std::wstring>{L"one", L"last"}), ReadAllLines(Utf16(L"one\nlast")));
}

TEST(StdioFileTest, EmptyLinesAreLinesAndAnEmptyFileHasNone) {
  EXPECT_EQ((std::vector<std::wstring>{L"", L"x"}), ReadAllLines(Utf16(L"\nx\n")));
  EXPECT_TRUE(ReadAllLines("").empty());
}

TEST(StdioFileTest, LinesLongerThanTheReadBufferComeWhole) {
  const std::wstring longLine(5000, L'w');
  const std::vector<std::wstring> lines = ReadAllLines(Utf16(longLine + L"\nend\n"));
  ASSERT_EQ(2u, lines.size());
  EXPECT_EQ(longLine, lines[0]);
}

TEST(StdioFileTest, TrailingOddByteIsNotAUnit) {
  EXPECT_EQ((std::vector<std::wstring>{L"ab"}), ReadAllLines(Utf16(L"ab") + "z"));
}

TEST(StdioFileTest, SeekAfterReadStartsOver) {
  TempFolder folder;
  folder.WriteBytes(L"text", Utf16(L"AB\n"));
  CStdioFile file;
  ASSERT_TRUE(file.Open(folder.Join(L"text").c_str(), CStdioFile::modeRead));
  unsigned char first[2] = {};
  ASSERT_EQ(2u, file.Read(first, 2));
  EXPECT_EQ('A', first[0]);
  file.Seek(0, CStdioFile::begin);
  std::wstring line;
  ASSERT_TRUE(file.ReadString(line));
  EXPECT_EQ(L"AB", line);
}

TEST(StdioFileTest, OpenFailsForAMissingFile) {
  TempFolder folder;
  CStdioFile file;
  EXPECT_FALSE(file.Open(folder.Join(L"missing").c_str(), CStdioFile::modeRead));
  std::wstring line;
  EXPECT_FALSE(file.ReadString(line));
}

TEST(StdioFileTest, ShareDenyNoneOpensAFileAnotherHandleWrites) {
  TempFolder folder;
  folder.WriteBytes(L"text", Utf16(L"held\n"));
  HANDLE hWriter = CreateFileW(folder.Join(L"text").c_str(), GENERIC_WRITE,
                               FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING, 0,
                               nullptr);
  ASSERT_NE(INVALID_HANDLE_VALUE, hWriter);
  CStdioFile file;
  EXPECT_TRUE(file.Open(folder.Join(L"text").c_str(),
                        CStdioFile::modeRead | CStdioFile::shareDenyNone));
  file.Close();
  CloseHandle(hWriter);
}

}  // namespace
