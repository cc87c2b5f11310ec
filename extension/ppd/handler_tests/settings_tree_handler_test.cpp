// The settings tree handler and its callback on trees built here, with a
// PPD model of a small printer and the library's own string table.
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#include "common_ui_handler.h"
#include "ppd_model.h"
#include "settings_tree_builder.h"

namespace {

// Fits no real printer: one installable cassette unit that rules out a
// paper source, an output bin of the known table and a stapler outside it,
// and a colour-mode feature.
const char kPpd[] =
    "*PPD-Adobe: \"4.3\"\n"
    "*OpenGroup: InstallableOptions/Options Installed\n"
    "*OpenUI *ZQTrayUnit/Lower Cassette Unit: PickOne\n"
    "*DefaultZQTrayUnit: LC2\n"
    "*ZQTrayUnit None/Not Installed: \"\"\n"
    "*ZQTrayUnit LC2/2 Cassettes: \"\"\n"
    "*CloseUI: *ZQTrayUnit\n"
    "*CloseGroup: InstallableOptions\n"
    "*UIConstraints: *ZQTrayUnit None *InputSlot LC2\n"
    "*UIConstraints: *ZQTrayUnit None *OutputBin Stacker\n"
    "*UIConstraints: *ZQTrayUnit None *ZQStaple On\n"
    "*OpenUI *OutputBin/Output Bin: PickOne\n"
    "*DefaultOutputBin: FaceDown\n"
    "*OutputBin FaceDown/Face Down Tray: \"\"\n"
    "*OutputBin Stacker/Stacker: \"\"\n"
    "*CloseUI: *OutputBin\n"
    "*OpenUI *ZQStaple/Staple: PickOne\n"
    "*DefaultZQStaple: Off\n"
    "*ZQStaple Off/Off: \"\"\n"
    "*ZQStaple On/On: \"\"\n"
    "*CloseUI: *ZQStaple\n"
    "*OpenUI *InputSlot/Paper Source: PickOne\n"
    "*DefaultInputSlot: Auto\n"
    "*InputSlot Auto/Automatically Select: \"\"\n"
    "*InputSlot LC2/Cassette 3: \"\"\n"
    "*CloseUI: *InputSlot\n"
    "*OpenUI *ZQRendering/Color Mode: PickOne\n"
    "*DefaultZQRendering: Color\n"
    "*ZQRendering Mono/Black and White: \"\"\n"
    "*ZQRendering Color/Colour: \"\"\n"
    "*CloseUI: *ZQRendering\n";

struct TextReader {
  const char* text;
  size_t at;
};

int ReadText(void* handle) {
  auto* reader = static_cast<TextReader*>(handle);
  const char c = reader->text[reader->at];
  if (c == 0) return -1;
  ++reader->at;
  return static_cast<unsigned char>(c);
}

HMODULE LoadLibraryUnderTest() {
  std::wstring path = _wgetenv(L"KORVAIN_DLL") != nullptr ? _wgetenv(L"KORVAIN_DLL") : L"";
  for (wchar_t& c : path)
    if (c == L'/') c = L'\\';
  return LoadLibraryW(path.c_str());
}

class SettingsTreeHandler : public ::testing::Test {
 protected:
  void SetUp() override {
    module_ = LoadLibraryUnderTest();
    ASSERT_NE(module_, nullptr);
    TextReader reader = {kPpd, 0};
    context_.pPpdModel = BuildPpdModel(ReadText, &reader);
    ASSERT_NE(context_.pPpdModel, nullptr);
    context_.pOemDriverUI = &driver_;
    param_.cbSize = sizeof param_;
    param_.hModule = module_;
    param_.hOEMHeap = GetProcessHeap();
    param_.pPublicDM = &devmode_;
    devmode_.dmDuplex = 99;
  }
  void TearDown() override {
    DestroyPpdModel(context_.pPpdModel);
    FreeLibrary(module_);
  }

  // Both calls of the document tree, as the driver makes them.
  void RunDocumentTree() {
    param_.pOEMOptItems = nullptr;
    ASSERT_EQ(HandleCommonUIProp(OEMCUIP_DOCPROP, &param_, &context_), S_OK);
    param_.pDrvOptItems = tree_.Items();
    param_.cDrvOptItems = tree_.Count();
    param_.pOEMOptItems = tree_.Items() + tree_.Count();  // the driver's spare slot
    ASSERT_EQ(HandleCommonUIProp(OEMCUIP_DOCPROP, &param_, &context_), S_OK);
  }

  LONG Callback(WORD reason, size_t currentItem) {
    CPSUICBPARAM callback = {};
    callback.cbSize = sizeof callback;
    callback.Reason = reason;
    callback.pCurItem = &tree_.Item(currentItem);
    return param_.OEMCUIPCallback(&callback, &param_);
  }

  HMODULE module_ = nullptr;
  UiContext context_ = {};
  OEMCUIPPARAM param_ = {};
  DEVMODEW devmode_ = {};
  RecordingDriverUI driver_;
  SettingsTreeBuilder tree_;
};

TEST_F(SettingsTreeHandler, LayoutItemsAreHiddenUnlessTheSystemIsLegacy) {
  for (DWORD id = 1; id <= 21; ++id) tree_.Add(id, L"item", {L"a", L"b"});
#ifdef KORVAIN_XP_VARIANT
  const DWORD hidden[] = {1, 7, 16, 17};
#else
  const DWORD hidden[] = {1, 7, 16, 17, 18, 19, 20, 21};
#endif
  RunDocumentTree();
  for (DWORD i = 0; i < tree_.Count(); ++i) {
    const DWORD id = tree_.Item(i).DMPubID;
    bool shouldHide = false;
    for (DWORD h : hidden) shouldHide = shouldHide || h == id;
    EXPECT_EQ((tree_.Item(i).Flags & OPTIF_HIDE) != 0, shouldHide) << "DMPub id " << id;
  }

  SettingsTreeBuilder legacyTree;
  for (DWORD id = 1; id <= 21; ++id) legacyTree.Add(id, L"item", {L"a", L"b"});
  context_.bLegacySystem = TRUE;
  param_.pDrvOptItems = legacyTree.Items();
  param_.cDrvOptItems = legacyTree.Count();
  ASSERT_EQ(HandleCommonUIProp(OEMCUIP_DOCPROP, &param_, &context_), S_OK);
  for (DWORD i = 0; i < legacyTree.Count(); ++i) {
    EXPECT_EQ(legacyTree.Item(i).Flags & OPTIF_HIDE, 0u) << "DMPub id " << i + 1;
  }
}

TEST_F(SettingsTreeHandler, SecondCallInstallsTheCallbackWithTheContext) {
  tree_.Add(DMPUB_COLOR, L"Color", {L"Monochrome", L"Color"});
  RunDocumentTree();
  EXPECT_EQ(param_.OEMCUIPCallback, &CommonUICallback);
  EXPECT_EQ(param_.pOEMUserData, &context_);
}

TEST_F(SettingsTreeHandler, FirstCallAddsNoItemsAndAsksForEachInstallableFeature) {
  param_.cOEMOptItems = 7;
  driver_.installed["ZQTrayUnit"] = "None";
  ASSERT_EQ(HandleCommonUIProp(OEMCUIP_DOCPROP, &param_, &context_), S_OK);
  EXPECT_EQ(param_.cOEMOptItems, 0u);
  EXPECT_EQ(driver_.askedFeatures, std::vector<std::string>{"ZQTrayUnit"});

  driver_.askedFeatures.clear();
  ASSERT_EQ(HandleCommonUIProp(OEMCUIP_PRNPROP, &param_, &context_), S_OK);
  EXPECT_TRUE(driver_.askedFeatures.empty()) << "the device tree fetches no equipment";
}

TEST_F(SettingsTreeHandler, MissingCassetteUnitHidesTheCassetteItFeeds) {
  driver_.installed["ZQTrayUnit"] = "None";
  const size_t source =
      tree_.Add(DMPUB_DEFSOURCE, L"Paper Source", {L"Automatically Select", L"Cassette 3"});
  RunDocumentTree();
  EXPECT_EQ(tree_.Option(source, 0).Flags & OPTPF_HIDE, 0u);
  EXPECT_NE(tree_.Option(source, 1).Flags & OPTPF_HIDE, 0u);
}

// Items the driver names by their feature's translation (public id 0):
// those of the known table get their ruled-out options hidden, the others
// are left as they come.
TEST_F(SettingsTreeHandler, ItemsNamedByTranslationFollowTheKnownTableOnly) {
  driver_.installed["ZQTrayUnit"] = "None";
  const size_t bin = tree_.Add(0, L"Output Bin", {L"Face Down Tray", L"Stacker"});
  const size_t staple = tree_.Add(0, L"Staple", {L"Off", L"On"});
  RunDocumentTree();
  EXPECT_EQ(tree_.Option(bin, 0).Flags & OPTPF_HIDE, 0u);
  EXPECT_NE(tree_.Option(bin, 1).Flags & OPTPF_HIDE, 0u) << "known feature, ruled out";
  EXPECT_EQ(tree_.Option(staple, 1).Flags & OPTPF_HIDE, 0u) << "feature outside the table";
  EXPECT_EQ(tree_.Item(staple).Flags, 0u);
}

TEST_F(SettingsTreeHandler, InstalledCassetteUnitLeavesEveryPaperSource) {
  driver_.installed["ZQTrayUnit"] = "LC2";
  const size_t source =
      tree_.Add(DMPUB_DEFSOURCE, L"Paper Source", {L"Automatically Select", L"Cassette 3"});
  RunDocumentTree();
  EXPECT_EQ(tree_.Option(source, 1).Flags & OPTPF_HIDE, 0u);
}

TEST_F(SettingsTreeHandler, FailedQueryKeepsTheEarlierInstalledValue) {
  driver_.installed["ZQTrayUnit"] = "None";
  param_.pOEMOptItems = nullptr;
  ASSERT_EQ(HandleCommonUIProp(OEMCUIP_DOCPROP, &param_, &context_), S_OK);
  driver_.installed.clear();  // the driver now fails the query
  const size_t source =
      tree_.Add(DMPUB_DEFSOURCE, L"Paper Source", {L"Automatically Select", L"Cassette 3"});
  RunDocumentTree();
  EXPECT_NE(tree_.Option(source, 1).Flags & OPTPF_HIDE, 0u);
}

TEST_F(SettingsTreeHandler, MonochromeDisablesAColorModeItemThatComesAfterIt) {
  tree_.Add(DMPUB_COLOR, L"Color", {L"Monochrome", L"Color"}, 0);
  const size_t colorMode =
      tree_.Add(0, L"Color Mode", {L"Black and White", L"Colour"}, 0, "ZQRendering");
  RunDocumentTree();
  EXPECT_NE(tree_.Item(colorMode).Flags & OPTIF_DISABLED, 0u);
}

// The colour-mode keyword alone does not make the item known: the driver's
// name has to lead to a feature of the table.
TEST_F(SettingsTreeHandler, ColorModeItemOfAnUnknownFeatureStaysEnabledAtMonochrome) {
  tree_.Add(DMPUB_COLOR, L"Color", {L"Monochrome", L"Color"}, 0);
  const size_t colorMode =
      tree_.Add(0, L"Colour Model", {L"Black and White", L"Colour"}, 0, "ZQRendering");
  RunDocumentTree();
  EXPECT_EQ(tree_.Item(colorMode).Flags & OPTIF_DISABLED, 0u);
  EXPECT_EQ(tree_.Item(colorMode).Sel, 0);
}

TEST_F(SettingsTreeHandler, ColorModeItemBeforeTheColorItemStaysEnabled) {
  const size_t colorMode =
      tree_.Add(0, L"Color Mode", {L"Black and White", L"Colour"}, 0, "ZQRendering");
  tree_.Add(DMPUB_COLOR, L"Color", {L"Monochrome", L"Color"}, 0);
  RunDocumentTree();
  EXPECT_EQ(tree_.Item(colorMode).Flags & OPTIF_DISABLED, 0u);
}

TEST_F(SettingsTreeHandler, WithoutAModelOnlyTheLayoutIsAdjusted) {
  DestroyPpdModel(context_.pPpdModel);
  context_.pPpdModel = nullptr;  // and no printer to find the PPD through
  tree_.Add(DMPUB_COLOR, L"Color", {L"Monochrome", L"Color"}, 0);
  const size_t colorMode =
      tree_.Add(0, L"Color Mode", {L"Black and White", L"Colour"}, 0, "ZQRendering");
  const size_t orientation = tree_.Add(DMPUB_ORIENTATION, L"Orientation", {L"P", L"L"});
  RunDocumentTree();
  EXPECT_EQ(context_.pPpdModel, nullptr);
  EXPECT_EQ(tree_.Item(colorMode).Flags & OPTIF_DISABLED, 0u);
  EXPECT_NE(tree_.Item(orientation).Flags & OPTIF_HIDE, 0u);
}

TEST_F(SettingsTreeHandler, ItemsWithoutOptionsOrArraysDoNoHarm) {
  const size_t source = tree_.Add(DMPUB_DEFSOURCE, L"Paper Source", {});
  tree_.Item(source).pOptType = nullptr;
  tree_.Add(0, L"Lower Cassette Unit", {});
  RunDocumentTree();
  param_.pDrvOptItems = nullptr;
  param_.cDrvOptItems = 5;
  EXPECT_EQ(HandleCommonUIProp(OEMCUIP_DOCPROP, &param_, &context_), S_OK);
  EXPECT_EQ(HandleCommonUIProp(OEMCUIP_PRNPROP, &param_, &context_), S_OK);
  EXPECT_EQ(HandleCommonUIProp(OEMCUIP_DOCPROP, nullptr, &context_), S_OK);
}

// ---- the callback ----

TEST_F(SettingsTreeHandler, ColorChangeCarriesOverToTheColorModeItem) {
  const size_t color = tree_.Add(DMPUB_COLOR, L"Color", {L"Monochrome", L"Color"}, 0);
  const size_t colorMode =
      tree_.Add(0, L"Color Mode", {L"Black and White", L"Colour"}, 0, "ZQRendering");
  RunDocumentTree();
  ASSERT_NE(tree_.Item(colorMode).Flags & OPTIF_DISABLED, 0u);

  tree_.Item(color).Sel = 1;
  EXPECT_EQ(Callback(CPSUICB_REASON_SEL_CHANGED, color), CPSUICB_ACTION_OPTIF_CHANGED);
  EXPECT_EQ(tree_.Item(colorMode).Flags & OPTIF_DISABLED, 0u);
  EXPECT_EQ(tree_.Item(colorMode).Sel, 1);
  ASSERT_EQ(driver_.updates.size(), 1u);
  EXPECT_EQ(driver_.updates[0].item, &tree_.Item(colorMode));
  EXPECT_EQ(driver_.updates[0].previousSelection, 0u);
  EXPECT_EQ(driver_.updates[0].mode, static_cast<DWORD>(OEMCUIP_DOCPROP));

  tree_.Item(color).Sel = 0;
  Callback(CPSUICB_REASON_SEL_CHANGED, color);
  EXPECT_NE(tree_.Item(colorMode).Flags & OPTIF_DISABLED, 0u);
  EXPECT_EQ(tree_.Item(colorMode).Sel, 0);
}

TEST_F(SettingsTreeHandler, ChangeOfAnotherItemChangesNothing) {
  const size_t source = tree_.Add(DMPUB_DEFSOURCE, L"Paper Source", {L"A", L"B"}, 1);
  const size_t colorMode =
      tree_.Add(0, L"Color Mode", {L"Black and White", L"Colour"}, 0, "ZQRendering");
  RunDocumentTree();
  EXPECT_EQ(Callback(CPSUICB_REASON_SEL_CHANGED, source), CPSUICB_ACTION_OPTIF_CHANGED);
  EXPECT_EQ(tree_.Item(colorMode).Sel, 0);
  EXPECT_TRUE(driver_.updates.empty());
  EXPECT_EQ(Callback(99, source), CPSUICB_ACTION_OPTIF_CHANGED);
}

TEST_F(SettingsTreeHandler, ApplyCommitsTheChangedDuplexItemAndItsPublicMode) {
  const size_t duplex =
      tree_.Add(DMPUB_DUPLEX, L"Duplex", {L"None", L"Short Edge", L"Long Edge"});
  RunDocumentTree();
  tree_.Item(duplex).Flags |= OPTIF_CHANGEONCE;

  const short expected[] = {DMDUP_SIMPLEX, DMDUP_HORIZONTAL, DMDUP_VERTICAL};
  for (LONG selection = 0; selection < 3; ++selection) {
    tree_.Item(duplex).Sel = selection;
    driver_.updates.clear();
    EXPECT_EQ(Callback(CPSUICB_REASON_APPLYNOW, duplex), CPSUICB_ACTION_ITEMS_APPLIED);
    ASSERT_EQ(driver_.updates.size(), 1u) << selection;
    EXPECT_EQ(driver_.updates[0].previousSelection, static_cast<DWORD>(selection));
    EXPECT_EQ(devmode_.dmDuplex, expected[selection]) << selection;
  }
}

TEST_F(SettingsTreeHandler, ApplyLeavesConflictsUnchangedAndRefusedItems) {
  const size_t duplex =
      tree_.Add(DMPUB_DUPLEX, L"Duplex", {L"None", L"Short Edge", L"Long Edge"}, 2);
  const size_t unchanged = tree_.Add(DMPUB_ORIENTATION, L"Orientation", {L"P", L"L"}, 1);
  const size_t outOfRange = tree_.Add(DMPUB_PAGEORDER, L"Page Order", {L"F", L"B"}, 5);
  RunDocumentTree();
  tree_.Item(duplex).Flags |= OPTIF_CHANGEONCE;
  tree_.Item(outOfRange).Flags |= OPTIF_CHANGEONCE;
  tree_.Option(duplex, 2).Flags |= OPTPF_OVERLAY_WARNING_ICON;

  EXPECT_EQ(Callback(CPSUICB_REASON_APPLYNOW, unchanged), CPSUICB_ACTION_ITEMS_APPLIED);
  EXPECT_TRUE(driver_.updates.empty());
  EXPECT_EQ(devmode_.dmDuplex, 99);

  tree_.Option(duplex, 2).Flags = 0;
  driver_.updateResult = E_FAIL;
  Callback(CPSUICB_REASON_APPLYNOW, duplex);
  EXPECT_EQ(driver_.updates.size(), 1u);
  EXPECT_EQ(devmode_.dmDuplex, 99) << "a refused update leaves the public mode";
}

TEST_F(SettingsTreeHandler, ApplyCommitsOnlyThisBuildsLayoutItems) {
  for (DWORD id : {1, 7, 16, 17, 18, 21, 19, 20, 4}) {
    const size_t index = tree_.Add(id, L"item", {L"a", L"b"}, 1);
    tree_.Item(index).Flags |= OPTIF_CHANGEONCE;
  }
  param_.pDrvOptItems = tree_.Items();
  param_.cDrvOptItems = tree_.Count();
  param_.pOEMUserData = &context_;
  param_.OEMCUIPCallback = CommonUICallback;
  Callback(CPSUICB_REASON_APPLYNOW, 0);
  std::vector<DWORD> committed;
  for (const RecordedUpdate& update : driver_.updates) committed.push_back(update.item->DMPubID);
#ifdef KORVAIN_XP_VARIANT
  EXPECT_EQ(committed, (std::vector<DWORD>{1, 7, 16, 17}));
#else
  EXPECT_EQ(committed, (std::vector<DWORD>{1, 7, 16, 17, 18, 21}));
#endif
}

// ---- the device tree ----

TEST(DeviceTree, MarkedItemHidesItsSubtreeUpToTheNextItemOfItsLevel) {
  SettingsTreeBuilder tree;
  const size_t first = tree.AddNamedById(400, 0);
  const size_t marked = tree.AddNamedById(64798, 1);
  tree.AddNamedById(1, 2);
  tree.AddNamedById(2, 3);
  tree.AddNamedById(3, 0);
  const size_t sameLevel = tree.AddNamedById(4, 1);
  tree.Add(0, L"64798", {L"a"}, 0, nullptr, 2);  // a text name is never taken for an id
  OEMCUIPPARAM param = {};
  param.pDrvOptItems = tree.Items();
  param.cDrvOptItems = tree.Count();
  param.pOEMOptItems = tree.Items();
  UiContext context = {};
  ASSERT_EQ(HandleCommonUIProp(OEMCUIP_PRNPROP, &param, &context), S_OK);

  EXPECT_NE(tree.Item(first).Flags & OPTIF_INITIAL_TVITEM, 0u);
  EXPECT_EQ(tree.Item(first).Flags & OPTIF_HIDE, 0u);
  for (size_t i = marked; i < sameLevel; ++i) {
    EXPECT_NE(tree.Item(i).Flags & OPTIF_HIDE, 0u) << i;
    if (i > marked) {
      EXPECT_NE(tree.Option(i, 0).Flags & OPTPF_HIDE, 0u) << i;
    }
  }
  EXPECT_EQ(tree.Item(sameLevel).Flags & OPTIF_HIDE, 0u);
  EXPECT_EQ(tree.Item(sameLevel + 1).Flags, 0u);
  EXPECT_EQ(param.OEMCUIPCallback, nullptr);
  EXPECT_EQ(param.pOEMUserData, nullptr);
}

}  // namespace
