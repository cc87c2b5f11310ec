// A plain RGB raster with the few drawing operations the layout pictures
// need. Coordinates run from the top left; everything outside the raster
// is clipped.
#pragma once

#include <cstdint>
#include <vector>

struct Rgb {
  uint8_t r, g, b;
  bool operator==(const Rgb& o) const { return r == o.r && g == o.g && b == o.b; }
  bool operator!=(const Rgb& o) const { return !(*this == o); }
};

struct Rect {
  int x, y, w, h;
  int right() const { return x + w; }
  int bottom() const { return y + h; }
};

class Raster {
 public:
  Raster(int width, int height, Rgb fill);

  int width() const { return width_; }
  int height() const { return height_; }
  Rgb at(int x, int y) const;
  // Which pixels are covered: icons keep a mask beside their colours.
  bool opaque(int x, int y) const;

  void Put(int x, int y, Rgb colour);
  void Fill(const Rect& r, Rgb colour);
  void Frame(const Rect& r, Rgb colour);
  void HLine(int x0, int x1, int y, Rgb colour);
  void VLine(int x, int y0, int y1, Rgb colour);
  // Every other `dash` pixels along the line.
  void DashedHLine(int x0, int x1, int y, int dash, Rgb colour);
  void DashedVLine(int x, int y0, int y1, int dash, Rgb colour);
  // Pixels nowhere drawn on stay uncovered.
  void ClearCoverage();
  // A glyph of the small font ('0'-'9', 'A', '!'), each cell `scale` pixels;
  // `upsideDown` turns it half round.
  void Glyph(char c, int x, int y, int scale, Rgb colour, bool upsideDown = false);
  // A number centred on (cx, cy).
  void Number(int value, int cx, int cy, int scale, Rgb colour);

 private:
  int width_, height_;
  std::vector<Rgb> pixels_;
  std::vector<uint8_t> covered_;
};

constexpr int kGlyphWidth = 3;
constexpr int kGlyphHeight = 5;
