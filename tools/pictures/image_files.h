// The two file formats the resource compiler takes for the layout
// pictures: uncompressed bottom-up 24-bit bitmaps and 32-bit icons.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "raster.h"

// A bitmap file whose resource (the file without its 14-byte header) is a
// 40-byte information header and the pixel rows padded to four bytes,
// followed by two spare bytes: 102,042 bytes for 200 by 170 pixels.
std::vector<uint8_t> EncodeBitmapFile(const Raster& raster);

// An icon file with one image: colours with full alpha where the raster is
// covered, and the matching AND mask.
std::vector<uint8_t> EncodeIconFile(const Raster& raster);

bool WriteFile(const std::string& path, const std::vector<uint8_t>& bytes);
