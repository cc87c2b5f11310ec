#include "PackageCatalogue.h"
#include "TempFolder.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <vector>

namespace {

// A package medium in a temporary folder, and the catalogue built from it.
class CatalogueTest : public testing::Test {
protected:
  CatalogueTest() {
    medium.MakeFolder(L"Res");
    medium.MakeFolder(L"Drv");
  }
  ~CatalogueTest() override {
    for (PackageEntry*& pEntry : slots) free(pEntry);
  }

  void WriteSettings(const std::string& text) { medium.WriteBytes(L"Res\\setup.ini", text); }
  void MakeModelFolders(const std::vector<std::wstring>& names) {
    for (const std::wstring& name : names) medium.MakeFolder(L"Drv\\" + name);
  }
  int Build(PackageAllocator pfnAllocate = nullptr) {
    return FillPackageCatalogue(medium.path(), slots, pfnAllocate);
  }
  std::wstring Folder(int i) const { return slots[i]->szFolderName; }
  std::wstring Display(int i) const { return slots[i]->szDisplayName; }

  TempFolder medium;
  PackageEntry* slots[kMaxPackages] = {};
};

TEST_F(CatalogueTest, OffersListedFoldersInListingOrder) {
  WriteSettings("[Packages]\r\nBeta=Model Beta\r\nAlpha=Model Alpha\r\n");
  MakeModelFolders({L"Alpha", L"Beta"});
  ASSERT_EQ(2, Build());
  // Wine lists a folder sorted by name, as NTFS does.
  EXPECT_EQ(L"Alpha", Folder(0));
  EXPECT_EQ(L"Model Alpha", Display(0));
  EXPECT_EQ(L"Beta", Folder(1));
  EXPECT_EQ(L"Model Beta", Display(1));
}

TEST_F(CatalogueTest, EmptyValueMissingFolderAndPlainFileAddNothing) {
  WriteSettings("[Packages]\r\nEmpty=\r\nGhost=Not there\r\nPlain=A file\r\nReal=Real one\r\n");
  MakeModelFolders({L"Empty", L"Real"});
  medium.WriteBytes(L"Drv\\Plain", "not a folder");
  ASSERT_EQ(1, Build());
  EXPECT_EQ(L"Real", Folder(0));
}

TEST_F(CatalogueTest, KeysMatchWithoutRegardToCase) {
  WriteSettings("[PACKAGES]\r\nMODELX=Shouted\r\n");
  MakeModelFolders({L"ModelX"});
  ASSERT_EQ(1, Build());
  EXPECT_EQ(L"ModelX", Folder(0));
  EXPECT_EQ(L"Shouted", Display(0));
}

TEST_F(CatalogueTest, OffersAtMostSixtyFourModels) {
  std::string settings = "[Packages]\r\n";
  std::vector<std::wstring> names;
  for (int i = 0; i < 70; ++i) {
    const std::string name = "M" + std::to_string(100 + i);
    settings += name + "=Model " + name + "\r\n";
    names.push_back(std::wstring(name.begin(), name.end()));
  }
  WriteSettings(settings);
  MakeModelFolders(names);
  ASSERT_EQ(kMaxPackages, Build());
  EXPECT_EQ(L"M100", Folder(0));
  EXPECT_EQ(L"M163", Folder(63));
}

TEST_F(CatalogueTest, DisplayNameIsCutToSixtyThreeCharacters) {
  const std::string longName(70, 'n');
  WriteSettings("[Packages]\r\nLong=" + longName + "\r\n");
  MakeModelFolders({L"Long"});
  ASSERT_EQ(1, Build());
  EXPECT_EQ(std::wstring(63, L'n'), Display(0));
}

// A folder name cut to 63 characters would name a different folder.
TEST_F(CatalogueTest, SkipsFolderNamesThatDoNotFit) {
  const std::string longFolder(70, 'f');
  WriteSettings("[Packages]\r\n" + longFolder + "=Too long\r\nShort=Fits\r\n");
  MakeModelFolders({std::wstring(70, L'f'), L"Short"});
  ASSERT_EQ(1, Build());
  EXPECT_EQ(L"Short", Folder(0));
}

TEST_F(CatalogueTest, DotEntriesNeverBecomeModels) {
  WriteSettings("[Packages]\r\n.=Dot\r\n..=Dot dot\r\n");
  EXPECT_EQ(0, Build());
}

TEST_F(CatalogueTest, NoPackagesSectionGivesNothing) {
  WriteSettings("[Info]\r\nversion=1.2\r\n");
  MakeModelFolders({L"Alpha"});
  EXPECT_EQ(0, Build());
}

TEST_F(CatalogueTest, MissingOrFolderSettingsGiveNothing) {
  MakeModelFolders({L"Alpha"});
  EXPECT_EQ(0, Build());
  medium.MakeFolder(L"Res\\setup.ini");
  EXPECT_EQ(0, Build());
}

TEST(CatalogueMediumTest, MissingDrvGivesNothing) {
  TempFolder medium;
  medium.MakeFolder(L"Res");
  medium.WriteBytes(L"Res\\setup.ini", "[Packages]\r\nAlpha=Model\r\n");
  PackageEntry* slots[kMaxPackages] = {};
  EXPECT_EQ(0, FillPackageCatalogue(medium.path(), slots));
  for (PackageEntry* pEntry : slots) EXPECT_EQ(nullptr, pEntry);
}

TEST_F(CatalogueTest, RejectedRecordWaitsInTheSlotAboveTheCount) {
  WriteSettings("[Packages]\r\nAlpha=Model Alpha\r\nCharlie=Model Charlie\r\n");
  MakeModelFolders({L"Alpha", L"Bravo", L"Charlie", L"Delta"});
  ASSERT_EQ(2, Build());
  EXPECT_EQ(L"Charlie", Folder(1));
  ASSERT_NE(nullptr, slots[2]);
  EXPECT_EQ(L"Delta", Folder(2));
  EXPECT_EQ(nullptr, slots[3]);
}

int g_allocationsLeft = 0;
void* AllocateWhileAllowed(size_t size) {
  if (g_allocationsLeft == 0) return nullptr;
  --g_allocationsLeft;
  return malloc(size);
}

TEST_F(CatalogueTest, FailedAllocationEndsTheListingWithWhatItHas) {
  WriteSettings("[Packages]\r\nA=1\r\nB=2\r\nC=3\r\n");
  MakeModelFolders({L"A", L"B", L"C"});
  g_allocationsLeft = 2;
  ASSERT_EQ(2, Build(AllocateWhileAllowed));
  EXPECT_EQ(L"B", Folder(1));
  EXPECT_EQ(nullptr, slots[2]);
}

}  // namespace
