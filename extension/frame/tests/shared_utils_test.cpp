#include <gtest/gtest.h>

#include <string>

#include "load_res_string.h"
#include "page_activation_context.h"
#include "wide_from_byte_units.h"

namespace {

constexpr WORD k255Characters = 100;
constexpr WORD k256Characters = 101;
constexpr WORD k1000Characters = 102;
constexpr WORD kShort = 103;
constexpr WORD kMissing = 999;

struct HeapString {
  HANDLE heap;
  WCHAR* text;
  ~HeapString() {
    if (text != nullptr) HeapFree(heap, 0, text);
  }
  size_t capacityUnits() const { return HeapSize(heap, 0, text) / sizeof(WCHAR); }
};

class LoadResStringTest : public ::testing::Test {
 protected:
  void SetUp() override {
    heap_ = HeapCreate(0, 0, 0);
    ASSERT_NE(heap_, nullptr);
  }
  void TearDown() override { HeapDestroy(heap_); }

  HeapString Load(WORD id) { return {heap_, LoadResString(GetModuleHandleW(nullptr), heap_, id)}; }

  HANDLE heap_ = nullptr;
};

TEST_F(LoadResStringTest, StringOf255CharactersFitsTheFirstBuffer) {
  HeapString s = Load(k255Characters);
  ASSERT_NE(s.text, nullptr);
  EXPECT_EQ(std::wstring(s.text), std::wstring(255, L'a'));
  EXPECT_EQ(s.capacityUnits(), 257u);
}

TEST_F(LoadResStringTest, StringOf256CharactersComesBackWholeAfterOneRetry) {
  HeapString s = Load(k256Characters);
  ASSERT_NE(s.text, nullptr);
  EXPECT_EQ(std::wstring(s.text), std::wstring(256, L'b'));
  EXPECT_EQ(s.capacityUnits(), 513u);
}

TEST_F(LoadResStringTest, LongStringGrowsThroughTheCapacities) {
  HeapString s = Load(k1000Characters);
  ASSERT_NE(s.text, nullptr);
  EXPECT_EQ(wcslen(s.text), 1000u);
  EXPECT_EQ(s.text[999], L'A' + 999 % 26);
  EXPECT_EQ(s.capacityUnits(), 1025u);
}

TEST_F(LoadResStringTest, ShortStringAndMissingId) {
  HeapString s = Load(kShort);
  ASSERT_NE(s.text, nullptr);
  EXPECT_STREQ(s.text, L"short");
  HeapString missing = Load(kMissing);
  ASSERT_NE(missing.text, nullptr);
  EXPECT_STREQ(missing.text, L"");
}

TEST(PageActivationContext, MadeOnceFromTheManifestAndRemade) {
  const HANDLE first = GetPageActivationContext();
  ASSERT_NE(first, INVALID_HANDLE_VALUE);
  ASSERT_NE(first, nullptr);
  EXPECT_EQ(GetPageActivationContext(), first);

  // Under the context, the common controls load in version 6 (from the
  // side-by-side store, not the system folder).
  ULONG_PTR cookie = 0;
  ASSERT_TRUE(ActivateActCtx(first, &cookie));
  HMODULE controls = LoadLibraryW(L"comctl32.dll");
  ASSERT_NE(controls, nullptr);
  WCHAR path[MAX_PATH] = {};
  GetModuleFileNameW(controls, path, MAX_PATH);
  std::wstring lowered(path);
  for (wchar_t& c : lowered) c = towlower(c);
  EXPECT_NE(lowered.find(L"winsxs"), std::wstring::npos) << "loaded from " << lowered.c_str();
  FreeLibrary(controls);
  DeactivateActCtx(0, cookie);

  ReleasePageActivationContext();
  const HANDLE again = GetPageActivationContext();
  EXPECT_NE(again, INVALID_HANDLE_VALUE);
  ReleasePageActivationContext();
}

TEST(WideFromByteUnitsTest, ConvertsWhatFitsAndNothingElse) {
  const char16_t abc[] = {u'a', u'b', u'c'};
  char16_t out[260];
  EXPECT_EQ(WideFromByteUnits(abc, 3, out, 260), 3u);
  EXPECT_EQ(std::u16string(out), u"abc");

  char16_t small[3] = {u'x', u'x', u'x'};
  EXPECT_EQ(WideFromByteUnits(abc, 3, small, 3), 0u);
}

TEST(WideFromByteUnitsTest, TakesOnlyTheLowByteOfEachUnit) {
  // The ANSI code page here is 1252: 0xE9 is e with acute accent.
  const char16_t units[] = {0x4141, 0x00E9};
  char16_t out[8] = {};
  ASSERT_EQ(WideFromByteUnits(units, 2, out, 8), 2u);
  EXPECT_EQ(out[0], u'A');
  EXPECT_EQ(out[1], char16_t{0x00E9});
}

TEST(WideFromByteUnitsTest, EmptyTextAndZeroCapacity) {
  char16_t out[4] = {u'x', u'x', u'x', u'x'};
  EXPECT_EQ(WideFromByteUnits(u"", 0, out, 4), 0u);
  EXPECT_EQ(out[0], 0);
  EXPECT_EQ(WideFromByteUnits(u"a", 1, out, 0), 0u);
}

}  // namespace
