// The generated Layout pictures: the catalogue against the preview's
// selection rule, the file formats byte for byte where the resources
// depend on them, and what a person should see, probed on the pixels.
#include <gtest/gtest.h>

#include <set>

#include "image_files.h"
#include "layout_pictures.h"
#include "preview_selection.h"

namespace {

constexpr Rgb kShadow = {0, 90, 90};
constexpr Rgb kRedBar = {220, 40, 40};
constexpr Rgb kBlueBar = {40, 90, 220};
constexpr Rgb kGreen = {0, 160, 0};
constexpr Rgb kYellow = {255, 210, 0};

uint32_t Read32(const std::vector<uint8_t>& b, size_t at) {
  return b[at] | b[at + 1] << 8 | b[at + 2] << 16 | static_cast<uint32_t>(b[at + 3]) << 24;
}
uint16_t Read16(const std::vector<uint8_t>& b, size_t at) {
  return static_cast<uint16_t>(b[at] | b[at + 1] << 8);
}

Raster Preview(int id) {
  Raster r(1, 1, kTeal);
  EXPECT_TRUE(DrawPreview(id, &r)) << id;
  return r;
}

struct Box {
  int left = 1 << 20, top = 1 << 20, right = -1, bottom = -1;
  int count = 0;
  void Add(int x, int y) {
    left = std::min(left, x); top = std::min(top, y);
    right = std::max(right, x); bottom = std::max(bottom, y);
    ++count;
  }
  int cx() const { return (left + right) / 2; }
  int cy() const { return (top + bottom) / 2; }
};

template <typename Pred>
Box BoxOf(const Raster& r, Pred pred) {
  Box box;
  for (int y = 0; y < r.height(); ++y)
    for (int x = 0; x < r.width(); ++x)
      if (pred(r.at(x, y))) box.Add(x, y);
  return box;
}

TEST(LayoutPictures, CatalogueHoldsExactlyThePicturesThePreviewAsksFor) {
  std::set<int> catalogue;
  for (const PictureSpec& spec : PreviewCatalogue()) catalogue.insert(spec.id);
  EXPECT_EQ(PreviewCatalogue().size(), 106u);
  EXPECT_EQ(catalogue.size(), 106u);

  std::set<int> asked;
  for (LayoutVariant variant : {LayoutVariant::kVistaAndLater, LayoutVariant::kXp}) {
    PreviewInputs in;
    for (in.col = 0; in.col <= 1; ++in.col)
      for (in.ori = 0; in.ori <= 2; ++in.ori)
        for (in.dup = 0; in.dup <= 2; ++in.dup)
          for (in.nup = 0; in.nup <= 6; ++in.nup)
            for (in.dir = 0; in.dir <= 3; ++in.dir)
              for (in.edge = 0; in.edge <= 1; ++in.edge) {
                const PreviewPictures p = SelectPreviewPictures(&in, variant);
                asked.insert(p.mainId);
                if (p.overlayId != kNoPicture) asked.insert(p.overlayId);
              }
  }
  EXPECT_EQ(asked, catalogue);
  Raster r(1, 1, kTeal);
  for (int missing : {12102, 12103, 12104, 12107, 12108, 12156, 12303, 12323, 12127})
    EXPECT_FALSE(DrawPreview(missing, &r)) << missing;
}

TEST(LayoutPictures, IconsComeInTheImageListOrder) {
  const int expected[] = {12011, 12012, 12013, 12014, 12015, 12016, 12021, 12022, 12023,
                          12024, 12025, 12026, 12027, 12028, 12029, 12030, 12001};
  const auto icons = IconCatalogue();
  ASSERT_EQ(icons.size(), 17u);
  for (size_t i = 0; i < icons.size(); ++i) EXPECT_EQ(icons[i].id, expected[i]) << i;
}

TEST(LayoutPictures, BitmapFilesAreUncompressedBottomUp24BitOf102042ResourceBytes) {
  Raster r = Preview(12101);
  r.Put(0, 0, {1, 2, 3});  // top left, stored in the last row
  const std::vector<uint8_t> file = EncodeBitmapFile(r);
  ASSERT_EQ(file.size(), 14u + 102042u);
  EXPECT_EQ(file[0], 'B');
  EXPECT_EQ(file[1], 'M');
  EXPECT_EQ(Read32(file, 2), file.size());
  EXPECT_EQ(Read32(file, 10), 54u);
  EXPECT_EQ(Read32(file, 14), 40u);
  EXPECT_EQ(static_cast<int32_t>(Read32(file, 18)), 200);
  EXPECT_EQ(static_cast<int32_t>(Read32(file, 22)), 170);
  EXPECT_EQ(Read16(file, 26), 1);
  EXPECT_EQ(Read16(file, 28), 24);
  EXPECT_EQ(Read32(file, 30), 0u);
  EXPECT_EQ(Read32(file, 34), 102002u);
  const size_t lastRow = 54 + 169 * 600;
  EXPECT_EQ(file[lastRow], 3);  // blue, green, red
  EXPECT_EQ(file[lastRow + 1], 2);
  EXPECT_EQ(file[lastRow + 2], 1);
  EXPECT_EQ(file[54], 128);  // bottom left is teal, stored blue, green, red
  EXPECT_EQ(file[55], 128);
  EXPECT_EQ(file[56], 0);
}

TEST(LayoutPictures, IconFilesCarryColourAlphaAndMask) {
  Raster r(1, 1, kTeal);
  ASSERT_TRUE(DrawIcon(12012, &r));
  ASSERT_EQ(r.width(), 20);
  const std::vector<uint8_t> file = EncodeIconFile(r);
  ASSERT_EQ(file.size(), 6u + 16u + 40u + 1600u + 80u);
  EXPECT_EQ(Read16(file, 2), 1);
  EXPECT_EQ(file[6], 20);
  EXPECT_EQ(Read32(file, 6 + 8), 40u + 1600u + 80u);
  EXPECT_EQ(static_cast<int32_t>(Read32(file, 22 + 8)), 40);  // colours and mask
  EXPECT_EQ(Read16(file, 22 + 14), 32);
  // The top left corner is clear: alpha 0 and a set mask bit.
  const size_t topRow = 62 + 19 * 80;
  EXPECT_EQ(file[topRow + 3], 0);
  EXPECT_EQ(file[62 + 1600 + 19 * 4] & 0x80, 0x80);
}

TEST(LayoutPictures, DrawingTwiceGivesTheSameBytes) {
  for (const PictureSpec& spec : PreviewCatalogue()) {
    EXPECT_EQ(EncodeBitmapFile(Preview(spec.id)), EncodeBitmapFile(Preview(spec.id))) << spec.id;
  }
}

bool IsGrey(Rgb p) { return p.r == p.g && p.g == p.b; }

TEST(LayoutPictures, MainPicturesStandOnTealAndFamiliesDifferInColour) {
  for (const PictureSpec& spec : PreviewCatalogue()) {
    if (spec.id >= 12301) continue;
    const Raster r = Preview(spec.id);
    EXPECT_EQ(r.at(0, 0), kTeal) << spec.id;
    EXPECT_EQ(r.at(199, 169), kTeal) << spec.id;
    const bool colourFamily = spec.id < 12201;
    const Box coloured = BoxOf(r, [](Rgb p) {
      return !IsGrey(p) && p != kTeal && p != kShadow && p != kGreen;
    });
    if (colourFamily) EXPECT_GT(coloured.count, 20) << spec.id;
    else EXPECT_EQ(coloured.count, 0) << spec.id;
    EXPECT_EQ(BoxOf(r, [](Rgb p) { return p == kPink; }).count, 0) << spec.id;
  }
}

TEST(LayoutPictures, FourPagesAreNumberedInTheirReadingOrder) {
  // Page 1 carries the red bar and page 2 the blue one.
  struct Case { int id; bool firstLeft; bool secondBelow; bool secondRight; };
  const Case cases[] = {
      {12109, true, false, true},    // right then down
      {12110, true, true, false},    // down then right
      {12111, false, false, false},  // left then down
      {12112, false, true, false},   // down then left
  };
  for (const Case& c : cases) {
    const Raster r = Preview(c.id);
    const Box first = BoxOf(r, [](Rgb p) { return p == kRedBar; });
    const Box second = BoxOf(r, [](Rgb p) { return p == kBlueBar; });
    ASSERT_GT(first.count, 0) << c.id;
    ASSERT_GT(second.count, 0) << c.id;
    EXPECT_EQ(first.cx() < 100, c.firstLeft) << c.id;
    EXPECT_EQ(second.cy() > first.cy() + 20, c.secondBelow) << c.id;
    EXPECT_EQ(second.cx() > first.cx() + 20, c.secondRight) << c.id;
  }
  // Two portrait pages: left to right, or right to left.
  for (int id : {12105, 12106}) {
    const Raster r = Preview(id);
    const bool leftToRight = BoxOf(r, [](Rgb p) { return p == kRedBar; }).cx() <
                             BoxOf(r, [](Rgb p) { return p == kBlueBar; }).cx();
    EXPECT_EQ(leftToRight, id == 12105) << id;
  }
}

TEST(LayoutPictures, SheetsTurnForTwoAndSixPages) {
  struct Case { int id; bool landscapeSheet; };
  const Case cases[] = {{12101, false}, {12105, true}, {12109, false}, {12113, true},
                        {12151, true},  {12155, false}, {12159, true}, {12163, false}};
  for (const Case& c : cases) {
    const Box sheet = BoxOf(Preview(c.id), [](Rgb p) { return p == Rgb{0, 0, 0}; });
    EXPECT_EQ(sheet.right - sheet.left > sheet.bottom - sheet.top, c.landscapeSheet) << c.id;
  }
}

TEST(LayoutPictures, BookletsMarkTheBindingEdgeInGreen) {
  for (int id : {12125, 12126, 12175, 12176, 12225, 12226, 12275, 12276}) {
    const Box green = BoxOf(Preview(id), [](Rgb p) { return p == kGreen; });
    ASSERT_GT(green.count, 30) << id;
    const bool rightEdge = (id - 12101) % 50 == 25;
    EXPECT_EQ(green.right > 188, rightEdge) << id;
  }
}

TEST(LayoutPictures, OverlaysCoverTheirSheetInPinkAndDashTheBindingEdge) {
  for (int landscape = 0; landscape < 2; ++landscape)
    for (int nup = 0; nup <= 5; ++nup)
      for (int top = 0; top < 2; ++top) {
        const int id = (landscape ? 12321 : 12301) + 3 * nup + top;
        const Raster overlay = Preview(id);
        const Raster main = Preview((landscape ? 12151 : 12101) + 4 * nup);
        const Box pink = BoxOf(overlay, [](Rgb p) { return p != kTeal; });
        const Box sheet = BoxOf(main, [](Rgb p) { return p == Rgb{0, 0, 0}; });
        EXPECT_EQ(pink.left, sheet.left) << id;
        EXPECT_EQ(pink.top, sheet.top) << id;
        EXPECT_EQ(pink.right, sheet.right) << id;
        EXPECT_EQ(pink.bottom, sheet.bottom) << id;
        const Box green = BoxOf(overlay, [](Rgb p) { return p == kGreen; });
        ASSERT_GT(green.count, 20) << id;
        if (top) EXPECT_LE(green.bottom - green.top, 2) << id;
        else EXPECT_LE(green.right - green.left, 2) << id;
        // Dashed: the line has gaps.
        const int length = top ? green.right - green.left + 1 : green.bottom - green.top + 1;
        EXPECT_LT(green.count, 2 * length) << id;
        EXPECT_EQ(overlay.at(0, 0), kTeal) << id;
      }
}

TEST(LayoutPictures, WarningIconsCarryTheTriangleAndTheOthersDoNot) {
  for (const PictureSpec& spec : IconCatalogue()) {
    Raster r(1, 1, kTeal);
    ASSERT_TRUE(DrawIcon(spec.id, &r));
    int yellow = 0;
    for (int y = 0; y < 20; ++y)
      for (int x = 0; x < 20; ++x)
        if (r.opaque(x, y) && r.at(x, y) == kYellow) ++yellow;
    const bool warning = spec.id == 12001 || spec.id % 2 == 0;
    EXPECT_EQ(yellow > 0, warning) << spec.id;
    EXPECT_FALSE(r.opaque(0, 19) && r.opaque(19, 0) && r.opaque(0, 0)) << spec.id;
  }
}

}  // namespace
