// The reader on hand-made images: tables that point outside the file are
// errors, never faults.
#include "pe_image.h"

#include <gtest/gtest.h>

#include <cstring>

namespace {

void Put16(std::vector<uint8_t>& b, size_t at, uint32_t v) {
  b[at] = v & 0xFF;
  b[at + 1] = (v >> 8) & 0xFF;
}
void Put32(std::vector<uint8_t>& b, size_t at, uint32_t v) {
  Put16(b, at, v & 0xFFFF);
  Put16(b, at + 2, v >> 16);
}

constexpr char kManifest[] = "<assembly processorArchitecture=\"x86\"/>";

// A minimal 32-bit image: one section at RVA 0x1000 mapped to file offset
// 0x200, an import of kernel32.dll!Sleep, an export named "Go" and a
// manifest resource.
std::vector<uint8_t> MinimalImage() {
  std::vector<uint8_t> b(0x600, 0);
  Put16(b, 0, 0x5A4D);
  Put32(b, 0x3C, 0x40);
  Put32(b, 0x40, 0x00004550);
  const size_t coff = 0x44, opt = coff + 20;
  Put16(b, coff, kMachineX86);
  Put16(b, coff + 2, 1);
  Put16(b, coff + 16, 224);
  Put16(b, opt, 0x10B);
  Put16(b, opt + 48, 5);
  Put16(b, opt + 50, 1);
  Put16(b, opt + 68, 2);
  Put32(b, opt + 92, 16);
  Put32(b, opt + 96, 0x1000);       // export directory
  Put32(b, opt + 104, 0x1100);      // import directory
  Put32(b, opt + 112, 0x1200);      // resource directory
  const size_t section = opt + 224;
  Put32(b, section + 8, 0x400);     // virtual size
  Put32(b, section + 12, 0x1000);   // virtual address
  Put32(b, section + 16, 0x400);    // raw size
  Put32(b, section + 20, 0x200);    // raw offset
  // exports at 0x1000: one name, names array at 0x1040 -> "Go" at 0x1050
  Put32(b, 0x200 + 24, 1);
  Put32(b, 0x200 + 32, 0x1040);
  Put32(b, 0x240, 0x1050);
  std::memcpy(&b[0x250], "Go", 3);
  // imports at 0x1100: descriptor -> thunks at 0x1140, name at 0x1160
  Put32(b, 0x300, 0x1140);
  Put32(b, 0x300 + 12, 0x1160);
  Put32(b, 0x300 + 16, 0x1140);
  Put32(b, 0x340, 0x1180);
  std::memcpy(&b[0x360], "KERNEL32.dll", 13);
  std::memcpy(&b[0x382], "Sleep", 6);
  // resources at 0x1200: type 24 -> name 1 -> language 0x409 -> data at 0x1260
  Put16(b, 0x400 + 14, 1);
  Put32(b, 0x410, 24);
  Put32(b, 0x414, 0x80000018);
  Put16(b, 0x418 + 14, 1);
  Put32(b, 0x428, 1);
  Put32(b, 0x42C, 0x80000030);
  Put16(b, 0x430 + 14, 1);
  Put32(b, 0x440, 0x409);
  Put32(b, 0x444, 0x48);
  Put32(b, 0x448, 0x1260);
  Put32(b, 0x44C, sizeof kManifest - 1);
  std::memcpy(&b[0x460], kManifest, sizeof kManifest - 1);
  return b;
}

TEST(PeImageReader, ReadsMachineVersionExportsAndImports) {
  PeImage image;
  std::string error;
  ASSERT_TRUE(ReadPeImage(MinimalImage(), &image, &error)) << error;
  EXPECT_EQ(image.machine, kMachineX86);
  EXPECT_EQ(image.majorSubsystemVersion, 5);
  EXPECT_EQ(image.minorSubsystemVersion, 1);
  EXPECT_EQ(image.exports, std::vector<std::string>{"Go"});
  ASSERT_EQ(image.imports.count("kernel32.dll"), 1u);
  EXPECT_EQ(image.imports["kernel32.dll"], std::vector<std::string>{"Sleep"});
  EXPECT_EQ(image.manifest, kManifest);
}

TEST(PeImageReader, MalformedImagesAreErrors) {
  struct Case {
    const char* name;
    size_t at;
    uint32_t value;
  };
  const Case cases[] = {
      {"no MZ", 0, 0},
      {"PE header past the end", 0x3C, 0xFFFFFFF0},
      {"unknown magic", 0x58, 0x1234},
      {"optional header too large", 0x54, 0xFFFF},
      {"export names outside", 0x220, 0x7FFFFFFF},
      {"import thunks outside", 0x300, 0x9000},
      {"resource directory outside", 0x58 + 112, 0x9000},
      {"manifest outside", 0x448, 0x9000},
      {"manifest longer than the file", 0x44C, 0x7FFFFFFF},
      {"resource tree too shallow", 0x42C, 0x48},
  };
  for (const Case& c : cases) {
    std::vector<uint8_t> bytes = MinimalImage();
    if (std::string(c.name) == "import thunks outside") Put32(bytes, 0x300 + 16, 0x9000);
    Put32(bytes, c.at, c.value);
    PeImage image;
    std::string error;
    EXPECT_FALSE(ReadPeImage(bytes, &image, &error)) << c.name;
    EXPECT_FALSE(error.empty()) << c.name;
  }
}

TEST(PeImageReader, EveryTruncationIsAnErrorOrAPartialRead) {
  const std::vector<uint8_t> whole = MinimalImage();
  for (size_t size = 0; size < whole.size(); ++size) {
    std::vector<uint8_t> cut(whole.begin(), whole.begin() + size);
    PeImage image;
    std::string error;
    if (!ReadPeImage(cut, &image, &error)) {
      EXPECT_FALSE(error.empty()) << size;
    }
  }
}

}  // namespace
