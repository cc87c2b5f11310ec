#include <gtest/gtest.h>

#include <set>
#include <string>

#include "known_feature_table.h"
#include "ppd_test_support.h"

namespace {

struct Row {
  const char16_t* keyword;
  uint32_t dmPubId;
  uint32_t featureId;
  uint32_t nameId;
};

// The rows as the extension must know them, written out by hand in order.
const Row kRows[28] = {
    {u"*InputSlot", 4, 1, 10001},          {u"*Resolution", 5, 2, 10002},
    {u"*MediaType", 12, 3, 10003},         {u"*PageSize", 9, 4, 10007},
    {u"*Duplex", 7, 5, 10025},             {u"*InstalledMemory", 0, 32, 10004},
    {u"*ZQTrayUnit", 0, 33, 10005},        {u"*ZQDuplexOption", 0, 34, 10006},
    {u"*ZQStackerOption", 0, 35, 10024},   {u"*ZQCompactFlash", 0, 36, 10028},
    {u"*ZQScreens", 0, 64, 10008},         {u"*ZQPureBlack", 0, 65, 10009},
    {u"*ZQSmovex", 0, 66, 10010},          {u"*ZQToner", 0, 67, 10011},
    {u"*ZQImageProtect", 0, 68, 10012},    {u"*ZQRendering", 0, 69, 10013},
    {u"*ZQPressSimulation", 0, 70, 10014}, {u"*ZQCMYKMethod", 0, 71, 10017},
    {u"*ZQRGBSource", 0, 72, 10015},       {u"*ZQRGBIntent", 0, 73, 10016},
    {u"*ZQSeparations", 0, 74, 10018},     {u"*OutputBin", 0, 75, 10019},
    {u"*ZQDensity", 0, 76, 10020},         {u"*ZQRotate180Degrees", 0, 77, 10021},
    {u"*ZQRotate90Degrees", 0, 78, 10022}, {u"*ZQStartSide", 0, 79, 10023},
    {u"*ZQAutoMonoMode", 0, 80, 10026},    {u"*ZQOUTPUTID", 0, 81, 10027},
};

TEST(KnownFeatureTable, HasTwentyEightRowsWithDistinctKeysAndAnEndRow) {
  std::set<uint32_t> features;
  std::set<uint32_t> names;
  int privateRows = 0;
  for (int i = 0; i < 28; ++i) {
    const KnownFeature& row = KnownFeatureTable[i];
    const Row& want = kRows[i];
    const std::string label = "row " + std::to_string(i + 1) + " " + Utf8(want.keyword);
    EXPECT_EQ(std::u16string(row.keyword), std::u16string(want.keyword))
        << label << ": got " << Utf8(row.keyword);
    EXPECT_EQ(row.dmPubId, want.dmPubId) << label;
    EXPECT_EQ(row.featureId, want.featureId) << label;
    EXPECT_EQ(row.nameId, want.nameId) << label;
    features.insert(row.featureId);
    names.insert(row.nameId);
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
  // Every row answers to its own key: a standard row to its DMPub id, any
  // other to its keyword.
  for (const Row& want : kRows) {
    const KnownFeature* row = want.dmPubId != 0 ? FindKnownFeature(nullptr, want.dmPubId)
                                                : FindKnownFeature(want.keyword, 0);
    ASSERT_NE(row, nullptr) << Utf8(want.keyword);
    EXPECT_EQ(row->featureId, want.featureId) << Utf8(want.keyword);
    EXPECT_EQ(row->nameId, want.nameId) << Utf8(want.keyword);
  }
}

TEST(KnownFeatureKeyword, ByFeatureNumber) {
  EXPECT_EQ(std::u16string(KnownFeatureKeyword(5)), u"*Duplex");
  EXPECT_EQ(std::u16string(KnownFeatureKeyword(36)), u"*ZQCompactFlash");
  EXPECT_EQ(KnownFeatureKeyword(0), nullptr);
  EXPECT_EQ(KnownFeatureKeyword(82), nullptr);
  EXPECT_EQ(KnownFeatureKeyword(6), nullptr);
  for (const Row& want : kRows) {
    const char16_t* keyword = KnownFeatureKeyword(want.featureId);
    ASSERT_NE(keyword, nullptr) << want.featureId;
    EXPECT_EQ(std::u16string(keyword), std::u16string(want.keyword)) << want.featureId;
  }
}

}  // namespace
