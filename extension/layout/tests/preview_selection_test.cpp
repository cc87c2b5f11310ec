// The preview's picture choice, checked against the rule in its table form
// over every input in and beyond range, in both variants.
#include <gtest/gtest.h>

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

// The main picture as the offset table reads: one page, two pages left to
// right (right to left for the two leftward arrangements of portrait
// pages), then four arrangements per page count, then the two booklets.
int ExpectedMain(const PreviewInputs& in, LayoutVariant variant) {
  if (in.col < 0 || in.col > 1 || in.ori < 0 || in.ori > 2) return 12101;
  const bool portrait = in.ori == 0;
  const int base = in.col == 1 ? (portrait ? 12101 : 12151) : (portrait ? 12201 : 12251);
  const bool xp = variant == kXp;
  const bool knownArrangement = in.dir >= 0 && in.dir <= 3;
  switch (in.nup) {
    case 0: return base;
    case 1:
      if (xp) return base + 4;
      return base + (portrait && in.dir >= 2 ? 5 : 4);
    case 2: case 3: case 4: case 5:
      if (xp) return base + 4 * in.nup;
      return knownArrangement ? base + 4 * in.nup + in.dir : 0;
    case 6: return base + (xp || in.edge == 0 ? 24 : 25);
    default: return 0;
  }
}

// The overlay table: P/L rows by page count, columns by flip edge.
int ExpectedOverlay(const PreviewInputs& in) {
  if (in.dup != 1 && in.dup != 2) return 0;
  if (in.ori < 0 || in.ori > 2 || in.nup < 0 || in.nup > 5) return 0;
  const bool turned = in.nup == 1 || in.nup == 3;
  const int step = 3 * in.nup;
  if (in.ori == 0) {
    if (turned) return (in.dup == 1 ? 12301 : 12302) + step;
    return (in.dup == 1 ? 12302 : 12301) + step;
  }
  if (turned) return (in.dup == 1 ? 12322 : 12321) + step;
  return (in.dup == 1 ? 12321 : 12322) + step;
}

TEST(PreviewSelection, EveryInputInAndBeyondRangeFollowsTheTables) {
  const std::set<int> stored = StoredPictures();
  ASSERT_EQ(stored.size(), 106u);
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
