// The soak's judge of the readings taken at the end of each opening: a
// row may move while a load settles, must not rise above its settled
// highest after that, and a row with an expected value must read it at
// every opening.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "opening_judge.h"

namespace {

std::vector<OpeningRow> Rows() {
  return {{L"C heap, bytes", OpeningRule::kNoRise, 0},
          {L"driver's heap, left for the driver", OpeningRule::kExactly, 7}};
}

std::wstring Joined(const std::vector<std::wstring>& lines) {
  std::wstring joined;
  for (const std::wstring& line : lines) joined += line + L"\n";
  return joined;
}

struct Case {
  const char* what;
  std::vector<std::vector<long long>> loads;  // per load, the first row's readings
  const wchar_t* fault;                       // the one fault, or empty
};

const Case kCases[] = {
    {"what grows while a load settles, then stays", {{100, 300, 200, 300, 300, 250}}, L""},
    {"a rise after the settling",
     {{100, 100, 100, 108}},
     L"per opening: C heap, bytes: 108 at opening 4, above 100, the highest of its load's "
     L"settling openings\n"},
    {"a slow rise, past the settled highest at last",
     {{100, 120, 100, 110, 115, 121}},
     L"per opening: C heap, bytes: 121 at opening 6, above 120, the highest of its load's "
     L"settling openings\n"},
    // The second load settles anew: its first openings are not held
    // against the first load's.
    {"a reload settles again", {{100, 100, 100, 100}, {300, 300, 300, 300}}, L""},
    {"a rise in the second load",
     {{100, 100, 100}, {300, 300, 300, 301}},
     L"per opening: C heap, bytes: 301 at opening 7, above 300, the highest of its load's "
     L"settling openings\n"},
};

class OpeningJudgeCase : public testing::TestWithParam<Case> {};

TEST_P(OpeningJudgeCase, FaultsAsTheReadingsSay) {
  const Case& c = GetParam();
  OpeningJudge judge(Rows(), 3);
  unsigned opening = 0;
  for (const auto& load : c.loads) {
    judge.StartLoad();
    for (long long reading : load) judge.After(++opening, {reading, 7});
  }
  EXPECT_EQ(Joined(judge.Faults()), c.fault) << c.what;
  EXPECT_EQ(judge.Clean(), c.fault[0] == 0) << c.what;
}

INSTANTIATE_TEST_SUITE_P(Readings, OpeningJudgeCase, testing::ValuesIn(kCases));

TEST(OpeningJudge, AnExpectedRowMustReadItAtEveryOpeningSettlingOrNot) {
  OpeningJudge judge(Rows(), 3);
  judge.StartLoad();
  judge.After(1, {0, 7});
  judge.After(2, {0, 8});
  judge.After(3, {0, 9});
  EXPECT_EQ(Joined(judge.Faults()),
            L"per opening: driver's heap, left for the driver: 8 at opening 2, not the 7 "
            L"expected\n")
      << "the first fault of the row, once";
  const std::wstring table = judge.Table();
  EXPECT_NE(table.find(L"    driver's heap, left for the driver"), std::wstring::npos);
  EXPECT_NE(table.find(L"7 at every opening  FAILED"), std::wstring::npos) << table;
  EXPECT_EQ(table.find(L"C heap, bytes"), std::wstring::npos) << "a row of zeros is left out";
}

}  // namespace
