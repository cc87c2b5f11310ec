#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "page_controls.h"

namespace {

constexpr int kFirst = 100;
constexpr int kControls = 18;

HWND MakeWindow(const wchar_t* windowClass, HWND parent, int id) {
  const DWORD style = parent != nullptr ? WS_CHILD : WS_POPUP;
  return CreateWindowExW(0, windowClass, L"", style, 0, 0, 40, 20, parent,
                         reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)),
                         GetModuleHandleW(nullptr), nullptr);
}

// A hidden stand-in for a property page: a window with numbered controls.
struct Page {
  HWND window = nullptr;
  Page() {
    window = MakeWindow(L"STATIC", nullptr, 0);
    for (int id = kFirst; id < kFirst + kControls; ++id) MakeWindow(L"BUTTON", window, id);
  }
  ~Page() {
    ForgetPageControls(window);
    DestroyWindow(window);
  }
  Page(const Page&) = delete;
  Page& operator=(const Page&) = delete;
};

TEST(PageControls, AnswerAsTheDialogLookUpDoes) {
  Page page;
  ASSERT_NE(page.window, nullptr);
  for (int pass = 0; pass < 2; ++pass) {
    for (int id = kFirst; id < kFirst + kControls; ++id)
      EXPECT_EQ(PageControl(page.window, id), GetDlgItem(page.window, id)) << "control " << id;
  }
  EXPECT_EQ(PageControl(page.window, kFirst + kControls), nullptr);
  EXPECT_EQ(PageControl(nullptr, kFirst), nullptr);
}

// A control destroyed, or given to another window, is never handed out
// again for the page: its successor with the same id is.
TEST(PageControls, FollowAControlMadeAgainOrMovedAway) {
  Page page, other;
  HWND first = PageControl(page.window, kFirst);
  ASSERT_NE(first, nullptr);
  DestroyWindow(first);
  HWND again = MakeWindow(L"BUTTON", page.window, kFirst);
  EXPECT_EQ(PageControl(page.window, kFirst), again);

  HWND second = PageControl(page.window, kFirst + 1);
  ASSERT_NE(second, nullptr);
  SetParent(second, other.window);
  EXPECT_EQ(PageControl(page.window, kFirst + 1), nullptr);
}

// More pages than the table holds at once: every answer stays right, and
// a page's handles forgotten are looked up afresh.
TEST(PageControls, StayRightForMorePagesThanTheTableHolds) {
  std::vector<Page> pages(8);
  for (int round = 0; round < 2; ++round) {
    for (const Page& page : pages) {
      for (int id = kFirst; id < kFirst + kControls; ++id)
        ASSERT_EQ(PageControl(page.window, id), GetDlgItem(page.window, id))
            << "round " << round << ", control " << id;
    }
  }
  ForgetPageControls(pages[0].window);
  EXPECT_EQ(PageControl(pages[0].window, kFirst), GetDlgItem(pages[0].window, kFirst));
}

TEST(PageControls, TextAndCheckStateGoThroughTheControl) {
  Page page;
  SetControlText(page.window, kFirst, L"soak");
  WCHAR text[8] = L"xxxxxxx";
  EXPECT_EQ(ControlText(page.window, kFirst, text, 8), 4);
  EXPECT_EQ(std::wstring(text), L"soak");
  EXPECT_EQ(ControlText(page.window, kFirst, text, 3), 2);
  EXPECT_EQ(std::wstring(text), L"so");

  WCHAR missing[4] = L"abc";
  EXPECT_EQ(ControlText(page.window, kFirst + kControls, missing, 4), 0);
  EXPECT_EQ(missing[0], L'\0');

  HWND box = CreateWindowExW(0, L"BUTTON", L"", WS_CHILD | BS_AUTOCHECKBOX, 0, 0, 40, 20,
                             page.window, reinterpret_cast<HMENU>(static_cast<INT_PTR>(kFirst + kControls)),
                             GetModuleHandleW(nullptr), nullptr);
  ASSERT_NE(box, nullptr);
  CheckControl(page.window, kFirst + kControls, BST_CHECKED);
  EXPECT_EQ(ControlCheckState(page.window, kFirst + kControls), static_cast<UINT>(BST_CHECKED));
  EXPECT_EQ(SendMessageW(box, BM_GETCHECK, 0, 0), BST_CHECKED);
}

}  // namespace
