// The preview's picture choice, checked against tables of picture ids
// written out by hand, over every input in and beyond range, in both
// variants.
#include <gtest/gtest.h>

#include <iterator>
#include <set>
#include <sstream>
#include <string>

#include "preview_selection.h"

namespace {

constexpr LayoutVariant kVista = LayoutVariant::kVistaAndLater;
constexpr LayoutVariant kXp = LayoutVariant::kXp;

std::string Describe(const PreviewInputs& in, LayoutVariant variant) {
  std::ostringstream text;
  text << "col " << in.col << " ori " << in.ori << " dup " << in.dup << " nup " << in.nup
       << " dir " << in.dir << " edge " << in.edge << (variant == kXp ? " (XP)" : "");
  return text.str();
}

// Every bitmap the library carries.
std::set<int> StoredPictures() {
  std::set<int> ids;
  for (int base : {12101, 12151, 12201, 12251}) {
    const bool portrait = base == 12101 || base == 12201;
    for (int offset = 0; offset <= 25; ++offset) {
      if (offset >= 1 && offset <= 3) continue;
      if (offset == 6 || offset == 7) continue;
      if (offset == 5 && !portrait) continue;
      ids.insert(base + offset);
    }
  }
  for (int nup = 0; nup <= 5; ++nup) {
    for (int id : {12301, 12302, 12321, 12322}) ids.insert(id + 3 * nup);
  }
  return ids;
}

// The main pictures written out by hand, one block per family (colour
// portrait, colour landscape, greyscale portrait, greyscale landscape): a
// row per page count from 1 to 16 pages per sheet, a column per
// arrangement (right then down, down then right, left then down, down then
// left). Landscape pages have one two-page picture for every arrangement.
constexpr int kMainPictures[4][6][4] = {
    {{12101, 12101, 12101, 12101},
     {12105, 12105, 12106, 12106},
     {12109, 12110, 12111, 12112},
     {12113, 12114, 12115, 12116},
     {12117, 12118, 12119, 12120},
     {12121, 12122, 12123, 12124}},
    {{12151, 12151, 12151, 12151},
     {12155, 12155, 12155, 12155},
     {12159, 12160, 12161, 12162},
     {12163, 12164, 12165, 12166},
     {12167, 12168, 12169, 12170},
     {12171, 12172, 12173, 12174}},
    {{12201, 12201, 12201, 12201},
     {12205, 12205, 12206, 12206},
     {12209, 12210, 12211, 12212},
     {12213, 12214, 12215, 12216},
     {12217, 12218, 12219, 12220},
     {12221, 12222, 12223, 12224}},
    {{12251, 12251, 12251, 12251},
     {12255, 12255, 12255, 12255},
     {12259, 12260, 12261, 12262},
     {12263, 12264, 12265, 12266},
     {12267, 12268, 12269, 12270},
     {12271, 12272, 12273, 12274}},
};

// The booklets of each family: bound on the left edge, on the right edge.
constexpr int kBooklets[4][2] = {
    {12125, 12126}, {12175, 12176}, {12225, 12226}, {12275, 12276}};

// The overlays written out by hand: portrait pages, then landscape (or
// rotated landscape) pages; a row per page count from 1 to 16 pages per
// sheet; the short-edge flip, then the long-edge flip.
constexpr int kOverlays[2][6][2] = {
    {{12302, 12301},
     {12304, 12305},
     {12308, 12307},
     {12310, 12311},
     {12314, 12313},
     {12317, 12316}},
    {{12321, 12322},
     {12325, 12324},
     {12327, 12328},
     {12331, 12330},
     {12333, 12334},
     {12336, 12337}},
};

// Which block of the tables the colour and orientation items choose; -1
// for values the items never take.
int Family(const PreviewInputs& in) {
  if (in.col < 0 || in.col > 1 || in.ori < 0 || in.ori > 2) return -1;
  const int landscape = in.ori == 0 ? 0 : 1;
  return in.col == 1 ? landscape : 2 + landscape;
}

// The main picture read from the tables. Values beyond the items' ranges:
// an unknown colour or orientation shows the colour portrait single page;
// an unknown page count, or an unknown arrangement of 4 pages per sheet or
// more, shows nothing; two pages per sheet take the rightward picture for
// arrangements below 2 and the leftward one above; a booklet edge other
// than 0 is the right edge. The XP variant reads no arrangement or edge.
int ExpectedMain(const PreviewInputs& in, LayoutVariant variant) {
  const int family = Family(in);
  if (family < 0) return 12101;
  const bool xp = variant == kXp;
  if (in.nup == 6) return kBooklets[family][xp || in.edge == 0 ? 0 : 1];
  if (in.nup < 0 || in.nup > 5) return 0;
  int column = 0;
  if (xp || in.nup == 0) {
    column = 0;
  } else if (in.nup == 1) {
    column = in.dir >= 2 ? 3 : 0;
  } else if (in.dir >= 0 && in.dir <= 3) {
    column = in.dir;
  } else {
    return 0;
  }
  return kMainPictures[family][in.nup][column];
}

// The overlay read from its table: none for one-sided printing, booklets,
// or values the items never take.
int ExpectedOverlay(const PreviewInputs& in) {
  if (in.dup != 1 && in.dup != 2) return 0;
  if (in.ori < 0 || in.ori > 2 || in.nup < 0 || in.nup > 5) return 0;
  return kOverlays[in.ori == 0 ? 0 : 1][in.nup][in.dup - 1];
}

TEST(PreviewSelection, EveryInputInAndBeyondRangeFollowsTheTables) {
  const std::set<int> stored = StoredPictures();
  ASSERT_EQ(stored.size(), 106u);
  // The hand-written tables and the list of stored bitmaps are two
  // writings of the same library: between them they name every bitmap once.
  std::set<int> tabled;
  for (const auto& family : kMainPictures)
    for (const auto& row : family) tabled.insert(std::begin(row), std::end(row));
  for (const auto& family : kBooklets) tabled.insert(std::begin(family), std::end(family));
  for (const auto& orientation : kOverlays)
    for (const auto& row : orientation) tabled.insert(std::begin(row), std::end(row));
  ASSERT_EQ(tabled, stored);
  size_t checked = 0;
  for (LayoutVariant variant : {kVista, kXp}) {
    PreviewInputs in;
    for (in.col = -1; in.col <= 3; ++in.col)
      for (in.ori = -1; in.ori <= 4; ++in.ori)
        for (in.dup = -1; in.dup <= 3; ++in.dup)
          for (in.nup = -1; in.nup <= 8; ++in.nup)
            for (in.dir = -1; in.dir <= 5; ++in.dir)
              for (in.edge = -1; in.edge <= 2; ++in.edge) {
                const PreviewPictures got = SelectPreviewPictures(&in, variant);
                const int main = ExpectedMain(in, variant);
                const int overlay = ExpectedOverlay(in);
                ASSERT_EQ(got.mainId, main) << Describe(in, variant);
                ASSERT_EQ(got.overlayId, overlay) << Describe(in, variant);
                // The rule never names a picture the library lacks.
                if (got.mainId != 0) {
                  ASSERT_TRUE(stored.count(got.mainId)) << Describe(in, variant);
                }
                if (got.overlayId != 0) {
                  ASSERT_TRUE(stored.count(got.overlayId)) << Describe(in, variant);
                }
                ++checked;
              }
  }
  EXPECT_EQ(checked, 2u * 5 * 6 * 5 * 10 * 7 * 4);
}

TEST(PreviewSelection, EveryStoredPictureIsReachable) {
  std::set<int> reached;
  for (LayoutVariant variant : {kVista, kXp}) {
    PreviewInputs in;
    for (in.col = 0; in.col <= 1; ++in.col)
      for (in.ori = 0; in.ori <= 2; ++in.ori)
        for (in.dup = 0; in.dup <= 2; ++in.dup)
          for (in.nup = 0; in.nup <= 6; ++in.nup)
            for (in.dir = 0; in.dir <= 3; ++in.dir)
              for (in.edge = 0; in.edge <= 1; ++in.edge) {
                const PreviewPictures got = SelectPreviewPictures(&in, variant);
                reached.insert(got.mainId);
                if (got.overlayId != 0) reached.insert(got.overlayId);
              }
  }
  EXPECT_EQ(reached, StoredPictures());
}

struct Example {
  const char* what;
  PreviewInputs in;
  LayoutVariant variant;
  int main;
  int overlay;
};

PreviewInputs In(int col, int ori, int dup, int nup, int dir, int edge) {
  PreviewInputs in;
  in.col = col; in.ori = ori; in.dup = dup; in.nup = nup; in.dir = dir; in.edge = edge;
  return in;
}

TEST(PreviewSelection, WorkedExamplesAndEdgeCases) {
  const Example examples[] = {
      {"colour portrait 4-up down/left long edge", In(1, 0, 2, 2, 3, 0), kVista, 12112, 12307},
      {"grey landscape 2-up short edge", In(0, 1, 1, 1, 0, 0), kVista, 12255, 12325},
      {"colour portrait booklet right", In(1, 0, 0, 6, 0, 1), kVista, 12126, 0},
      {"colour portrait booklet right, XP", In(1, 0, 0, 6, 0, 1), kXp, 12125, 0},
      {"booklet never has an overlay", In(1, 0, 2, 6, 0, 0), kVista, 12125, 0},
      {"no colour item: greyscale", In(0, 0, 0, 0, 0, 0), kVista, 12201, 0},
      {"colour 2", In(2, 0, 1, 2, 1, 0), kVista, 12101, 12302 + 6},
      {"orientation 3: no overlay", In(1, 3, 1, 2, 1, 0), kVista, 12101, 0},
      {"2-up portrait right/down", In(1, 0, 0, 1, 0, 0), kVista, 12105, 0},
      {"2-up portrait down/right", In(1, 0, 0, 1, 1, 0), kVista, 12105, 0},
      {"2-up portrait left/down", In(1, 0, 0, 1, 2, 0), kVista, 12106, 0},
      {"2-up portrait down/left", In(1, 0, 0, 1, 3, 0), kVista, 12106, 0},
      {"2-up landscape down/left", In(1, 1, 0, 1, 3, 0), kVista, 12155, 0},
      {"2-up rotated landscape left/down", In(1, 2, 0, 1, 2, 0), kVista, 12155, 0},
      {"6-up portrait long edge", In(1, 0, 2, 3, 0, 0), kVista, 12113, 12311},
      {"4-up XP ignores the arrangement", In(1, 0, 0, 2, 3, 0), kXp, 12109, 0},
      {"16-up grey landscape left/down", In(0, 2, 0, 5, 2, 0), kVista, 12251 + 22, 0},
      {"1-up portrait short edge binds on top", In(1, 0, 1, 0, 0, 0), kVista, 12101, 12302},
      {"1-up landscape short edge binds left", In(1, 1, 1, 0, 0, 0), kVista, 12151, 12321},
      {"arrangement 4 names no picture", In(1, 0, 0, 2, 4, 0), kVista, 0, 0},
      {"2-up portrait arrangement 7 still 2-up", In(1, 0, 0, 1, 7, 0), kVista, 12106, 0},
      {"2-up landscape arrangement -1 still 2-up", In(0, 1, 2, 1, -1, 0), kVista, 12255, 12321 + 3},
      {"page count 7 names no picture", In(1, 0, 1, 7, 0, 0), kVista, 0, 0},
  };
  for (const Example& e : examples) {
    const PreviewPictures got = SelectPreviewPictures(&e.in, e.variant);
    EXPECT_EQ(got.mainId, e.main) << e.what;
    EXPECT_EQ(got.overlayId, e.overlay) << e.what;
  }
}

TEST(PreviewSelection, WithoutItemArrayTheColourSinglePage) {
  for (LayoutVariant variant : {kVista, kXp}) {
    const PreviewPictures got = SelectPreviewPictures(nullptr, variant);
    EXPECT_EQ(got.mainId, 12101);
    EXPECT_EQ(got.overlayId, 0);
  }
}

struct FakeItem {
  uint8_t DMPubID;
  long Sel;
};

TEST(PreviewInputsReading, LastItemOfAnIdCountsAndXpSkipsArrangementAndEdge) {
  const FakeItem items[] = {{6, 1}, {1, 2}, {7, 1}, {16, 3}, {18, 2}, {21, 1},
                            {6, 0}, {99, 5}, {1, 1}};
  const PreviewInputs vista = ReadPreviewInputs(items, 9, kVista);
  EXPECT_EQ(vista.col, 0);
  EXPECT_EQ(vista.ori, 1);
  EXPECT_EQ(vista.dup, 1);
  EXPECT_EQ(vista.nup, 3);
  EXPECT_EQ(vista.dir, 2);
  EXPECT_EQ(vista.edge, 1);
  const PreviewInputs xp = ReadPreviewInputs(items, 9, kXp);
  EXPECT_EQ(xp.dir, 0);
  EXPECT_EQ(xp.edge, 0);
  EXPECT_EQ(xp.nup, 3);
}

TEST(PreviewInputsReading, EmptyOrNullArrayReadsZeros) {
  const FakeItem items[] = {{6, 1}};
  for (const PreviewInputs& in :
       {ReadPreviewInputs(items, 0, kVista), ReadPreviewInputs<FakeItem>(nullptr, 5, kVista)}) {
    EXPECT_EQ(in.col, 0);
    EXPECT_EQ(in.ori, 0);
    EXPECT_EQ(in.nup, 0);
  }
  const PreviewInputs empty = ReadPreviewInputs(items, 0, kVista);
  EXPECT_EQ(SelectPreviewPictures(&empty, kVista).mainId, 12201);
}

}  // namespace
