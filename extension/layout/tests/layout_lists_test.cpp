// The entries of the Layout page's lists: bounds, pictures and the options
// in conflict that are left out.
#include <gtest/gtest.h>

#include <vector>

#include "layout_lists.h"

namespace {

std::vector<ListEntry> Entries(LayoutList list, int32_t count, int32_t sel, uint32_t conflicts,
                               int32_t orientationSel = 0) {
  ListSource source;
  source.count = count;
  source.sel = sel;
  source.conflicts = conflicts;
  source.orientationSel = orientationSel;
  ListEntry entries[kMaxListEntries];
  const size_t used = BuildListEntries(list, source, entries);
  return std::vector<ListEntry>(entries, entries + used);
}

std::vector<int> Options(const std::vector<ListEntry>& entries) {
  std::vector<int> options;
  for (const ListEntry& e : entries) options.push_back(e.option);
  return options;
}
std::vector<int> Images(const std::vector<ListEntry>& entries) {
  std::vector<int> images;
  for (const ListEntry& e : entries) images.push_back(e.image);
  return images;
}
std::vector<int> Texts(const std::vector<ListEntry>& entries) {
  std::vector<int> texts;
  for (const ListEntry& e : entries) texts.push_back(e.textId);
  return texts;
}

TEST(LayoutLists, BoundsCutLongItemsAndNeverGoNegative) {
  struct Case { LayoutList list; int32_t most; int firstText; };
  const Case cases[] = {
      {LayoutList::kOrientation, 3, 11060}, {LayoutList::kTwoSided, 3, 11065},
      {LayoutList::kPageOrder, 2, 11070},   {LayoutList::kPagesPerSheet, 6, 11080},
      {LayoutList::kArrangement, 4, 11090}, {LayoutList::kBindingEdge, 2, 11095},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(ListBound(c.list, c.most + 1), c.most);
    EXPECT_EQ(ListBound(c.list, 100), c.most);
    EXPECT_EQ(ListBound(c.list, 1), 1);
    EXPECT_EQ(ListBound(c.list, 0), 0);
    EXPECT_EQ(ListBound(c.list, -3), 0);
    const auto entries = Entries(c.list, c.most + 1, 0, 0);
    ASSERT_EQ(entries.size(), static_cast<size_t>(c.most));
    for (int32_t k = 0; k < c.most; ++k) {
      EXPECT_EQ(entries[k].option, k);
      EXPECT_EQ(entries[k].textId, c.firstText + k);
    }
    EXPECT_TRUE(Entries(c.list, 0, 0, 0).empty());
  }
}

TEST(LayoutLists, OrientationPicturesAndConflicts) {
  EXPECT_EQ(Images(Entries(LayoutList::kOrientation, 3, 0, 0)), (std::vector<int>{0, 2, 4}));
  // Landscape is ruled out and not current: it is left out, and the
  // entry after it keeps its own option.
  const auto gap = Entries(LayoutList::kOrientation, 3, 0, 0b010);
  EXPECT_EQ(Options(gap), (std::vector<int>{0, 2}));
  EXPECT_EQ(Images(gap), (std::vector<int>{0, 4}));
  EXPECT_EQ(Texts(gap), (std::vector<int>{11060, 11062}));
  // The current option is listed, with the warning picture, even in conflict;
  // another option in conflict is not.
  const auto current = Entries(LayoutList::kOrientation, 3, 1, 0b110);
  EXPECT_EQ(Options(current), (std::vector<int>{0, 1}));
  EXPECT_EQ(Images(current), (std::vector<int>{0, 3}));
}

TEST(LayoutLists, TwoSidedPicturesFollowTheOrientation) {
  struct Case { int32_t orientation; std::vector<int> images; };
  const Case cases[] = {{0, {6, 8, 10}}, {1, {6, 12, 14}}, {2, {6, 12, 14}}};
  for (const Case& c : cases) {
    EXPECT_EQ(Images(Entries(LayoutList::kTwoSided, 3, 0, 0, c.orientation)), c.images)
        << c.orientation;
  }
  const auto warned = Entries(LayoutList::kTwoSided, 3, 2, 0b100, 1);
  EXPECT_EQ(Images(warned), (std::vector<int>{6, 12, 15}));
  EXPECT_EQ(TwoSidedImage(0, 1, true), 7);
  EXPECT_EQ(TwoSidedImage(1, 0, true), 9);
  const auto noneHidden = Entries(LayoutList::kTwoSided, 3, 2, 0b001, 0);
  EXPECT_EQ(Options(noneHidden), (std::vector<int>{1, 2}));
}

TEST(LayoutLists, PageOrderListsEveryOptionAndMarksConflicts) {
  const auto entries = Entries(LayoutList::kPageOrder, 2, 0, 0b10);
  EXPECT_EQ(Options(entries), (std::vector<int>{0, 1}));
  EXPECT_EQ(Images(entries), (std::vector<int>{kBlankImage, kWarningImage}));
}

TEST(LayoutLists, PlainListsIgnoreConflictsAndHaveNoPictures) {
  for (LayoutList list :
       {LayoutList::kPagesPerSheet, LayoutList::kArrangement, LayoutList::kBindingEdge}) {
    const auto entries = Entries(list, 7, 0, 0xFFFFFFFFu);
    ASSERT_FALSE(entries.empty());
    for (const ListEntry& e : entries) EXPECT_EQ(e.image, kNoImage);
    EXPECT_EQ(entries.back().option, static_cast<int32_t>(entries.size()) - 1);
  }
}

}  // namespace
