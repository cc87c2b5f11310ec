#include <gtest/gtest.h>

#include <set>

#include "known_feature_table.h"
#include "ppd_test_support.h"

namespace {

TEST(KnownFeatureTable, HasTwentyEightRowsWithDistinctKeysAndAnEndRow) {
  std::set<uint32_t> features;
  std::set<uint32_t> names;
  int privateRows = 0;
  for (int i = 0; i < 28; ++i) {
    const KnownFeature& row = KnownFeatureTable[i];
    EXPECT_NE(row.featureId, 0u) << i;
    features.insert(row.featureId);
    names.insert(row.nameId);
    EXPECT_GE(row.nameId, 10001u);
    EXPECT_LE(row.nameId, 10028u);
    if (Utf8(row.keyword).rfind("*ZQ", 0) == 0) ++privateRows;
  }
  EXPECT_EQ(features.size(), 28u);
  EXPECT_EQ(names.size(), 28u);
  EXPECT_EQ(privateRows, 21);
  EXPECT_EQ(KnownFeatureTable[28].featureId, 0u);
  EXPECT_EQ(KnownFeatureTable[28].dmPubId, 0u);
  EXPECT_EQ(KnownFeatureTable[28].nameId, 0u);
  EXPECT_EQ(std::u16string(KnownFeatureTable[28].keyword), u"");
}

struct FindCase {
  const char16_t* keyword;
  uint32_t dmPubId;
  uint32_t featureId;  // 0: no row
  uint32_t nameId;
};

TEST(FindKnownFeature, StandardRowsByIdOnlyOthersByKeywordOnly) {
  const FindCase cases[] = {
      {nullptr, 7, 5, 10025},          {nullptr, 6, 0, 0},
      {u"*ZQRendering", 0, 69, 10013}, {u"*InputSlot", 0, 0, 0},
      {u"*zqrendering", 0, 0, 0},      {u"*ZQRendering", 4, 1, 10001},
      {u"*ZQOUTPUTID", 0, 81, 10027},  {u"*OutputBin", 0, 75, 10019},
      {u"", 0, 0, 0},                  {nullptr, 0, 0, 0},
      {nullptr, 12, 3, 10003},         {nullptr, 9, 4, 10007},
      {nullptr, 1, 0, 0}};  // no row of a private feature answers to an id
  for (const FindCase& c : cases) {
    const KnownFeature* row = FindKnownFeature(c.keyword, c.dmPubId);
    const std::string label = Utf8(c.keyword) + " / " + std::to_string(c.dmPubId);
    if (c.featureId == 0) {
      EXPECT_EQ(row, nullptr) << label;
    } else {
      ASSERT_NE(row, nullptr) << label;
      EXPECT_EQ(row->featureId, c.featureId) << label;
      EXPECT_EQ(row->nameId, c.nameId) << label;
    }
  }
}

TEST(KnownFeatureKeyword, ByFeatureNumber) {
  EXPECT_EQ(std::u16string(KnownFeatureKeyword(5)), u"*Duplex");
  EXPECT_EQ(std::u16string(KnownFeatureKeyword(36)), u"*ZQCompactFlash");
  EXPECT_EQ(KnownFeatureKeyword(0), nullptr);
  EXPECT_EQ(KnownFeatureKeyword(82), nullptr);
  EXPECT_EQ(KnownFeatureKeyword(6), nullptr);
}

}  // namespace
