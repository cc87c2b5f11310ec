// The icons of the Layout page's lists, 20 by 20 on a clear background:
// sheets in the three orientations with a letter that shows which way up
// the page is, the single sheet, the four ways two pages join when the
// sheet turns over (the joined edge in green), and the warning triangle,
// alone or in the lower right corner of any of them.
#include "layout_pictures.h"

namespace {

constexpr Rgb kWhite = {255, 255, 255};
constexpr Rgb kBlack = {0, 0, 0};
constexpr Rgb kLines = {110, 110, 110};
constexpr Rgb kJoin = {0, 160, 0};
constexpr Rgb kYellow = {255, 210, 0};

enum class Icon {
  kPortrait, kLandscape, kRotated, kSingle,
  kPortraitShortFlip, kPortraitLongFlip, kLandscapeShortFlip, kLandscapeLongFlip, kWarning,
};

struct IconEntry {
  int id;
  Icon icon;
  bool warning;
  const char* caption;
};

const IconEntry kIcons[] = {
    {12011, Icon::kPortrait, false, "portrait"},
    {12012, Icon::kPortrait, true, "portrait, warning"},
    {12013, Icon::kLandscape, false, "landscape"},
    {12014, Icon::kLandscape, true, "landscape, warning"},
    {12015, Icon::kRotated, false, "rotated landscape"},
    {12016, Icon::kRotated, true, "rotated landscape, warning"},
    {12021, Icon::kSingle, false, "one-sided"},
    {12022, Icon::kSingle, true, "one-sided, warning"},
    {12023, Icon::kPortraitShortFlip, false, "portrait short edge"},
    {12024, Icon::kPortraitShortFlip, true, "portrait short edge, warning"},
    {12025, Icon::kPortraitLongFlip, false, "portrait long edge"},
    {12026, Icon::kPortraitLongFlip, true, "portrait long edge, warning"},
    {12027, Icon::kLandscapeShortFlip, false, "landscape short edge"},
    {12028, Icon::kLandscapeShortFlip, true, "landscape short edge, warning"},
    {12029, Icon::kLandscapeLongFlip, false, "landscape long edge"},
    {12030, Icon::kLandscapeLongFlip, true, "landscape long edge, warning"},
    {12001, Icon::kWarning, false, "warning"},
};

void Sheet(Raster* r, const Rect& s) {
  r->Fill(s, kWhite);
  r->Frame(s, kBlack);
}

void Lines(Raster* r, const Rect& s) {
  for (int y = s.y + 3; y < s.bottom() - 2; y += 2) r->HLine(s.x + 2, s.right() - 3, y, kLines);
}

void Letter(Raster* r, const Rect& s, bool upsideDown) {
  const int scale = 2;
  r->Glyph('A', s.x + (s.w - kGlyphWidth * scale) / 2, s.y + (s.h - kGlyphHeight * scale) / 2,
           scale, kBlack, upsideDown);
}

// Two pages that share the edge the sheet turns over.
void Pair(Raster* r, const Rect& a, const Rect& b, bool sideBySide) {
  Sheet(r, a);
  Sheet(r, b);
  Lines(r, a);
  Lines(r, b);
  if (sideBySide) r->VLine(a.right() - 1, a.y, a.bottom() - 1, kJoin);
  else r->HLine(a.x, a.right() - 1, a.bottom() - 1, kJoin);
}

void Triangle(Raster* r, int x, int y, int size) {
  // Apex at the top centre, rows widening to the base.
  for (int row = 0; row < size; ++row) {
    const int half = row / 2;
    const int cx = x + size / 2;
    r->HLine(cx - half, cx + half, y + row, kYellow);
    r->Put(cx - half, y + row, kBlack);
    r->Put(cx + half, y + row, kBlack);
  }
  r->HLine(x + size / 2 - (size - 1) / 2, x + size / 2 + (size - 1) / 2, y + size - 1, kBlack);
  const int cx = x + size / 2;
  r->VLine(cx, y + size / 3, y + size - 4, kBlack);
  r->Put(cx, y + size - 2, kBlack);
}

void DrawBase(Raster* r, Icon icon) {
  switch (icon) {
    case Icon::kPortrait: {
      const Rect s = {4, 1, 13, 18};
      Sheet(r, s);
      Letter(r, s, false);
      break;
    }
    case Icon::kLandscape:
    case Icon::kRotated: {
      const Rect s = {1, 4, 18, 13};
      Sheet(r, s);
      Letter(r, s, icon == Icon::kRotated);
      break;
    }
    case Icon::kSingle: {
      const Rect s = {4, 1, 13, 18};
      Sheet(r, s);
      Lines(r, s);
      break;
    }
    case Icon::kPortraitShortFlip: Pair(r, {5, 0, 8, 10}, {5, 9, 8, 11}, false); break;
    case Icon::kPortraitLongFlip: Pair(r, {1, 3, 10, 14}, {10, 3, 9, 14}, true); break;
    case Icon::kLandscapeShortFlip: Pair(r, {0, 5, 11, 9}, {10, 5, 10, 9}, true); break;
    case Icon::kLandscapeLongFlip: Pair(r, {2, 1, 15, 10}, {2, 10, 15, 9}, false); break;
    case Icon::kWarning: Triangle(r, 1, 2, 17); break;
  }
}

}  // namespace

std::vector<PictureSpec> IconCatalogue() {
  std::vector<PictureSpec> specs;
  for (const IconEntry& e : kIcons) specs.push_back({e.id, e.caption});
  return specs;
}

bool DrawIcon(int id, Raster* out) {
  for (const IconEntry& e : kIcons) {
    if (e.id != id) continue;
    Raster r(kIconSize, kIconSize, kWhite);
    r.ClearCoverage();
    DrawBase(&r, e.icon);
    if (e.warning) Triangle(&r, 10, 10, 10);
    *out = r;
    return true;
  }
  return false;
}
