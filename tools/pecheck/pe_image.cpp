#include "pe_image.h"

#include <algorithm>
#include <cctype>
#include <fstream>
#include <iterator>

namespace {

constexpr size_t kCoffHeaderSize = 20;
constexpr size_t kSectionHeaderSize = 40;
constexpr size_t kImportDescriptorSize = 20;
constexpr size_t kMaxTableEntries = 65536;  // more than any real image has
constexpr size_t kResourceDirectorySize = 16;
constexpr size_t kResourceEntrySize = 8;
constexpr uint32_t kResourceTypeManifest = 24;
constexpr uint32_t kResourceSubdirectory = 0x80000000;

// Little-endian reads that answer 0 past the end instead of faulting.
class ByteView {
 public:
  explicit ByteView(const std::vector<uint8_t>& bytes) : bytes_(bytes) {}

  bool Has(size_t offset, size_t size) const {
    return offset <= bytes_.size() && size <= bytes_.size() - offset;
  }
  uint32_t U8(size_t offset) const { return Has(offset, 1) ? Byte(offset) : 0; }
  uint32_t U16(size_t offset) const { return Has(offset, 2) ? Byte(offset) | Byte(offset + 1) << 8 : 0; }
  uint32_t U32(size_t offset) const {
    return Has(offset, 4) ? U16(offset) | U16(offset + 2) << 16 : 0;
  }
  uint64_t U64(size_t offset) const {
    return Has(offset, 8) ? U32(offset) | uint64_t{U32(offset + 4)} << 32 : 0;
  }
  // A NUL-terminated name; empty when it runs past the end.
  std::string Name(size_t offset) const {
    std::string name;
    for (size_t i = offset; i < bytes_.size(); ++i) {
      if (bytes_[i] == 0) return name;
      name.push_back(static_cast<char>(bytes_[i]));
    }
    return {};
  }

 private:
  uint32_t Byte(size_t offset) const { return bytes_[offset]; }
  const std::vector<uint8_t>& bytes_;
};

struct Section {
  uint32_t virtualAddress;
  uint32_t virtualSize;
  uint32_t rawOffset;
  uint32_t rawSize;
};

class PeParser {
 public:
  PeParser(const std::vector<uint8_t>& bytes, PeImage* image, std::string* error)
      : view_(bytes), image_(image), error_(error) {}

  bool Parse() {
    if (view_.U16(0) != 0x5A4D) return Fail("no MZ header");
    const size_t pe = view_.U32(0x3C);
    if (view_.U32(pe) != 0x00004550) return Fail("no PE signature");
    const size_t coff = pe + 4;
    image_->machine = static_cast<uint16_t>(view_.U16(coff));
    const size_t sectionCount = view_.U16(coff + 2);
    const size_t optionalSize = view_.U16(coff + 16);
    const size_t optional = coff + kCoffHeaderSize;
    if (!view_.Has(optional, optionalSize)) return Fail("optional header past the end");

    const uint32_t magic = view_.U16(optional);
    if (magic != 0x10B && magic != 0x20B) return Fail("unknown optional header");
    is64_ = magic == 0x20B;
    image_->majorSubsystemVersion = static_cast<uint16_t>(view_.U16(optional + 48));
    image_->minorSubsystemVersion = static_cast<uint16_t>(view_.U16(optional + 50));
    image_->subsystem = static_cast<uint16_t>(view_.U16(optional + 68));

    const size_t directoryCount = view_.U32(optional + (is64_ ? 108 : 92));
    const size_t directories = optional + (is64_ ? 112 : 96);
    ReadSections(optional + optionalSize, sectionCount);
    if (directoryCount > 0 && !ReadExports(view_.U32(directories))) return false;
    if (directoryCount > 1 && !ReadImports(view_.U32(directories + 8))) return false;
    if (directoryCount > 2 && !ReadManifest(view_.U32(directories + 16))) return false;
    return true;
  }

 private:
  bool Fail(const std::string& message) {
    *error_ = message;
    return false;
  }

  void ReadSections(size_t offset, size_t count) {
    for (size_t i = 0; i < count && view_.Has(offset, kSectionHeaderSize);
         ++i, offset += kSectionHeaderSize) {
      sections_.push_back({view_.U32(offset + 12), view_.U32(offset + 8), view_.U32(offset + 20),
                           view_.U32(offset + 16)});
    }
  }

  // The file offset of a relative virtual address, or 0 when no section
  // holds it.
  size_t Offset(uint32_t rva) const {
    for (const Section& s : sections_) {
      const uint32_t size = std::max(s.virtualSize, s.rawSize);
      if (rva >= s.virtualAddress && rva - s.virtualAddress < size)
        return s.rawOffset + (rva - s.virtualAddress);
    }
    return 0;
  }

  bool ReadExports(uint32_t rva) {
    if (rva == 0) return true;
    const size_t directory = Offset(rva);
    if (directory == 0) return Fail("export directory outside every section");
    const size_t nameCount = view_.U32(directory + 24);
    const size_t names = Offset(view_.U32(directory + 32));
    if (nameCount > kMaxTableEntries) return Fail("export table too large");
    for (size_t i = 0; i < nameCount; ++i) {
      const size_t name = Offset(view_.U32(names + 4 * i));
      if (names == 0 || name == 0) return Fail("export name outside every section");
      image_->exports.push_back(view_.Name(name));
    }
    return true;
  }

  bool ReadImports(uint32_t rva) {
    if (rva == 0) return true;
    size_t descriptor = Offset(rva);
    if (descriptor == 0) return Fail("import directory outside every section");
    for (size_t n = 0; n < kMaxTableEntries; ++n, descriptor += kImportDescriptorSize) {
      if (!view_.Has(descriptor, kImportDescriptorSize)) return Fail("import table past the end");
      const uint32_t nameRva = view_.U32(descriptor + 12);
      if (nameRva == 0) return true;
      std::string dll = view_.Name(Offset(nameRva));
      std::transform(dll.begin(), dll.end(), dll.begin(),
                     [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
      uint32_t thunks = view_.U32(descriptor);  // names survive binding here
      if (thunks == 0) thunks = view_.U32(descriptor + 16);
      if (!ReadThunks(Offset(thunks), &image_->imports[dll])) return false;
    }
    return Fail("import table without end");
  }

  bool ReadThunks(size_t offset, std::vector<std::string>* functions) {
    if (offset == 0) return Fail("import thunks outside every section");
    const size_t width = is64_ ? 8 : 4;
    for (size_t n = 0; n < kMaxTableEntries; ++n, offset += width) {
      if (!view_.Has(offset, width)) return Fail("import thunks past the end");
      const uint64_t thunk = is64_ ? view_.U64(offset) : view_.U32(offset);
      if (thunk == 0) return true;
      const uint64_t ordinalFlag = is64_ ? uint64_t{1} << 63 : uint64_t{1} << 31;
      if (thunk & ordinalFlag) {
        functions->push_back("#" + std::to_string(thunk & 0xFFFF));
      } else {
        const size_t hintName = Offset(static_cast<uint32_t>(thunk));
        if (hintName == 0) return Fail("import name outside every section");
        functions->push_back(view_.Name(hintName + 2));
      }
    }
    return Fail("import thunks without end");
  }

  // The resource tree has three levels: type, name, language. The manifest
  // is the first name's first language under type 24.
  bool ReadManifest(uint32_t rva) {
    if (rva == 0) return true;
    const size_t root = Offset(rva);
    if (root == 0) return Fail("resource directory outside every section");
    size_t entry = 0;
    if (!FindResourceEntry(root, root, kResourceTypeManifest, &entry)) return true;
    for (int level = 0; level < 2; ++level) {
      const uint32_t target = view_.U32(entry + 4);
      if (!(target & kResourceSubdirectory)) return Fail("resource tree too shallow");
      if (!FindResourceEntry(root, root + (target & ~kResourceSubdirectory), kAnyId, &entry))
        return Fail("empty resource directory");
    }
    const uint32_t target = view_.U32(entry + 4);
    if (target & kResourceSubdirectory) return Fail("resource tree too deep");
    const size_t data = root + target;
    if (!view_.Has(data, 16)) return Fail("resource data entry past the end");
    const size_t bytes = Offset(view_.U32(data));
    const size_t size = view_.U32(data + 4);
    if (bytes == 0 || !view_.Has(bytes, size)) return Fail("manifest outside the file");
    for (size_t i = 0; i < size; ++i)
      image_->manifest.push_back(static_cast<char>(view_.U8(bytes + i)));
    return true;
  }

  static constexpr uint32_t kAnyId = 0xFFFFFFFF;

  // The entry of `directory` with the numeric id `id` (any entry for
  // kAnyId); false when there is none or the directory is cut off.
  bool FindResourceEntry(size_t root, size_t directory, uint32_t id, size_t* entry) const {
    if (directory < root || !view_.Has(directory, kResourceDirectorySize)) return false;
    const size_t count = view_.U16(directory + 12) + view_.U16(directory + 14);
    for (size_t i = 0; i < count; ++i) {
      const size_t at = directory + kResourceDirectorySize + i * kResourceEntrySize;
      if (!view_.Has(at, kResourceEntrySize)) return false;
      const uint32_t name = view_.U32(at);
      if (id == kAnyId || name == id) {
        *entry = at;
        return true;
      }
    }
    return false;
  }

  ByteView view_;
  PeImage* image_;
  std::string* error_;
  bool is64_ = false;
  std::vector<Section> sections_;
};

}  // namespace

bool ReadPeImage(const std::vector<uint8_t>& bytes, PeImage* image, std::string* error) {
  *image = PeImage{};
  return PeParser(bytes, image, error).Parse();
}

bool ReadFileBytes(const std::string& path, std::vector<uint8_t>* bytes) {
  std::ifstream file(path, std::ios::binary);
  if (!file) return false;
  bytes->assign(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
  return true;
}
