#include "raster.h"

#include <algorithm>

namespace {

// 3 by 5 cells, one string per row, '#' set.
struct GlyphRows {
  char c;
  const char* rows[kGlyphHeight];
};

const GlyphRows kGlyphs[] = {
    {'0', {"###", "#.#", "#.#", "#.#", "###"}}, {'1', {".#.", "##.", ".#.", ".#.", "###"}},
    {'2', {"###", "..#", "###", "#..", "###"}}, {'3', {"###", "..#", ".##", "..#", "###"}},
    {'4', {"#.#", "#.#", "###", "..#", "..#"}}, {'5', {"###", "#..", "###", "..#", "###"}},
    {'6', {"###", "#..", "###", "#.#", "###"}}, {'7', {"###", "..#", ".#.", ".#.", ".#."}},
    {'8', {"###", "#.#", "###", "#.#", "###"}}, {'9', {"###", "#.#", "###", "..#", "###"}},
    {'A', {".#.", "#.#", "###", "#.#", "#.#"}}, {'!', {".#.", ".#.", ".#.", "...", ".#."}},
};

const GlyphRows* FindGlyph(char c) {
  for (const GlyphRows& g : kGlyphs)
    if (g.c == c) return &g;
  return nullptr;
}

}  // namespace

Raster::Raster(int width, int height, Rgb fill)
    : width_(width), height_(height),
      pixels_(static_cast<size_t>(width) * height, fill),
      covered_(static_cast<size_t>(width) * height, 1) {}

Rgb Raster::at(int x, int y) const { return pixels_[static_cast<size_t>(y) * width_ + x]; }

bool Raster::opaque(int x, int y) const {
  return covered_[static_cast<size_t>(y) * width_ + x] != 0;
}

void Raster::ClearCoverage() { std::fill(covered_.begin(), covered_.end(), 0); }

void Raster::Put(int x, int y, Rgb colour) {
  if (x < 0 || y < 0 || x >= width_ || y >= height_) return;
  const size_t i = static_cast<size_t>(y) * width_ + x;
  pixels_[i] = colour;
  covered_[i] = 1;
}

void Raster::Fill(const Rect& r, Rgb colour) {
  for (int y = r.y; y < r.bottom(); ++y)
    for (int x = r.x; x < r.right(); ++x) Put(x, y, colour);
}

void Raster::HLine(int x0, int x1, int y, Rgb colour) {
  for (int x = x0; x <= x1; ++x) Put(x, y, colour);
}

void Raster::VLine(int x, int y0, int y1, Rgb colour) {
  for (int y = y0; y <= y1; ++y) Put(x, y, colour);
}

void Raster::Frame(const Rect& r, Rgb colour) {
  HLine(r.x, r.right() - 1, r.y, colour);
  HLine(r.x, r.right() - 1, r.bottom() - 1, colour);
  VLine(r.x, r.y, r.bottom() - 1, colour);
  VLine(r.right() - 1, r.y, r.bottom() - 1, colour);
}

void Raster::DashedHLine(int x0, int x1, int y, int dash, Rgb colour) {
  for (int x = x0; x <= x1; ++x)
    if ((x - x0) / dash % 2 == 0) Put(x, y, colour);
}

void Raster::DashedVLine(int x, int y0, int y1, int dash, Rgb colour) {
  for (int y = y0; y <= y1; ++y)
    if ((y - y0) / dash % 2 == 0) Put(x, y, colour);
}

void Raster::Glyph(char c, int x, int y, int scale, Rgb colour, bool upsideDown) {
  const GlyphRows* glyph = FindGlyph(c);
  if (glyph == nullptr) return;
  for (int row = 0; row < kGlyphHeight; ++row)
    for (int col = 0; col < kGlyphWidth; ++col) {
      const int srcRow = upsideDown ? kGlyphHeight - 1 - row : row;
      const int srcCol = upsideDown ? kGlyphWidth - 1 - col : col;
      if (glyph->rows[srcRow][srcCol] != '#') continue;
      Fill({x + col * scale, y + row * scale, scale, scale}, colour);
    }
}

void Raster::Number(int value, int cx, int cy, int scale, Rgb colour) {
  char digits[12];
  int count = 0;
  do {
    digits[count++] = static_cast<char>('0' + value % 10);
    value /= 10;
  } while (value > 0 && count < 11);
  const int advance = (kGlyphWidth + 1) * scale;
  const int width = count * advance - scale;
  int x = cx - width / 2;
  const int y = cy - kGlyphHeight * scale / 2;
  for (int i = count - 1; i >= 0; --i, x += advance) Glyph(digits[i], x, y, scale, colour);
}
