// The preview bitmaps. A main picture shows one printed sheet on teal: the
// sheet turned as its page count turns it, and small page images with a
// colour (or grey) bar, the page number and text lines, numbered in the
// arrangement's reading order. An overlay paints the same sheet pink (laid
// over the main picture that area stays as it was), marks the binding edge
// with a green dashed line and folds the corner that turns over.
#include "layout_pictures.h"

namespace {

constexpr Rgb kWhite = {255, 255, 255};
constexpr Rgb kBlack = {0, 0, 0};
constexpr Rgb kShadow = {0, 90, 90};
constexpr Rgb kPageEdge = {128, 128, 128};
constexpr Rgb kText = {150, 150, 150};
constexpr Rgb kNumber = {32, 32, 32};
constexpr Rgb kBinding = {0, 160, 0};
constexpr Rgb kFold = {210, 210, 210};

const Rgb kColourBars[] = {{220, 40, 40},  {40, 90, 220},  {240, 170, 0},  {40, 170, 60},
                           {170, 60, 200}, {0, 170, 200}};
const Rgb kGreyBars[] = {{70, 70, 70}, {120, 120, 120}, {95, 95, 95}};

const int kNupCounts[] = {1, 2, 4, 6, 9, 16};

// Sheets keep the proportions of A4.
Rect SheetRect(bool landscapeSheet) {
  if (landscapeSheet) return {10, 22, 180, 127};
  return {47, 10, 106, 150};
}

struct Grid {
  int cols, rows;
};

Grid GridOf(int nup, bool landscapeSheet) {
  switch (kNupCounts[nup]) {
    case 2: return landscapeSheet ? Grid{2, 1} : Grid{1, 2};
    case 4: return {2, 2};
    case 6: return landscapeSheet ? Grid{3, 2} : Grid{2, 3};
    case 9: return {3, 3};
    case 16: return {4, 4};
    default: return {1, 1};
  }
}

// Cell of the page numbered `index` (from 0) in arrangement `dir`:
// right then down, down then right, left then down, down then left.
void CellOf(int index, int dir, const Grid& g, int* col, int* row) {
  switch (dir) {
    case 1: *col = index / g.rows; *row = index % g.rows; break;
    case 2: *col = g.cols - 1 - index % g.cols; *row = index / g.cols; break;
    case 3: *col = g.cols - 1 - index / g.rows; *row = index % g.rows; break;
    default: *col = index % g.cols; *row = index / g.cols; break;
  }
}

// The largest page of the right shape centred in `cell`, with a margin.
Rect PageIn(const Rect& cell, bool landscapePage) {
  const int margin = cell.w > 40 && cell.h > 40 ? 5 : 3;
  const int availW = cell.w - 2 * margin;
  const int availH = cell.h - 2 * margin;
  // Long side to short side 141 : 100.
  int w, h;
  if (landscapePage) {
    w = availW;
    h = w * 100 / 141;
    if (h > availH) { h = availH; w = h * 141 / 100; }
  } else {
    h = availH;
    w = h * 100 / 141;
    if (w > availW) { w = availW; h = w * 141 / 100; }
  }
  return {cell.x + (cell.w - w) / 2, cell.y + (cell.h - h) / 2, w, h};
}

void DrawPage(Raster* r, const Rect& page, int number, bool colour) {
  r->Fill(page, kWhite);
  r->Frame(page, kPageEdge);
  const Rgb bar = colour ? kColourBars[(number - 1) % 6] : kGreyBars[(number - 1) % 3];
  const int inset = page.w >= 30 ? 3 : 2;
  const int barHeight = page.h >= 60 ? 8 : (page.h >= 24 ? 4 : 2);
  r->Fill({page.x + inset, page.y + inset, page.w - 2 * inset, barHeight}, bar);
  const int scale = page.h >= 70 ? 4 : (page.h >= 34 ? 2 : 1);
  const int numberTop = page.y + inset + barHeight + 2;
  const int numberHeight = kGlyphHeight * scale;
  r->Number(number, page.x + page.w / 2, numberTop + numberHeight / 2, scale, kNumber);
  // Text lines fill what is left below the number.
  const int spacing = page.h >= 60 ? 4 : 2;
  for (int y = numberTop + numberHeight + 2; y < page.bottom() - inset; y += spacing) {
    r->HLine(page.x + inset, page.right() - inset - 1, y, kText);
  }
}

void DrawSheet(Raster* r, const Rect& sheet) {
  r->Fill({sheet.x + 3, sheet.y + 3, sheet.w, sheet.h}, kShadow);
  r->Fill(sheet, kWhite);
  r->Frame(sheet, kBlack);
}

bool LandscapeSheet(int nup, bool landscapePage) {
  const bool turned = nup == 1 || nup == 3;
  return landscapePage != turned;
}

void DrawArrangement(Raster* r, bool colour, bool landscapePage, int nup, int dir) {
  const bool landscapeSheet = LandscapeSheet(nup, landscapePage);
  const Rect sheet = SheetRect(landscapeSheet);
  DrawSheet(r, sheet);
  const Grid g = GridOf(nup, landscapeSheet);
  const int cellW = (sheet.w - 2) / g.cols;
  const int cellH = (sheet.h - 2) / g.rows;
  for (int i = 0; i < g.cols * g.rows; ++i) {
    int col, row;
    CellOf(i, dir, g, &col, &row);
    const Rect cell = {sheet.x + 1 + col * cellW, sheet.y + 1 + row * cellH, cellW, cellH};
    DrawPage(r, PageIn(cell, landscapePage), i + 1, colour);
  }
}

// An opened booklet: two pages either side of the fold, read from the
// binding; beside it a small folded copy with its binding edge in green.
void DrawBooklet(Raster* r, bool colour, bool landscapePage, bool rightEdge) {
  const Rect sheet = {8, 30, 150, 106};
  DrawSheet(r, sheet);
  const int half = sheet.w / 2;
  const Rect left = {sheet.x + 1, sheet.y + 1, half - 1, sheet.h - 2};
  const Rect right = {sheet.x + half, sheet.y + 1, half - 1, sheet.h - 2};
  DrawPage(r, PageIn(left, landscapePage), rightEdge ? 2 : 1, colour);
  DrawPage(r, PageIn(right, landscapePage), rightEdge ? 1 : 2, colour);
  r->VLine(sheet.x + half - 1, sheet.y, sheet.bottom() - 1, kBlack);

  const Rect folded = {164, 60, 28, 40};
  r->Fill({folded.x + 2, folded.y + 2, folded.w, folded.h}, kShadow);
  r->Fill(folded, kWhite);
  r->Frame(folded, kBlack);
  const int spine = rightEdge ? folded.right() - 3 : folded.x;
  r->Fill({spine, folded.y, 3, folded.h}, kBinding);
  for (int y = folded.y + 8; y < folded.bottom() - 4; y += 4)
    r->HLine(folded.x + 5, folded.right() - 6, y, kText);
}

void DrawOverlay(Raster* r, bool landscapePage, int nup, bool leftBinding) {
  const Rect sheet = SheetRect(LandscapeSheet(nup, landscapePage));
  r->Fill(sheet, kPink);
  // Binding line just inside the bound edge.
  if (leftBinding) {
    r->DashedVLine(sheet.x + 2, sheet.y + 2, sheet.bottom() - 3, 5, kBinding);
    r->DashedVLine(sheet.x + 3, sheet.y + 2, sheet.bottom() - 3, 5, kBinding);
  } else {
    r->DashedHLine(sheet.x + 2, sheet.right() - 3, sheet.y + 2, 5, kBinding);
    r->DashedHLine(sheet.x + 2, sheet.right() - 3, sheet.y + 3, 5, kBinding);
  }
  // The turning corner: a folded triangle at the far edge from the binding
  // (bottom right), the back of the sheet showing.
  const int size = 34;
  for (int i = 0; i < size; ++i) {
    const int y = sheet.bottom() - size + i;
    r->HLine(sheet.right() - 1 - i, sheet.right() - 1, y, kTeal);  // the corner is gone
    r->HLine(sheet.right() - size, sheet.right() - 1 - i, y, kFold);  // the back of the sheet
  }
  for (int i = 0; i < size; ++i) r->Put(sheet.right() - 1 - i, sheet.bottom() - size + i, kBlack);
  r->HLine(sheet.right() - size, sheet.right() - 1, sheet.bottom() - size, kBlack);
  r->VLine(sheet.right() - size, sheet.bottom() - size, sheet.bottom() - 1, kBlack);
  if (nup == 0) r->Number(2, sheet.right() - size + 10, sheet.bottom() - size + 11, 2, kNumber);
}

struct MainKey {
  bool colour, landscape;
  int nup, dir;  // nup 6: booklet, dir 1 the right edge
};

bool MainFromId(int id, MainKey* key) {
  const int bases[] = {12101, 12151, 12201, 12251};
  for (int f = 0; f < 4; ++f) {
    const int offset = id - bases[f];
    if (offset < 0 || offset > 25) continue;
    key->colour = f < 2;
    key->landscape = f % 2 == 1;
    if (offset == 0) { key->nup = 0; key->dir = 0; return true; }
    if (offset == 4 || (offset == 5 && !key->landscape)) {
      key->nup = 1;
      key->dir = offset == 5 ? 2 : 0;
      return true;
    }
    if (offset >= 8) {
      key->nup = offset / 4;
      key->dir = offset % 4;
      return true;
    }
    return false;
  }
  return false;
}

const char* const kDirections[] = {"right, down", "down, right", "left, down", "down, left"};

std::string MainCaption(const MainKey& k) {
  std::string text = std::string(k.colour ? "colour " : "grey ") +
                     (k.landscape ? "landscape " : "portrait ");
  if (k.nup == 6) return text + "booklet " + (k.dir ? "right edge" : "left edge");
  if (k.nup == 0) return text + "1 page";
  if (k.nup == 1) return text + "2 pages " + (k.dir ? "right to left" : "left to right");
  return text + std::to_string(kNupCounts[k.nup]) + " pages " + kDirections[k.dir];
}

}  // namespace

std::vector<PictureSpec> PreviewCatalogue() {
  std::vector<PictureSpec> specs;
  for (int base : {12101, 12151, 12201, 12251}) {
    for (int offset = 0; offset <= 25; ++offset) {
      MainKey key;
      if (MainFromId(base + offset, &key)) specs.push_back({base + offset, MainCaption(key)});
    }
  }
  for (int page = 0; page < 2; ++page)
    for (int nup = 0; nup <= 5; ++nup)
      for (int top = 0; top < 2; ++top) {
        const int id = (page ? 12321 : 12301) + 3 * nup + top;
        specs.push_back({id, std::string("overlay ") + (page ? "landscape " : "portrait ") +
                                 std::to_string(kNupCounts[nup]) + "-up " +
                                 (top ? "top binding" : "left binding")});
      }
  return specs;
}

bool DrawPreview(int id, Raster* out) {
  Raster r(kPreviewWidth, kPreviewHeight, kTeal);
  MainKey key;
  if (MainFromId(id, &key)) {
    if (key.nup == 6) DrawBooklet(&r, key.colour, key.landscape, key.dir == 1);
    else DrawArrangement(&r, key.colour, key.landscape, key.nup, key.dir);
    *out = r;
    return true;
  }
  for (int page = 0; page < 2; ++page) {
    const int offset = id - (page ? 12321 : 12301);
    if (offset < 0 || offset >= 18 || offset % 3 == 2) continue;
    DrawOverlay(&r, page == 1, offset / 3, offset % 3 == 0);
    *out = r;
    return true;
  }
  return false;
}
