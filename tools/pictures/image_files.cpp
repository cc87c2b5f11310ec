#include "image_files.h"

#include <cstdio>

namespace {

constexpr uint32_t kInfoHeaderSize = 40;
constexpr uint32_t kFileHeaderSize = 14;
constexpr uint32_t kSpareBytes = 2;  // kept after the rows, counted in the image size

void Put16(std::vector<uint8_t>& out, uint32_t v) {
  out.push_back(static_cast<uint8_t>(v));
  out.push_back(static_cast<uint8_t>(v >> 8));
}

void Put32(std::vector<uint8_t>& out, uint32_t v) {
  Put16(out, v & 0xFFFF);
  Put16(out, v >> 16);
}

void PutInfoHeader(std::vector<uint8_t>& out, int width, int height, int bits, uint32_t imageSize) {
  Put32(out, kInfoHeaderSize);
  Put32(out, static_cast<uint32_t>(width));
  Put32(out, static_cast<uint32_t>(height));  // positive: rows run bottom-up
  Put16(out, 1);
  Put16(out, static_cast<uint32_t>(bits));
  Put32(out, 0);  // BI_RGB
  Put32(out, imageSize);
  Put32(out, 2835);  // 72 dots per inch
  Put32(out, 2835);
  Put32(out, 0);
  Put32(out, 0);
}

uint32_t RowBytes(int width, int bits) { return ((static_cast<uint32_t>(width) * bits + 31) / 32) * 4; }

}  // namespace

std::vector<uint8_t> EncodeBitmapFile(const Raster& raster) {
  const uint32_t row = RowBytes(raster.width(), 24);
  const uint32_t imageSize = row * raster.height() + kSpareBytes;
  std::vector<uint8_t> out;
  out.reserve(kFileHeaderSize + kInfoHeaderSize + imageSize);
  out.push_back('B');
  out.push_back('M');
  Put32(out, kFileHeaderSize + kInfoHeaderSize + imageSize);
  Put32(out, 0);
  Put32(out, kFileHeaderSize + kInfoHeaderSize);
  PutInfoHeader(out, raster.width(), raster.height(), 24, imageSize);
  for (int y = raster.height() - 1; y >= 0; --y) {
    for (int x = 0; x < raster.width(); ++x) {
      const Rgb p = raster.at(x, y);
      out.push_back(p.b);
      out.push_back(p.g);
      out.push_back(p.r);
    }
    for (uint32_t pad = raster.width() * 3u; pad < row; ++pad) out.push_back(0);
  }
  out.insert(out.end(), kSpareBytes, 0);
  return out;
}

std::vector<uint8_t> EncodeIconFile(const Raster& raster) {
  const int w = raster.width();
  const int h = raster.height();
  const uint32_t colourBytes = RowBytes(w, 32) * h;
  const uint32_t maskRow = RowBytes(w, 1);
  const uint32_t imageBytes = kInfoHeaderSize + colourBytes + maskRow * h;
  std::vector<uint8_t> out;
  Put16(out, 0);  // reserved
  Put16(out, 1);  // icon
  Put16(out, 1);  // one image
  out.push_back(static_cast<uint8_t>(w));
  out.push_back(static_cast<uint8_t>(h));
  out.push_back(0);  // no palette
  out.push_back(0);
  Put16(out, 1);   // planes
  Put16(out, 32);  // bits
  Put32(out, imageBytes);
  Put32(out, 6 + 16);
  // An icon's header counts the colour rows and the mask rows together.
  PutInfoHeader(out, w, 2 * h, 32, colourBytes + maskRow * h);
  for (int y = h - 1; y >= 0; --y)
    for (int x = 0; x < w; ++x) {
      const Rgb p = raster.at(x, y);
      const bool covered = raster.opaque(x, y);
      out.push_back(covered ? p.b : 0);
      out.push_back(covered ? p.g : 0);
      out.push_back(covered ? p.r : 0);
      out.push_back(covered ? 0xFF : 0);
    }
  for (int y = h - 1; y >= 0; --y) {
    std::vector<uint8_t> bits(maskRow, 0);
    for (int x = 0; x < w; ++x)
      if (!raster.opaque(x, y)) bits[x / 8] |= static_cast<uint8_t>(0x80 >> (x % 8));
    out.insert(out.end(), bits.begin(), bits.end());
  }
  return out;
}

bool WriteFile(const std::string& path, const std::vector<uint8_t>& bytes) {
  FILE* file = std::fopen(path.c_str(), "wb");
  if (file == nullptr) return false;
  const bool written = std::fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size();
  return std::fclose(file) == 0 && written;
}
