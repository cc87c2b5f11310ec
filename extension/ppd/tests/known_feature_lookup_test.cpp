// LookupKnownFeature against the string table of the shipped library.
#include <gtest/gtest.h>

#include <cstdlib>

#include "known_feature_lookup.h"

namespace {

class KnownFeatureLookup : public testing::Test {
 protected:
  void SetUp() override {
    const wchar_t* path = _wgetenv(L"KORVAIN_DLL");
    ASSERT_NE(path, nullptr) << "KORVAIN_DLL names no library";
    library = LoadLibraryExW(path, nullptr, LOAD_LIBRARY_AS_DATAFILE);
    ASSERT_NE(library, nullptr) << "error " << GetLastError();
  }
  void TearDown() override {
    if (library != nullptr) FreeLibrary(library);
  }
  HMODULE library = nullptr;
};

TEST_F(KnownFeatureLookup, FindsStandardItemsByDmPubIdAndLoadsTheName) {
  KnownFeatureName result = {};
  EXPECT_EQ(LookupKnownFeature(library, &result, nullptr, 7), S_OK);
  EXPECT_EQ(result.featureId, 5u);
  EXPECT_EQ(std::wstring(reinterpret_cast<const wchar_t*>(result.szName)), L"Duplex");
  EXPECT_EQ(LookupKnownFeature(library, &result, nullptr, 6), E_FAIL);
}

TEST_F(KnownFeatureLookup, FindsPrivateFeaturesByExactKeyword) {
  KnownFeatureName result = {};
  EXPECT_EQ(LookupKnownFeature(library, &result, L"*ZQRendering", 0), S_OK);
  EXPECT_EQ(result.featureId, 69u);
  EXPECT_EQ(std::wstring(reinterpret_cast<const wchar_t*>(result.szName)), L"Color Mode");
  EXPECT_EQ(LookupKnownFeature(library, &result, L"*InputSlot", 0), E_FAIL);
  EXPECT_EQ(LookupKnownFeature(library, &result, L"*zqrendering", 0), E_FAIL);
}

TEST_F(KnownFeatureLookup, EveryRowHasANameInTheLibrary) {
  for (int i = 0; KnownFeatureTable[i].featureId != 0; ++i) {
    KnownFeatureName result = {};
    const KnownFeature& row = KnownFeatureTable[i];
    const WCHAR* keyword = reinterpret_cast<const WCHAR*>(row.keyword);
    EXPECT_EQ(LookupKnownFeature(library, &result, keyword, row.dmPubId), S_OK) << i;
    EXPECT_EQ(result.featureId, row.featureId) << i;
    EXPECT_NE(result.szName[0], 0) << i;
  }
}

TEST_F(KnownFeatureLookup, BadArgumentsAndMissingStrings) {
  KnownFeatureName result = {};
  EXPECT_EQ(LookupKnownFeature(nullptr, &result, L"*ZQRendering", 0), E_INVALIDARG);
  EXPECT_EQ(LookupKnownFeature(library, nullptr, L"*ZQRendering", 0), E_INVALIDARG);
  EXPECT_EQ(LookupKnownFeature(library, &result, nullptr, 0), E_INVALIDARG);
  // This test program carries no string table: the row is found, the name is not.
  EXPECT_EQ(LookupKnownFeature(GetModuleHandleW(nullptr), &result, L"*ZQRendering", 0), E_FAIL);
}

}  // namespace
