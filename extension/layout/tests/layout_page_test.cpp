// The Layout page of the shipped library in a real property sheet, over
// settings trees the tests build, driven like a user.
#include <gtest/gtest.h>

#include <commctrl.h>

#include <map>

#include "layout_page_driver.h"

namespace {

std::vector<std::wstring> TextsOf(const std::vector<ListEntryView>& entries) {
  std::vector<std::wstring> texts;
  for (const auto& e : entries) texts.push_back(e.text);
  return texts;
}
std::vector<int> ImagesOf(const std::vector<ListEntryView>& entries) {
  std::vector<int> images;
  for (const auto& e : entries) images.push_back(e.image);
  return images;
}

using Texts = std::vector<std::wstring>;
using Images = std::vector<int>;

const int kFullFormatControls[] = {kArrangement, kArrangementLabel, kBindingEdge,
                                   kBindingEdgeLabel, kDrawBorders};

// ---- start and refresh ----

TEST(LayoutPage, LabelsAreLocalizedAndTheXpVariantHidesTheFullPageFormat) {
  LayoutTree tree = FullTree();
  LayoutPageDriver d;
  ASSERT_TRUE(d.Open(&tree));
  EXPECT_EQ(d.Text(kOrientationLabel), L"&Orientation:");
  EXPECT_EQ(d.Text(kTwoSidedLabel), L"Print on &Both Sides:");
  EXPECT_EQ(d.Text(kPageOrderLabel), L"Page O&rder:");
  EXPECT_EQ(d.Text(kPageFormat), L"Page Format");
  EXPECT_EQ(d.Text(kPagesPerSheetButton), L"Page&s per Sheet");
  EXPECT_EQ(d.Text(kBookletButton), L"Boo&klet");
  for (int control : kFullFormatControls) EXPECT_EQ(d.Visible(control), !kXpVariant) << control;
  if (kXpVariant) {
    EXPECT_EQ(d.Text(kDrawBorders), L"Dra&w Borders:");  // the template's, never replaced
    EXPECT_EQ(d.Text(kArrangementLabel), L"Pages per Sheet &Layout:");
  } else {
    EXPECT_EQ(d.Text(kDrawBorders), L"Dra&w Borderles");
    EXPECT_EQ(d.Text(kArrangementLabel), L"Pages per Sheet &Layout:");
    EXPECT_EQ(d.Text(kBindingEdgeLabel), L"Booklet Binding &Edge:");
  }
}

TEST(LayoutPage, ListsComeFromTheItemsWithTheirPictures) {
  LayoutTree tree = FullTree();
  tree.Item(DMPUB_DUPLEX).Sel = 2;
  tree.Item(DMPUB_NUP).Sel = 2;
  tree.Item(DMPUB_NUP_DIRECTION).Sel = 3;
  LayoutPageDriver d;
  ASSERT_TRUE(d.Open(&tree));
  const auto orientation = d.Entries(kOrientation);
  EXPECT_EQ(TextsOf(orientation), (Texts{L"Portrait", L"Landscape", L"Rotated Landscape"}));
  EXPECT_EQ(ImagesOf(orientation), (Images{0, 2, 4}));
  const auto twoSided = d.Entries(kTwoSided);
  EXPECT_EQ(TextsOf(twoSided), (Texts{L"None", L"Flip on Short Egde", L"Flip on Long Efge"}));
  EXPECT_EQ(ImagesOf(twoSided), (Images{6, 8, 10}));
  EXPECT_EQ(d.SelectedPosition(kTwoSided), 2);
  const auto order = d.Entries(kPageOrder);
  EXPECT_EQ(TextsOf(order), (Texts{L"Front to Back", L"Back to Front"}));
  EXPECT_EQ(ImagesOf(order), (Images{17, 17}));
  // Seven options, six entries: booklet is the radio button's.
  EXPECT_EQ(TextsOf(d.Entries(kPagesPerSheet)), (Texts{L"1", L"2", L"4", L"6", L"9", L"16"}));
  EXPECT_EQ(d.SelectedPosition(kPagesPerSheet), 2);
  EXPECT_TRUE(d.Checked(kPagesPerSheetButton));
  EXPECT_FALSE(d.Checked(kBookletButton));
  if (kXpVariant) {
    EXPECT_TRUE(d.Entries(kArrangement).empty());
    EXPECT_TRUE(d.Entries(kBindingEdge).empty());
  } else {
    EXPECT_EQ(TextsOf(d.Entries(kArrangement)),
              (Texts{L"Right then Down", L"Down then Right", L"Left then Down", L"Down then Left"}));
    EXPECT_EQ(d.SelectedPosition(kArrangement), 3);
    EXPECT_EQ(TextsOf(d.Entries(kBindingEdge)), (Texts{L"On Left Edge", L"On Right Edge"}));
    EXPECT_TRUE(d.Enabled(kArrangement));
    EXPECT_FALSE(d.Enabled(kBindingEdge));
  }
  EXPECT_TRUE(d.driver.updates.empty());
}

TEST(LayoutPage, WithoutPageOrderItemOnlyThePlainPagesPerSheetChoiceRemains) {
  LayoutTree tree({{DMPUB_ORIENTATION, 0, 3}, {DMPUB_DUPLEX, 0, 3}, {DMPUB_NUP, 6, 7},
                   {DMPUB_NUP_DIRECTION, 0, 4}, {DMPUB_BOOKLET_EDGE, 0, 2}});
  LayoutPageDriver d;
  ASSERT_TRUE(d.Open(&tree));
  EXPECT_FALSE(d.Enabled(kBookletButton));
  EXPECT_FALSE(d.Checked(kBookletButton));
  EXPECT_TRUE(d.Checked(kPagesPerSheetButton));
  EXPECT_TRUE(d.Enabled(kPagesPerSheet));
  EXPECT_FALSE(d.Enabled(kPageOrder));
  EXPECT_FALSE(d.Enabled(kPageOrderLabel));
  // The XP variant disables page order only: the rest stays hidden as it was.
  for (int control : kFullFormatControls) {
    if (kXpVariant) EXPECT_FALSE(d.Visible(control)) << control;
    else EXPECT_FALSE(d.Enabled(control)) << control;
  }
  EXPECT_TRUE(d.Enabled(kOrientation));
}

TEST(LayoutPage, ListsStopAtTheirBounds) {
  LayoutTree tree({{DMPUB_ORIENTATION, 0, 4}, {DMPUB_DUPLEX, 0, 5}, {DMPUB_PAGEORDER, 0, 3},
                   {DMPUB_NUP, 0, 9}, {DMPUB_NUP_DIRECTION, 0, 8}, {DMPUB_BOOKLET_EDGE, 0, 3}});
  LayoutPageDriver d;
  ASSERT_TRUE(d.Open(&tree));
  EXPECT_EQ(d.Entries(kOrientation).size(), 3u);
  EXPECT_EQ(d.Entries(kTwoSided).size(), 3u);
  EXPECT_EQ(d.Entries(kPageOrder).size(), 2u);
  EXPECT_EQ(d.Entries(kPagesPerSheet).size(), 6u);
  EXPECT_EQ(d.Entries(kArrangement).size(), kXpVariant ? 0u : 4u);
  EXPECT_EQ(d.Entries(kBindingEdge).size(), kXpVariant ? 0u : 2u);
}

TEST(LayoutPage, ConflictsAreLeftOutUnlessCurrentAndChoicesSetTheOptionShown) {
  LayoutTree tree = FullTree();
  tree = LayoutTree({{DMPUB_ORIENTATION, 0, 3, 0, 0b010},
                     {DMPUB_DUPLEX, 2, 3, 0, 0b110},
                     {DMPUB_PAGEORDER, 0, 2, 0, 0b10},
                     {DMPUB_NUP, 0, 7}});
  LayoutPageDriver d;
  ASSERT_TRUE(d.Open(&tree));
  const auto orientation = d.Entries(kOrientation);
  EXPECT_EQ(TextsOf(orientation), (Texts{L"Portrait", L"Rotated Landscape"}));
  EXPECT_EQ(ImagesOf(orientation), (Images{0, 4}));
  // Landscape is left out: the second entry is still rotated landscape.
  d.Choose(kOrientation, 1);
  EXPECT_EQ(tree.Item(DMPUB_ORIENTATION).Sel, 2);
  EXPECT_TRUE(tree.Item(DMPUB_ORIENTATION).Flags & OPTIF_CHANGEONCE);
  // The current two-sided option is in conflict: it is listed, marked;
  // short edge, also in conflict, is not.
  const auto twoSided = d.Entries(kTwoSided);
  EXPECT_EQ(TextsOf(twoSided), (Texts{L"None", L"Flip on Long Efge"}));
  EXPECT_EQ(ImagesOf(twoSided), (Images{6, 15}));
  EXPECT_EQ(d.SelectedPosition(kTwoSided), 1);
  EXPECT_EQ(ImagesOf(d.Entries(kPageOrder)), (Images{17, 16}));
}

TEST(LayoutPage, OrientationChangeRelistsTheTwoSidedPictures) {
  LayoutTree tree = FullTree();
  tree.Item(DMPUB_DUPLEX).Sel = 1;
  LayoutPageDriver d;
  ASSERT_TRUE(d.Open(&tree));
  EXPECT_EQ(ImagesOf(d.Entries(kTwoSided)), (Images{6, 8, 10}));
  d.Choose(kOrientation, 1);
  EXPECT_EQ(ImagesOf(d.Entries(kTwoSided)), (Images{6, 12, 14}));
  EXPECT_EQ(d.SelectedPosition(kTwoSided), 1);
  d.Choose(kOrientation, 2);
  EXPECT_EQ(ImagesOf(d.Entries(kTwoSided)), (Images{6, 12, 14}));
  d.Choose(kOrientation, 0);
  EXPECT_EQ(ImagesOf(d.Entries(kTwoSided)), (Images{6, 8, 10}));
  EXPECT_TRUE(d.sheet.ApplyEnabled());
}

// ---- booklet and pages per sheet ----

TEST(LayoutPage, BookletWithTwoSidedNonePrintsOnShortEdgeAndNoneLeavesBooklet) {
  LayoutTree tree = FullTree();
  LayoutPageDriver d;
  ASSERT_TRUE(d.Open(&tree));
  d.Click(kBookletButton);
  EXPECT_EQ(tree.Item(DMPUB_NUP).Sel, 6);
  EXPECT_EQ(tree.Item(DMPUB_DUPLEX).Sel, 1);
  EXPECT_TRUE(tree.Item(DMPUB_DUPLEX).Flags & OPTIF_CHANGEONCE);
  EXPECT_EQ(d.SelectedPosition(kTwoSided), 1);
  EXPECT_FALSE(d.Enabled(kPagesPerSheet));
  EXPECT_EQ(d.SelectedPosition(kPagesPerSheet), 1);
  if (!kXpVariant) {
    EXPECT_FALSE(d.Enabled(kArrangement));
    EXPECT_TRUE(d.Enabled(kBindingEdge));
    EXPECT_TRUE(d.Enabled(kDrawBorders));
  }
  EXPECT_EQ(d.driver.UpdatesOf(DMPUB_NUP), 0u);  // the radio buttons leave it to apply

  d.Choose(kTwoSided, 0);
  EXPECT_EQ(tree.Item(DMPUB_DUPLEX).Sel, 0);
  EXPECT_EQ(tree.Item(DMPUB_NUP).Sel, 1);
  EXPECT_TRUE(d.Checked(kPagesPerSheetButton));
  EXPECT_FALSE(d.Checked(kBookletButton));
  EXPECT_TRUE(d.Enabled(kPagesPerSheet));
  EXPECT_EQ(d.SelectedPosition(kPagesPerSheet), 1);
  if (!kXpVariant) {
    EXPECT_TRUE(d.Enabled(kArrangement));
    EXPECT_FALSE(d.Enabled(kBindingEdge));
  }
}

TEST(LayoutPage, PagesPerSheetButtonLeavesBookletForTwoAndKeepsOtherCounts) {
  struct Case { LONG start; LONG after; };
  for (const Case& c : {Case{6, 1}, Case{3, 3}}) {
    LayoutTree tree = FullTree();
    tree.Item(DMPUB_NUP).Sel = c.start;
    LayoutPageDriver d;
    ASSERT_TRUE(d.Open(&tree));
    EXPECT_EQ(d.Checked(kBookletButton), c.start == 6);
    d.Click(kPagesPerSheetButton);
    EXPECT_EQ(tree.Item(DMPUB_NUP).Sel, c.after) << c.start;
    EXPECT_EQ(d.SelectedPosition(kPagesPerSheet), c.after) << c.start;
    EXPECT_TRUE(d.Enabled(kPagesPerSheet));
    EXPECT_TRUE(tree.Item(DMPUB_NUP).Flags & OPTIF_CHANGEONCE);
  }
}

TEST(LayoutPage, ABookletItemStartsWithTheBookletControls) {
  LayoutTree tree = FullTree();
  tree.Item(DMPUB_NUP).Sel = 6;
  tree.Item(DMPUB_NUP).Flags |= OPTIF_ECB_CHECKED;
  LayoutPageDriver d;
  ASSERT_TRUE(d.Open(&tree));
  EXPECT_TRUE(d.Checked(kBookletButton));
  EXPECT_FALSE(d.Checked(kPagesPerSheetButton));
  EXPECT_FALSE(d.Enabled(kPagesPerSheet));
  if (!kXpVariant) {
    EXPECT_TRUE(d.Enabled(kBindingEdge));
    EXPECT_FALSE(d.Enabled(kArrangement));
    EXPECT_TRUE(d.Checked(kDrawBorders));
    EXPECT_TRUE(d.Enabled(kDrawBorders));
  }
}

TEST(LayoutPage, BookletIsOfferedOnlyWhereTheItemsCanHoldIt) {
  struct Case {
    const char* what;
    WORD pagesPerSheetOptions;
    uint32_t pagesPerSheetConflicts;
    uint32_t twoSidedConflicts;
    bool offered;
  };
  const Case cases[] = {
      {"booklet option and short edge free", 7, 0, 0, true},
      {"six options: no booklet option", 6, 0, 0, false},
      {"booklet option in conflict", 7, 1u << 6, 0, false},
      {"short edge in conflict", 7, 0, 0b010, false},
  };
  for (const Case& c : cases) {
    LayoutTree tree({{DMPUB_ORIENTATION, 0, 3},
                     {DMPUB_DUPLEX, 0, 3, 0, c.twoSidedConflicts},
                     {DMPUB_PAGEORDER, 0, 2},
                     {DMPUB_NUP, 0, c.pagesPerSheetOptions, 0, c.pagesPerSheetConflicts}});
    LayoutPageDriver d;
    ASSERT_TRUE(d.Open(&tree)) << c.what;
    EXPECT_EQ(d.Enabled(kBookletButton), c.offered) << c.what;
    d.Click(kBookletButton);
    EXPECT_EQ(tree.Item(DMPUB_NUP).Sel, c.offered ? 6 : 0) << c.what;
    EXPECT_EQ(tree.Item(DMPUB_DUPLEX).Sel, c.offered ? 1 : 0) << c.what;
    EXPECT_EQ(d.SelectedPosition(kTwoSided), c.offered ? 1 : 0) << c.what;
    EXPECT_EQ((tree.Item(DMPUB_DUPLEX).Flags & OPTIF_CHANGEONCE) != 0, c.offered) << c.what;
  }
}

// The driver's locks hold against every user action, also where the
// control of the locked item is disabled and the action reaches the page
// as a bare notice: the locked item keeps its option, is never flagged,
// reported or committed, and the rules that move one item for another
// leave it alone. A lock that comes after the page's refresh leaves the
// radio buttons enabled: a refused click on one still shows the option the
// item holds.
TEST(LayoutPage, LockedItemsKeepTheirOptionsWhateverTheUserDoes) {
  enum class Action { kNothing, kBooklet, kTwoSidedNone, kPagesPerSheet };
  struct Row {
    const char* what;
    BYTE locked;  // 0: nothing locked
    bool changedBeforeLock;
    bool lockedAfterRefresh;
    LONG twoSidedStart, pagesStart;
    Action action;
    LONG twoSidedAfter, pagesAfter;
    std::vector<BYTE> updatesOnApply;  // the page's reports, then the commit
  };
  const Row rows[] = {
      {"nothing locked, Booklet", 0, false, false, 0, 0, Action::kBooklet, 1, 6,
       {DMPUB_DUPLEX, DMPUB_DUPLEX, DMPUB_DUPLEX, DMPUB_NUP}},
      {"two-sided locked, Booklet", DMPUB_DUPLEX, false, false, 0, 0, Action::kBooklet, 0, 0, {}},
      {"two-sided locked after the refresh, Booklet", DMPUB_DUPLEX, false, true, 0, 0,
       Action::kBooklet, 0, 0, {}},
      {"two-sided locked at short edge, None", DMPUB_DUPLEX, false, false, 1, 6,
       Action::kTwoSidedNone, 1, 6, {}},
      {"two-sided locked, Pages per Sheet leaves booklet", DMPUB_DUPLEX, false, false, 1, 6,
       Action::kPagesPerSheet, 1, 1, {DMPUB_NUP}},
      {"two-sided changed, then locked", DMPUB_DUPLEX, true, false, 2, 0, Action::kNothing, 2, 0,
       {}},
      {"pages per sheet locked, Booklet", DMPUB_NUP, false, false, 0, 0, Action::kBooklet, 0, 0,
       {}},
      {"pages per sheet locked after the refresh, Booklet", DMPUB_NUP, false, true, 0, 0,
       Action::kBooklet, 0, 0, {}},
      {"pages per sheet locked at booklet, two-sided None", DMPUB_NUP, false, false, 1, 6,
       Action::kTwoSidedNone, 1, 6, {}},
      {"pages per sheet locked at booklet, Pages per Sheet", DMPUB_NUP, false, false, 1, 6,
       Action::kPagesPerSheet, 1, 6, {}},
      {"pages per sheet locked at booklet after the refresh, Pages per Sheet", DMPUB_NUP, false,
       true, 1, 6, Action::kPagesPerSheet, 1, 6, {}},
  };
  for (const Row& row : rows) {
    LayoutTree tree = FullTree();
    tree.Item(DMPUB_DUPLEX).Sel = row.twoSidedStart;
    tree.Item(DMPUB_NUP).Sel = row.pagesStart;
    const auto lock = [&tree, &row] {
      tree.Item(row.locked).Flags |= OPTIF_DISABLED;
      if (row.changedBeforeLock) tree.Item(row.locked).Flags |= OPTIF_CHANGEONCE;
    };
    if (row.locked != 0 && !row.lockedAfterRefresh) lock();
    LayoutPageDriver d;
    ASSERT_TRUE(d.Open(&tree)) << row.what;
    if (row.locked != 0 && row.lockedAfterRefresh) lock();
    switch (row.action) {
      case Action::kNothing: break;
      case Action::kBooklet: d.Click(kBookletButton); break;
      case Action::kTwoSidedNone: d.Choose(kTwoSided, 0); break;
      case Action::kPagesPerSheet: d.Click(kPagesPerSheetButton); break;
    }
    EXPECT_EQ(tree.Item(DMPUB_DUPLEX).Sel, row.twoSidedAfter) << row.what;
    EXPECT_EQ(tree.Item(DMPUB_NUP).Sel, row.pagesAfter) << row.what;
    EXPECT_EQ(d.SelectedPosition(kTwoSided), row.twoSidedAfter) << row.what;
    EXPECT_EQ(d.Checked(kBookletButton), row.pagesAfter == 6) << row.what;
    EXPECT_EQ(d.Checked(kPagesPerSheetButton), row.pagesAfter != 6) << row.what;
    if (row.locked != 0) {
      EXPECT_EQ((tree.Item(row.locked).Flags & OPTIF_CHANGEONCE) != 0, row.changedBeforeLock)
          << row.what;
    }
    d.driver.updates.clear();
    ASSERT_TRUE(d.ApplyAndCommit(&tree)) << row.what;
    std::vector<BYTE> updates;
    for (const UpdateCall& call : d.driver.updates) updates.push_back(call.pubId);
    EXPECT_EQ(updates, row.updatesOnApply) << row.what;
  }
}

// ---- borders ----

#ifndef KORVAIN_XP_VARIANT
TEST(LayoutPage, BordersComeOnOncePerMoveFromOnePageToMore) {
  LayoutTree tree = FullTree();
  LayoutPageDriver d;
  ASSERT_TRUE(d.Open(&tree));
  OPTITEM& nup = tree.Item(DMPUB_NUP);
  EXPECT_FALSE(d.Enabled(kDrawBorders));
  EXPECT_FALSE(d.Checked(kDrawBorders));

  d.Choose(kPagesPerSheet, 1);
  EXPECT_TRUE(nup.Flags & OPTIF_ECB_CHECKED);
  EXPECT_TRUE(d.Checked(kDrawBorders));
  EXPECT_TRUE(d.Enabled(kDrawBorders));
  ASSERT_EQ(d.driver.UpdatesOf(DMPUB_NUP), 1u);
  EXPECT_EQ(d.driver.updates.back().sel, 1);
  EXPECT_EQ(d.driver.updates.back().previous, 0u);
  EXPECT_EQ(d.driver.updates.back().mode, static_cast<DWORD>(OEMCUIP_DOCPROP));
  EXPECT_EQ(d.driver.updates.back().poemuiobj, &d.uiObject);

  // The user's "off" stands while pages per sheet stays above 1.
  d.Click(kDrawBorders);
  EXPECT_FALSE(nup.Flags & OPTIF_ECB_CHECKED);
  d.Choose(kPagesPerSheet, 2);
  EXPECT_FALSE(nup.Flags & OPTIF_ECB_CHECKED);
  EXPECT_FALSE(d.Checked(kDrawBorders));

  // Back to 1 and up again: on once more.
  d.Choose(kPagesPerSheet, 0);
  EXPECT_FALSE(d.Enabled(kDrawBorders));
  EXPECT_FALSE(d.Checked(kDrawBorders));
  d.Choose(kPagesPerSheet, 3);
  EXPECT_TRUE(nup.Flags & OPTIF_ECB_CHECKED);
  EXPECT_TRUE(d.Checked(kDrawBorders));
  EXPECT_EQ(d.driver.UpdatesOf(DMPUB_NUP), 5u);  // four choices and one click
}

TEST(LayoutPage, TwoClicksOnBordersReportTwiceAndLeaveTheFlag) {
  for (bool startChecked : {false, true}) {
    LayoutTree tree = FullTree();
    tree.Item(DMPUB_NUP).Sel = 2;
    if (startChecked) tree.Item(DMPUB_NUP).Flags |= OPTIF_ECB_CHECKED;
    LayoutPageDriver d;
    ASSERT_TRUE(d.Open(&tree));
    ASSERT_TRUE(d.Enabled(kDrawBorders));
    EXPECT_EQ(d.Checked(kDrawBorders), startChecked);
    d.Click(kDrawBorders);
    EXPECT_EQ((tree.Item(DMPUB_NUP).Flags & OPTIF_ECB_CHECKED) != 0, !startChecked);
    d.Click(kDrawBorders);
    EXPECT_EQ((tree.Item(DMPUB_NUP).Flags & OPTIF_ECB_CHECKED) != 0, startChecked);
    EXPECT_EQ(d.driver.UpdatesOf(DMPUB_NUP), 2u) << startChecked;
  }
}

TEST(LayoutPage, BookletTurnsBordersOnByDefault) {
  LayoutTree tree = FullTree();
  LayoutPageDriver d;
  ASSERT_TRUE(d.Open(&tree));
  d.Click(kBookletButton);
  EXPECT_TRUE(tree.Item(DMPUB_NUP).Flags & OPTIF_ECB_CHECKED);
  EXPECT_TRUE(d.Checked(kDrawBorders));
  d.Click(kPagesPerSheetButton);  // booklet becomes 2: already defaulted
  EXPECT_TRUE(d.Checked(kDrawBorders));
}

TEST(LayoutPage, ControlsOfDisabledItemsStayOffThroughEveryChange) {
  LayoutTree tree = FullTree();
  tree.Item(DMPUB_NUP_DIRECTION).Flags |= OPTIF_DISABLED;
  tree.Item(DMPUB_BOOKLET_EDGE).Flags |= OPTIF_DISABLED;
  LayoutPageDriver d;
  ASSERT_TRUE(d.Open(&tree));
  const auto expectLocked = [&d](const char* step) {
    for (int control : {kArrangement, kArrangementLabel, kBindingEdge, kBindingEdgeLabel}) {
      EXPECT_FALSE(d.Enabled(control)) << control << " after " << step;
    }
  };
  expectLocked("the refresh");
  d.Click(kBookletButton);
  expectLocked("booklet");
  d.Click(kPagesPerSheetButton);
  expectLocked("pages per sheet");
  d.Click(kBookletButton);
  d.Choose(kTwoSided, 0);
  expectLocked("two-sided none leaving booklet");
  d.Choose(kPagesPerSheet, 3);
  expectLocked("six pages per sheet");
  d.Revisit();
  expectLocked("the next refresh");
  ASSERT_TRUE(d.sheet.PressApply());
  for (BYTE pubId : {BYTE{DMPUB_NUP_DIRECTION}, BYTE{DMPUB_BOOKLET_EDGE}}) {
    EXPECT_EQ(tree.Item(pubId).Flags & OPTIF_CHANGEONCE, 0u) << int{pubId};
    EXPECT_EQ(d.driver.UpdatesOf(pubId), 0u) << int{pubId};
  }

  // The borders box edits the pages-per-sheet item: off while it is disabled.
  LayoutTree lockedPages = FullTree();
  lockedPages.Item(DMPUB_NUP).Sel = 2;
  lockedPages.Item(DMPUB_NUP).Flags |= OPTIF_DISABLED | OPTIF_ECB_CHECKED;
  LayoutPageDriver e;
  ASSERT_TRUE(e.Open(&lockedPages));
  EXPECT_FALSE(e.Enabled(kDrawBorders));
  EXPECT_FALSE(e.Enabled(kPagesPerSheet));
  EXPECT_TRUE(e.Checked(kDrawBorders));
}
#endif

#ifdef KORVAIN_XP_VARIANT
TEST(LayoutPage, XpVariantNeverTouchesArrangementOrBindingEdge) {
  LayoutTree tree = FullTree();
  tree.Item(DMPUB_NUP_DIRECTION).Sel = 2;
  LayoutPageDriver d;
  ASSERT_TRUE(d.Open(&tree));
  d.Choose(kArrangement, 0);
  d.Choose(kBindingEdge, 0);
  d.Click(kBookletButton);
  d.Choose(kTwoSided, 0);
  EXPECT_EQ(tree.Item(DMPUB_NUP_DIRECTION).Sel, 2);
  EXPECT_EQ(tree.Item(DMPUB_NUP_DIRECTION).Flags, 0u);
  EXPECT_EQ(tree.Item(DMPUB_BOOKLET_EDGE).Flags, 0u);
  // Pages per sheet changes are the sheet's to apply.
  d.Choose(kPagesPerSheet, 3);
  EXPECT_EQ(tree.Item(DMPUB_NUP).Sel, 3);
  EXPECT_EQ(d.driver.UpdatesOf(DMPUB_NUP), 0u);
  EXPECT_FALSE(tree.Item(DMPUB_NUP).Flags & OPTIF_ECB_CHECKED);
}
#endif

// ---- apply, leaving, driver states ----

TEST(LayoutPage, ApplyAndLeavingReportChangedOrientationAndTwoSidedOutsideConflict) {
  LayoutTree tree({{DMPUB_ORIENTATION, 0, 3},
                   {DMPUB_DUPLEX, 0, 3, 0, 0b100},
                   {DMPUB_PAGEORDER, 0, 2},
                   {DMPUB_NUP, 0, 7}});
  LayoutPageDriver d;
  ASSERT_TRUE(d.Open(&tree));
  d.Choose(kOrientation, 1);
  d.Choose(kPageOrder, 1);
  EXPECT_TRUE(d.driver.updates.empty());
  // Apply leaves the current page first: PSN_KILLACTIVE, then PSN_APPLY.
  ASSERT_TRUE(d.sheet.PressApply());
  ASSERT_EQ(d.driver.updates.size(), 2u);
  for (const UpdateCall& call : d.driver.updates) {
    EXPECT_EQ(call.pubId, DMPUB_ORIENTATION);
    EXPECT_EQ(call.sel, 1);
    EXPECT_EQ(call.previous, 0u);
    EXPECT_EQ(call.poemuiobj, &d.uiObject);
  }
  // The flag stays: leaving the page reports it again.
  d.sheet.SelectPage(1);
  EXPECT_EQ(d.driver.UpdatesOf(DMPUB_ORIENTATION), 3u);
  // A two-sided option in conflict is kept in the item but not reported.
  tree.Item(DMPUB_DUPLEX).Sel = 2;
  tree.Item(DMPUB_DUPLEX).Flags |= OPTIF_CHANGEONCE;
  ASSERT_TRUE(d.sheet.PressApply());
  EXPECT_EQ(d.driver.UpdatesOf(DMPUB_DUPLEX), 0u);
}

TEST(LayoutPage, RefreshFollowsChangesMadeElsewhereAndTheDriversDisabledFlags) {
  LayoutTree tree = FullTree();
  tree.Item(DMPUB_ORIENTATION).Flags |= OPTIF_DISABLED;
  tree.Item(DMPUB_NUP).Flags |= OPTIF_DISABLED;
  LayoutPageDriver d;
  ASSERT_TRUE(d.Open(&tree));
  EXPECT_FALSE(d.Enabled(kOrientation));
  EXPECT_FALSE(d.Enabled(kOrientationLabel));
  EXPECT_FALSE(d.Enabled(kPagesPerSheet));
  EXPECT_FALSE(d.Enabled(kPagesPerSheetButton));
  // The driver enables the items again and another page changes them.
  tree.Item(DMPUB_ORIENTATION).Flags &= ~OPTIF_DISABLED;
  tree.Item(DMPUB_NUP).Flags &= ~OPTIF_DISABLED;
  tree.Item(DMPUB_ORIENTATION).Sel = 2;
  tree.Item(DMPUB_NUP).Sel = 4;
  d.Revisit();
  EXPECT_TRUE(d.Enabled(kOrientation));
  EXPECT_TRUE(d.Enabled(kPagesPerSheet));
  EXPECT_TRUE(d.Enabled(kPagesPerSheetButton));
  EXPECT_EQ(d.SelectedPosition(kOrientation), 2);
  EXPECT_EQ(d.SelectedPosition(kPagesPerSheet), 4);
}

// The orientation list refuses the entry of option 0, as a list control
// may when memory runs short.
LRESULT CALLBACK RefusePortrait(HWND list, UINT message, WPARAM wParam, LPARAM lParam) {
  const auto original = reinterpret_cast<WNDPROC>(GetPropW(list, L"original"));
  if (message == CBEM_INSERTITEMW && reinterpret_cast<const COMBOBOXEXITEMW*>(lParam)->lParam == 0)
    return -1;
  return CallWindowProcW(original, list, message, wParam, lParam);
}

// The refill that meets the refusal comes from the driver: rotated
// landscape is no longer in conflict.
TEST(LayoutPage, ARefusedEntryLeavesTheLaterOnesListed) {
  LayoutTree tree({{DMPUB_ORIENTATION, 1, 3, 0, 0b100}, {DMPUB_DUPLEX, 0, 3},
                   {DMPUB_PAGEORDER, 0, 2}, {DMPUB_NUP, 0, 7}});
  LayoutPageDriver d;
  ASSERT_TRUE(d.Open(&tree));
  ASSERT_EQ(TextsOf(d.Entries(kOrientation)), (Texts{L"Portrait", L"Landscape"}));
  HWND list = GetDlgItem(d.page(), kOrientation);
  SetPropW(list, L"original", reinterpret_cast<HANDLE>(GetWindowLongPtrW(list, GWLP_WNDPROC)));
  SetWindowLongPtrW(list, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&RefusePortrait));
  tree.Item(DMPUB_ORIENTATION).pOptType->pOptParam[2].Flags = 0;
  d.Revisit();
  const auto entries = d.Entries(kOrientation);
  EXPECT_EQ(TextsOf(entries), (Texts{L"Landscape", L"Rotated Landscape"}));
  EXPECT_EQ(d.SelectedPosition(kOrientation), 0);
  SetWindowLongPtrW(list, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(GetPropW(list, L"original")));
  RemovePropW(list, L"original");
}

// Counts the times each list is emptied, has its entries read back, and is
// told to cancel a mode (what disabling a window sends it).
struct ListCounts {
  WNDPROC original = nullptr;
  int resets = 0;
  int readBacks = 0;
  int cancels = 0;
};
std::map<HWND, ListCounts> g_listCounts;

LRESULT CALLBACK CountResets(HWND list, UINT message, WPARAM wParam, LPARAM lParam) {
  ListCounts& counts = g_listCounts[list];
  if (message == CB_RESETCONTENT) ++counts.resets;
  if (message == CB_GETITEMDATA || message == CBEM_GETITEMW) ++counts.readBacks;
  if (message == WM_CANCELMODE) ++counts.cancels;
  return CallWindowProcW(counts.original, list, message, wParam, lParam);
}

// A refresh leaves a list alone while its entries stay what they were,
// and still selects the item's current option in it. What the page filled
// in itself it does not read back, and a list already disabled is not
// disabled again.
TEST(LayoutPage, RefreshRefillsOnlyTheListsWhoseEntriesChanged) {
  LayoutTree tree = FullTree();
  tree.Item(DMPUB_DUPLEX).Sel = 1;
  LayoutPageDriver d;
  ASSERT_TRUE(d.Open(&tree));
  const int lists[] = {kOrientation, kTwoSided, kPageOrder, kPagesPerSheet, kArrangement,
                       kBindingEdge};
  for (int id : lists) {
    HWND list = GetDlgItem(d.page(), id);
    g_listCounts[list].original = reinterpret_cast<WNDPROC>(
        SetWindowLongPtrW(list, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&CountResets)));
  }
  // Another page turns the sheet and changes the counts; only the
  // two-sided pictures follow the orientation.
  tree.Item(DMPUB_ORIENTATION).Sel = 1;
  tree.Item(DMPUB_NUP).Sel = 3;
  tree.Item(DMPUB_PAGEORDER).Sel = 1;
  d.Revisit();
  for (int id : lists) {
    const ListCounts& counts = g_listCounts[GetDlgItem(d.page(), id)];
    EXPECT_EQ(counts.resets, id == kTwoSided ? 1 : 0) << id;
    EXPECT_EQ(counts.readBacks, 0) << id;
    EXPECT_EQ(counts.cancels, 0) << id;
  }
  // Without booklets the binding edge is off; the variant for the oldest
  // systems shows no binding edge at all.
  if (kXpVariant) {
    EXPECT_FALSE(d.Visible(kBindingEdge));
  } else {
    EXPECT_FALSE(d.Enabled(kBindingEdge));
  }
  EXPECT_EQ(ImagesOf(d.Entries(kTwoSided)), (Images{6, 12, 14}));
  EXPECT_EQ(d.SelectedPosition(kTwoSided), 1);
  EXPECT_EQ(d.SelectedPosition(kOrientation), 1);
  EXPECT_EQ(d.SelectedPosition(kPagesPerSheet), 3);
  EXPECT_EQ(d.SelectedPosition(kPageOrder), 1);
  for (auto& [list, counted] : g_listCounts)
    SetWindowLongPtrW(list, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(counted.original));
  g_listCounts.clear();
}

TEST(LayoutPage, RefreshOfDisabledItemsAllocatesNothing) {
  LayoutTree tree = FullTree();
  tree.Item(DMPUB_ORIENTATION).Flags |= OPTIF_DISABLED;
  tree.Item(DMPUB_NUP).Flags |= OPTIF_DISABLED;
  LayoutPageDriver d;
  ASSERT_TRUE(d.Open(&tree));
  {
    NextAllocationFails noMemory(d.sheet.plugin.module);
    ASSERT_TRUE(noMemory.Installed());
    d.Revisit();
    EXPECT_FALSE(noMemory.Consumed()) << "the refresh asked for memory";
  }
  EXPECT_FALSE(d.Enabled(kOrientation));
  EXPECT_FALSE(d.Enabled(kPagesPerSheet));
  EXPECT_EQ(d.Entries(kOrientation).size(), 3u);
}

TEST(LayoutPage, ItemsWithoutOptionTypeKeepTheirListsAndIgnoreChoices) {
  LayoutTree tree({{DMPUB_ORIENTATION, 1, 3, 0, 0, true},
                   {DMPUB_DUPLEX, 0, 3},
                   {DMPUB_PAGEORDER, 0, 2},
                   {DMPUB_NUP, 0, 7, 0, 0, true}});
  LayoutPageDriver d;
  ASSERT_TRUE(d.Open(&tree));
  EXPECT_TRUE(d.Entries(kOrientation).empty());
  EXPECT_TRUE(d.Entries(kPagesPerSheet).empty());
  d.Choose(kOrientation, 0);
  d.Click(kBookletButton);
  EXPECT_EQ(tree.Item(DMPUB_ORIENTATION).Sel, 1);
  EXPECT_EQ(tree.Item(DMPUB_NUP).Sel, 0);
  EXPECT_EQ(tree.Item(DMPUB_NUP).Flags, 0u);
  EXPECT_FALSE(d.sheet.ApplyEnabled());
}

TEST(LayoutPage, NullOrEmptyItemArraysLeaveThePageQuiet) {
  for (bool empty : {false, true}) {
    LayoutTree tree({});
    LayoutPageDriver d;
    ASSERT_TRUE(d.Open(empty ? &tree : nullptr));
    EXPECT_FALSE(d.Enabled(kPageOrder));
    EXPECT_TRUE(d.Entries(kOrientation).empty());
    d.Choose(kOrientation, 0);
    d.Click(kBookletButton);
    d.Click(kPagesPerSheetButton);
    ASSERT_TRUE(d.sheet.PressApply());
    EXPECT_TRUE(d.driver.updates.empty());
  }
}

TEST(LayoutPage, WithoutDriverHelperChoicesAreIgnored) {
  LayoutTree tree = FullTree();
  LayoutPageDriver d;
  ASSERT_TRUE(d.Open(&tree, false));
  EXPECT_EQ(d.Entries(kOrientation).size(), 3u);  // the lists still show
  d.Choose(kOrientation, 1);
  d.Click(kBookletButton);
  EXPECT_EQ(tree.Item(DMPUB_ORIENTATION).Sel, 0);
  EXPECT_EQ(tree.Item(DMPUB_NUP).Sel, 0);
  EXPECT_TRUE(d.sheet.PressApply());
}

TEST(LayoutPage, ProcedureWithoutContextDoesNothing) {
  LayoutTree tree = FullTree();
  LayoutPageDriver d;
  ASSERT_TRUE(d.Open(&tree));
  const LONG_PTR context = GetWindowLongPtrW(d.page(), DWLP_USER);
  ASSERT_NE(context, 0);
  SetWindowLongPtrW(d.page(), DWLP_USER, 0);
  d.Choose(kOrientation, 2);
  EXPECT_EQ(tree.Item(DMPUB_ORIENTATION).Sel, 0);
  SetWindowLongPtrW(d.page(), DWLP_USER, context);
}

}  // namespace
