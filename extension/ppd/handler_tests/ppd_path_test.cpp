// Finding the PPD through the spooler: the printer's driver data file.
#include <gtest/gtest.h>

#include <winspool.h>

#include <string>

#include "ppd_path.h"
#include "spooler_printer.h"

namespace {

class PrinterOf {
 public:
  PrinterOf(const std::wstring& name, const std::wstring& dataFile) {
    registered_ = RegisterPrinter(name, L"ZQ Path Test", dataFile);
    if (registered_) OpenPrinterW(const_cast<LPWSTR>(name.c_str()), &handle_, nullptr);
  }
  ~PrinterOf() {
    if (handle_ != nullptr) ClosePrinter(handle_);
  }
  HANDLE handle() const { return handle_; }
  bool registered() const { return registered_; }

 private:
  bool registered_ = false;
  HANDLE handle_ = nullptr;
};

TEST(PpdPath, IsTheDriversDataFile) {
  const std::wstring ppd = L"C:\\drivers\\ZQ-sample.ppd";
  PrinterOf printer(L"Path Test Printer", ppd);
  ASSERT_TRUE(printer.registered());
  ASSERT_NE(printer.handle(), nullptr);
  WCHAR path[MAX_PATH] = {};
  ASSERT_TRUE(GetPpdPath(GetProcessHeap(), printer.handle(), path));
  EXPECT_EQ(std::wstring(path), ppd);
}

TEST(PpdPath, TooLongIsRefusedNotCut) {
  const std::wstring ppd = L"C:\\" + std::wstring(300, L'd') + L"\\ZQ-sample.ppd";
  PrinterOf printer(L"Long Path Printer", ppd);
  ASSERT_NE(printer.handle(), nullptr);
  WCHAR path[MAX_PATH] = {};
  EXPECT_FALSE(GetPpdPath(GetProcessHeap(), printer.handle(), path));
}

TEST(PpdPath, NoPrinterNoPath) {
  WCHAR path[MAX_PATH] = {};
  EXPECT_FALSE(GetPpdPath(GetProcessHeap(), nullptr, path));
  EXPECT_FALSE(GetPpdPath(nullptr, nullptr, path));
}

}  // namespace
